#pragma once

#include "core/jobrecords.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The job list: one row per source with its caption, four cells, check box and
// selection, and the per-row records that run in step with the rows. The window's
// list view shows it; every change is announced so the view can follow.
class JobList : public QObject
{
    Q_OBJECT
public:
    enum Column { SizeColumn = 0, TimeColumn = 1, OutputSizeColumn = 2, StatusColumn = 3 };

    explicit JobList(QObject *parent = nullptr);

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    bool isValidRow(int row) const { return row >= 0 && row < rowCount(); }

    // Appends a row with empty cells, checked, and returns its index. The per-row
    // records grow to the row count; the new row's records start empty.
    int appendRow(const QString &caption);
    void removeRow(int row);
    void clearRows(); // deletes every row; the per-row records keep their contents

    QString caption(int row) const;
    void setCaption(int row, const QString &caption);
    QString cell(int row, Column column) const;
    void setCell(int row, Column column, const QString &text);
    QString status(int row) const { return cell(row, StatusColumn); }
    void setStatus(int row, const QString &text) { setCell(row, StatusColumn, text); }

    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    bool anyChecked() const;

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    void selectOnly(int row);
    bool anySelected() const;
    int firstSelected() const; // -1 when none

    // A row whose encoder failed; it is never marked finished.
    bool isFailed(int row) const;
    void setFailed(int row, bool failed);

    // What the encoder said of the row besides its progress, and how it ended, so
    // that a failed row can tell why. Only the newest lines are kept: at most
    // kReportLines of them, kReportBytes of UTF-8 in all.
    static constexpr int kReportLines = 40;
    static constexpr qsizetype kReportBytes = 8192;
    void clearEncoderReport(int row);
    void addEncoderLine(int row, const QString &line);
    QStringList encoderLines(int row) const;
    void setExitCode(int row, int exitCode);
    int exitCode(int row) const; // -1 before the encoder of the row has ended

    // Per-row records; their size is at least the row count.
    std::vector<Toriginalinfo> &originalInfos() { return m_originalInfos; }
    const std::vector<Toriginalinfo> &originalInfos() const { return m_originalInfos; }
    std::vector<TConvertInfo> &convertInfos() { return m_convertInfos; }
    const std::vector<TConvertInfo> &convertInfos() const { return m_convertInfos; }
    std::vector<TDvdRange> &dvdRanges() { return m_dvdRanges; }
    const std::vector<TDvdRange> &dvdRanges() const { return m_dvdRanges; }

    Toriginalinfo &originalInfo(int row) { return m_originalInfos.at(size_t(row)); }
    const Toriginalinfo &originalInfo(int row) const { return m_originalInfos.at(size_t(row)); }

signals:
    // Each change is announced before and after, so that item models can follow.
    void rowAboutToBeAppended(int row);
    void rowAppended(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowsAboutToBeCleared();
    void rowsCleared();
    void rowChanged(int row);
    void selectionChanged();

private:
    struct Row {
        QString caption;
        std::array<QString, 4> cells;
        bool checked = true;
        bool selected = false;
        bool failed = false;
        QStringList encoderLines;
        qsizetype encoderBytes = 0;
        int exitCode = -1;
    };
    std::vector<Row> m_rows;
    std::vector<Toriginalinfo> m_originalInfos;
    std::vector<TConvertInfo> m_convertInfos;
    std::vector<TDvdRange> m_dvdRanges;
};
