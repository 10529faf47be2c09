#include "shell/widgets/joblistview.h"

#include "core/joblist.h"
#include "shell/joblistmodel.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QItemSelectionModel>

namespace
{

// The Status cell is what people look for while a list converts: bold, and in the
// danger colour when the row failed (its tool tip then holds the reason).
class StatusDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(true);
        if (!index.data(Qt::ToolTipRole).toString().isEmpty() &&
            !(option->state & QStyle::State_Selected))
            option->palette.setColor(QPalette::Text, QColor(0xc0, 0x39, 0x2b));
    }
};

} // namespace

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
    // The five columns fit the list's width: no sideways scrolling.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColumnWidth(JobListModel::CaptionColumn, 136);
    setColumnWidth(1, 104);
    setColumnWidth(2, 66);
    setColumnWidth(3, 90);
    setAlternatingRowColors(true);
    setItemDelegateForColumn(JobListModel::FirstCellColumn + JobList::StatusColumn,
                             new StatusDelegate(this));
    // Rows get their check boxes from the skin layout.
    m_model->setCheckBoxes(false);

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

    // Files dropped from a file manager join the list; rows are not dragged.
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);

    m_rename = new QLineEdit(viewport());
    m_rename->setObjectName(QStringLiteral("edt_tit"));
    m_rename->hide();
    m_rename->installEventFilter(this);
}

QStringList JobListView::localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

void JobListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void JobListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void JobListView::dropEvent(QDropEvent *event)
{
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit pathsDropped(paths);
}

void JobListView::Rename1Click()
{
    if (!m_jobs.anySelected())
        return;
    const QModelIndex focused = currentIndex();
    if (!focused.isValid()) {
        // The first press only gives the selected row the focus.
        selectionModel()->setCurrentIndex(m_model->index(m_jobs.firstSelected(), 0),
                                          QItemSelectionModel::NoUpdate);
        return;
    }
    const int row = focused.row();
    const QRect r = visualRect(m_model->index(row, 0));
    m_rename->setGeometry(0, r.top() - 1, columnWidth(0), std::max(18, r.height() + 2));
    m_rename->setText(m_jobs.caption(row));
    m_renamedRow = row;
    m_rename->show();
    m_rename->setFocus();
    m_rename->selectAll();
}

void JobListView::edt_titExit()
{
    if (m_rename->isHidden() || m_committing)
        return;
    m_committing = true;
    m_rename->hide();
    m_committing = false;
    const QString text = m_rename->text();
    if (!text.isEmpty() && m_jobs.isValidRow(m_renamedRow))
        m_jobs.setCaption(m_renamedRow, text);
    setFocus();
}

bool JobListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rename) {
        if (event->type() == QEvent::FocusOut)
            edt_titExit();
        else if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                edt_titExit();
        }
    }
    return QTreeView::eventFilter(watched, event);
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

void JobListView::setCheckBoxes(bool on)
{
    m_model->setCheckBoxes(on);
}
