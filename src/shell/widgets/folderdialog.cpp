#include "shell/widgets/folderdialog.h"

#include "shell/widgets/dialogplacement.h"
#include "shell/widgets/foldertreemodel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

FolderDialog::FolderDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Tfm_dir"));
    setWindowTitle(QStringLiteral("Output Directory"));

    m_model = new FolderTreeModel(this);
    m_model->setPlaces(FolderTreeModel::defaultPlaces());

    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("ShellTreeView1"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setUniformRowHeights(true);
    m_tree->setContextMenuPolicy(Qt::NoContextMenu);

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("btn_ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btn_cancel"));
    connect(m_ok, &QPushButton::clicked, this, &FolderDialog::btn_okClick);
    connect(m_cancel, &QPushButton::clicked, this, &FolderDialog::btn_cancelClick);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);

    setFixedSize(287, 248);
}

QString FolderDialog::ShowFolderDialog(const QString &caption)
{
    setWindowTitle(caption);
    exec();
    return m_result;
}

bool FolderDialog::selectPath(const QString &path)
{
    const QModelIndex index = m_model->indexOf(path);
    if (!index.isValid())
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_tree->expand(up);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    return true;
}

QString FolderDialog::selectedPath() const
{
    const QModelIndexList rows = m_tree->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : m_model->pathOf(rows.first());
}

void FolderDialog::btn_okClick()
{
    m_result = selectedPath();
    if (!m_result.isEmpty())
        accept();
}

void FolderDialog::btn_cancelClick()
{
    m_result.clear();
    reject();
}

void FolderDialog::rebuildTree()
{
    // Folders and media come and go while the dialog sits hidden: list them afresh,
    // back at the folder that was selected last time.
    const QString selected = selectedPath();
    m_model->setPlaces(FolderTreeModel::defaultPlaces());
    if (!selected.isEmpty())
        selectPath(selected);
}

void FolderDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        rebuildTree();
        centreOnOwner(*this);
    }
    QDialog::showEvent(event);
}
