#pragma once

#include <QTreeView>

class JobList;
class JobListModel;
class QLineEdit;
class QMimeData;

// The job list `lv`: a view over the job list's model. Check marks go back through
// the model; the selection is passed back to the job list and follows it.
class JobListView : public QTreeView
{
    Q_OBJECT
public:
    explicit JobListView(JobList &jobs, QWidget *parent = nullptr);

    JobListModel *jobModel() const { return m_model; }
    void setColumnCaption(int column, const QString &caption);
    void setCheckBoxes(bool on);

    // Rename: with no row selected nothing happens; with no row focused the
    // selected row takes the focus; else the box `edt_tit` opens over the focused
    // row. Enter or leaving the box gives the row its text, unless it is empty.
    void Rename1Click();
    QLineEdit *renameBox() const { return m_rename; }
    int renamedRow() const { return m_renamedRow; }

    // The local files and folders a drag carries.
    static QStringList localPaths(const QMimeData *data);

signals:
    // Local files and folders dropped from a file manager.
    void pathsDropped(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void edt_titExit();
    void selectionFromView();
    void selectionFromJobs();

    JobList &m_jobs;
    JobListModel *m_model;
    QLineEdit *m_rename = nullptr;
    int m_renamedRow = -1;
    bool m_committing = false;
    bool m_syncing = false; // one side is being brought in line with the other
};
