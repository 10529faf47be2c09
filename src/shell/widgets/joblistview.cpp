#include "shell/widgets/joblistview.h"

#include "core/joblist.h"
#include "shell/joblistmodel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

JobListView::JobListView(JobList &jobs, QWidget *parent)
    : QTreeView(parent), m_jobs(jobs), m_model(new JobListModel(jobs, this))
{
    setObjectName(QStringLiteral("lv"));
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    setColumnWidth(JobListModel::CaptionColumn, 220);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JobListView::selectionFromView);
    connect(&m_jobs, &JobList::selectionChanged, this, &JobListView::selectionFromJobs);
    // A row appended already selected shows its selection too.
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    if (!m_jobs.isSelected(row))
                        continue;
                    m_syncing = true;
                    selectionModel()->select(m_model->index(row, 0), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
                    m_syncing = false;
                }
            });
    selectionFromJobs();
}

void JobListView::setColumnCaption(int column, const QString &caption)
{
    m_model->setHeaderData(column, Qt::Horizontal, caption);
}

void JobListView::selectionFromView()
{
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelectionModel *selection = selectionModel();
    for (int row = 0; row < m_jobs.rowCount(); ++row)
        m_jobs.setSelected(row, selection->isRowSelected(row, QModelIndex()));
    m_syncing = false;
}

void JobListView::selectionFromJobs()
{
    if (m_syncing)
        return;
    QItemSelection wanted;
    for (int row = 0; row < m_jobs.rowCount(); ++row) {
        if (m_jobs.isSelected(row))
            wanted.select(m_model->index(row, 0),
                          m_model->index(row, JobListModel::ColumnCount - 1));
    }
    m_syncing = true;
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}
