#include "shell/joblistmodel.h"

#include "core/joblist.h"

JobListModel::JobListModel(JobList &jobs, QObject *parent)
    : QAbstractTableModel(parent),
      m_jobs(jobs), m_headers{QStringLiteral("File Name"), QStringLiteral("Width * Height"),
                              QStringLiteral("Time"), QStringLiteral("Output Size"),
                              QStringLiteral("Status")}
{
    connect(&m_jobs, &JobList::rowAboutToBeAppended, this,
            [this](int row) { beginInsertRows(QModelIndex(), row, row); });
    connect(&m_jobs, &JobList::rowAppended, this, [this] { endInsertRows(); });
    connect(&m_jobs, &JobList::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(&m_jobs, &JobList::rowRemoved, this, [this] { endRemoveRows(); });
    connect(&m_jobs, &JobList::rowsAboutToBeCleared, this, [this] { beginResetModel(); });
    connect(&m_jobs, &JobList::rowsCleared, this, [this] { endResetModel(); });
    connect(&m_jobs, &JobList::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
}

int JobListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_jobs.rowCount();
}

int JobListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString JobListModel::failureText(const JobList &jobs, int row)
{
    if (!jobs.isValidRow(row) || !jobs.isFailed(row))
        return QString();
    QStringList lines = jobs.encoderLines(row);
    lines.append(QStringLiteral("Exit code %1").arg(jobs.exitCode(row)));
    return lines.join(QLatin1Char('\n'));
}

QVariant JobListModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || !m_jobs.isValidRow(row))
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == CaptionColumn)
            return m_jobs.caption(row);
        return m_jobs.cell(row, JobList::Column(column - FirstCellColumn));
    case Qt::CheckStateRole:
        if (column == CaptionColumn && m_checkBoxes)
            return m_jobs.isChecked(row) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ToolTipRole:
        if (column == FirstCellColumn + JobList::StatusColumn) {
            const QString why = failureText(m_jobs, row);
            if (!why.isEmpty())
                return why;
        }
        return {};
    default:
        return {};
    }
}

void JobListModel::setCheckBoxes(bool on)
{
    if (on == m_checkBoxes)
        return;
    m_checkBoxes = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, CaptionColumn), index(rowCount() - 1, CaptionColumn),
                         {Qt::CheckStateRole});
}

bool JobListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !m_checkBoxes || index.column() != CaptionColumn || role != Qt::CheckStateRole)
        return false;
    m_jobs.setChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags JobListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == CaptionColumn && m_checkBoxes)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant JobListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers[section];
}

bool JobListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                 int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole) ||
        section < 0 || section >= m_headers.size())
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
