#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class JobList;

// The job list as an item model for the list view `lv`: the caption with its check
// box, then the four cells. It follows the job list's announcements and passes the
// user's check marks back to it. A failed row's Status cell tells, as its tool tip,
// what the encoder said.
class JobListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int CaptionColumn = 0;
    static constexpr int FirstCellColumn = 1; // the four cells of the job list follow
    static constexpr int ColumnCount = 5;

    explicit JobListModel(JobList &jobs, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

    JobList &jobs() const { return m_jobs; }
    // Whether rows carry check boxes (the skin layout switches them on).
    void setCheckBoxes(bool on);
    bool checkBoxes() const { return m_checkBoxes; }

    // What a failed row's encoder said, ending with its exit code; empty for any other
    // row. The Status cell's tool tip and the properties dialog show the same text.
    static QString failureText(const JobList &jobs, int row);

private:
    JobList &m_jobs;
    bool m_checkBoxes = true;
    QStringList m_headers;
};
