#include "core/joblist.h"

JobList::JobList(QObject *parent) : QObject(parent) {}

int JobList::appendRow(const QString &caption)
{
    const int row = rowCount();
    emit rowAboutToBeAppended(row);
    Row added;
    added.caption = caption;
    m_rows.push_back(std::move(added));
    const size_t needed = m_rows.size();
    if (m_originalInfos.size() < needed)
        m_originalInfos.resize(needed);
    if (m_convertInfos.size() < needed)
        m_convertInfos.resize(needed);
    if (m_dvdRanges.size() < needed)
        m_dvdRanges.resize(needed);
    // A removed row leaves its old records in the tail; a new row must not inherit them.
    m_originalInfos[size_t(row)] = {};
    m_convertInfos[size_t(row)] = {};
    m_dvdRanges[size_t(row)] = {};
    emit rowAppended(row);
    return row;
}

void JobList::removeRow(int row)
{
    if (!isValidRow(row))
        return;
    emit rowAboutToBeRemoved(row);
    // The records shift down with the rows; the last element keeps its value.
    for (int i = row; i + 1 < rowCount(); ++i) {
        m_originalInfos[size_t(i)] = m_originalInfos[size_t(i + 1)];
        m_convertInfos[size_t(i)] = m_convertInfos[size_t(i + 1)];
        m_dvdRanges[size_t(i)] = m_dvdRanges[size_t(i + 1)];
    }
    m_rows.erase(m_rows.begin() + row);
    emit rowRemoved(row);
}

void JobList::clearRows()
{
    emit rowsAboutToBeCleared();
    m_rows.clear();
    emit rowsCleared();
}

QString JobList::caption(int row) const
{
    return isValidRow(row) ? m_rows[size_t(row)].caption : QString();
}

void JobList::setCaption(int row, const QString &caption)
{
    if (!isValidRow(row))
        return;
    m_rows[size_t(row)].caption = caption;
    emit rowChanged(row);
}

QString JobList::cell(int row, Column column) const
{
    return isValidRow(row) ? m_rows[size_t(row)].cells[size_t(column)] : QString();
}

void JobList::setCell(int row, Column column, const QString &text)
{
    if (!isValidRow(row))
        return;
    m_rows[size_t(row)].cells[size_t(column)] = text;
    emit rowChanged(row);
}

bool JobList::isChecked(int row) const
{
    return isValidRow(row) && m_rows[size_t(row)].checked;
}

void JobList::setChecked(int row, bool checked)
{
    if (!isValidRow(row) || m_rows[size_t(row)].checked == checked)
        return;
    m_rows[size_t(row)].checked = checked;
    emit rowChanged(row);
}

bool JobList::anyChecked() const
{
    for (const Row &r : m_rows)
        if (r.checked)
            return true;
    return false;
}

bool JobList::isSelected(int row) const
{
    return isValidRow(row) && m_rows[size_t(row)].selected;
}

void JobList::setSelected(int row, bool selected)
{
    if (!isValidRow(row) || m_rows[size_t(row)].selected == selected)
        return;
    m_rows[size_t(row)].selected = selected;
    emit selectionChanged();
}

void JobList::selectOnly(int row)
{
    for (int i = 0; i < rowCount(); ++i)
        m_rows[size_t(i)].selected = (i == row);
    emit selectionChanged();
}

bool JobList::anySelected() const
{
    return firstSelected() >= 0;
}

int JobList::firstSelected() const
{
    for (int i = 0; i < rowCount(); ++i)
        if (m_rows[size_t(i)].selected)
            return i;
    return -1;
}

bool JobList::isFailed(int row) const
{
    return isValidRow(row) && m_rows[size_t(row)].failed;
}

void JobList::setFailed(int row, bool failed)
{
    if (isValidRow(row))
        m_rows[size_t(row)].failed = failed;
}

void JobList::clearEncoderReport(int row)
{
    if (!isValidRow(row))
        return;
    Row &r = m_rows[size_t(row)];
    r.encoderLines.clear();
    r.encoderBytes = 0;
    r.exitCode = -1;
}

void JobList::addEncoderLine(int row, const QString &line)
{
    if (!isValidRow(row))
        return;
    Row &r = m_rows[size_t(row)];
    // A single line longer than the whole budget keeps its end, where the reason is.
    QByteArray bytes = line.toUtf8();
    if (bytes.size() > kReportBytes) {
        qsizetype from = bytes.size() - kReportBytes;
        while (from < bytes.size() && (uchar(bytes[from]) & 0xc0) == 0x80)
            ++from; // not inside a character
        bytes = bytes.mid(from);
    }
    r.encoderLines.append(QString::fromUtf8(bytes));
    r.encoderBytes += bytes.size();
    while (r.encoderLines.size() > kReportLines || r.encoderBytes > kReportBytes) {
        r.encoderBytes -= r.encoderLines.first().toUtf8().size();
        r.encoderLines.removeFirst();
    }
}

QStringList JobList::encoderLines(int row) const
{
    return isValidRow(row) ? m_rows[size_t(row)].encoderLines : QStringList();
}

void JobList::setExitCode(int row, int exitCode)
{
    if (!isValidRow(row))
        return;
    m_rows[size_t(row)].exitCode = exitCode;
    emit rowChanged(row);
}

int JobList::exitCode(int row) const
{
    return isValidRow(row) ? m_rows[size_t(row)].exitCode : -1;
}
