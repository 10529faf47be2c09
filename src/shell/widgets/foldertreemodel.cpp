#include "shell/widgets/foldertreemodel.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace
{

constexpr int ListedRole = FolderTreeModel::PathRole + 1;

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStandardItem *folderItem(const QString &text, const QString &path, const QIcon &icon)
{
    auto *item = new QStandardItem(icon, text);
    item->setData(path, FolderTreeModel::PathRole);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject *parent) : QStandardItemModel(parent)
{
    setColumnCount(1);
}

QStringList FolderTreeModel::defaultPlaces()
{
    QStringList places{cleanAbsolute(QDir::homePath())};
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    const QString runMedia = QStringLiteral("/run/media/") + user + QLatin1Char('/');
    QStringList media;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() &&
            (root.startsWith(QLatin1String("/media/")) || root.startsWith(runMedia)))
            media << root;
    }
    media.sort();
    places << media << QStringLiteral("/");
    places.removeDuplicates();
    return places;
}

void FolderTreeModel::setPlaces(const QStringList &places)
{
    clear();
    setColumnCount(1);
    m_places.clear();
    const QFileIconProvider icons;
    for (const QString &place : places) {
        const QString path = cleanAbsolute(place);
        if (path.isEmpty() || m_places.contains(path) || !QFileInfo(path).isDir())
            continue;
        m_places << path;
        QIcon icon = icons.icon(QFileIconProvider::Folder);
        if (path == QLatin1String("/"))
            icon = icons.icon(QFileIconProvider::Computer);
        else if (path.startsWith(QLatin1String("/media/")) ||
                 path.startsWith(QLatin1String("/run/media/")))
            icon = icons.icon(QFileIconProvider::Drive);
        appendRow(folderItem(QDir::toNativeSeparators(path), path, icon));
    }
}

QString FolderTreeModel::pathOf(const QModelIndex &index) const
{
    return index.isValid() ? index.data(PathRole).toString() : QString();
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    // Until a folder is opened it may have sub-folders: listing every folder just to
    // draw its expand mark would read the whole visible tree.
    if (canFetchMore(parent))
        return true;
    return QStandardItemModel::hasChildren(parent);
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return parent.isValid() && !parent.data(ListedRole).toBool();
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    QStandardItem *item = itemFromIndex(parent);
    // Marked first: the rows inserted below make the view lay out the folder again.
    {
        const QSignalBlocker quiet(this);
        item->setData(true, ListedRole);
    }
    const QFileInfoList entries =
        QDir(pathOf(parent))
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives,
                           QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    if (entries.isEmpty())
        return;
    const QIcon icon = QFileIconProvider().icon(QFileIconProvider::Folder);
    QList<QStandardItem *> children;
    children.reserve(entries.size());
    for (const QFileInfo &entry : entries)
        children << folderItem(entry.fileName(), QDir::cleanPath(entry.absoluteFilePath()), icon);
    item->appendRows(children);
}

QModelIndex FolderTreeModel::indexOf(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString target = cleanAbsolute(path);
    // The deepest place first: the home folder rather than its way down from "/".
    QList<int> order;
    for (int i = 0; i < m_places.size(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_places[a].size() > m_places[b].size(); });
    for (int i : order) {
        const QString &place = m_places[i];
        QString rest;
        if (target == place)
            rest.clear();
        else if (place == QLatin1String("/"))
            rest = target.mid(1);
        else if (target.startsWith(place + QLatin1Char('/')))
            rest = target.mid(place.size() + 1);
        else
            continue;
        QModelIndex at = index(i, 0);
        const QStringList names = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        for (const QString &name : names) {
            fetchMore(at);
            QModelIndex next;
            for (int row = 0; row < rowCount(at); ++row) {
                const QModelIndex child = index(row, 0, at);
                if (child.data(Qt::DisplayRole).toString() == name) {
                    next = child;
                    break;
                }
            }
            at = next;
            if (!at.isValid())
                break;
        }
        if (at.isValid())
            return at;
    }
    return {};
}
