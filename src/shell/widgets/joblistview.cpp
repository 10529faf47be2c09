#include "shell/widgets/joblistview.h"

#include "core/joblist.h"

#include <QHeaderView>

JobListView::JobListView(JobList &jobs, QWidget *parent) : QTreeWidget(parent), m_jobs(jobs)
{
    setObjectName(QStringLiteral("lv"));
    setColumnCount(5);
    setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Width * Height"),
                     QStringLiteral("Time"), QStringLiteral("Output Size"),
                     QStringLiteral("Status")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    setColumnWidth(0, 220);

    connect(&m_jobs, &JobList::rowAppended, this, [this](int row) {
        m_updating = true;
        insertTopLevelItem(row, new QTreeWidgetItem);
        m_updating = false;
        showRow(row);
    });
    connect(&m_jobs, &JobList::rowRemoved, this, [this](int row) {
        m_updating = true;
        delete takeTopLevelItem(row);
        m_updating = false;
    });
    connect(&m_jobs, &JobList::rowsCleared, this, [this] {
        m_updating = true;
        clear();
        m_updating = false;
    });
    connect(&m_jobs, &JobList::rowChanged, this, &JobListView::showRow);
    connect(&m_jobs, &JobList::selectionChanged, this, [this] {
        m_updating = true;
        for (int i = 0; i < topLevelItemCount(); ++i)
            topLevelItem(i)->setSelected(m_jobs.isSelected(i));
        m_updating = false;
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (m_updating || column != 0)
            return;
        m_jobs.setChecked(indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_updating)
            return;
        for (int i = 0; i < topLevelItemCount(); ++i)
            m_jobs.setSelected(i, topLevelItem(i)->isSelected());
    });
    rebuild();
}

void JobListView::rebuild()
{
    m_updating = true;
    clear();
    for (int i = 0; i < m_jobs.rowCount(); ++i)
        addTopLevelItem(new QTreeWidgetItem);
    m_updating = false;
    for (int i = 0; i < m_jobs.rowCount(); ++i)
        showRow(i);
}

void JobListView::showRow(int row)
{
    QTreeWidgetItem *item = topLevelItem(row);
    if (!item)
        return;
    m_updating = true;
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setText(0, m_jobs.caption(row));
    for (int c = 0; c < 4; ++c)
        item->setText(c + 1, m_jobs.cell(row, JobList::Column(c)));
    item->setCheckState(0, m_jobs.isChecked(row) ? Qt::Checked : Qt::Unchecked);
    item->setSelected(m_jobs.isSelected(row));
    m_updating = false;
}
