#pragma once

#include <QStandardItemModel>
#include <QStringList>

// The folders of the folder dialog's tree: a few places at the top (the home folder,
// mounted media, the file system root), each folder's sub-folders listed only when it
// is first opened, so that a big disk is never walked. Files and hidden folders are
// left out.
class FolderTreeModel : public QStandardItemModel
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit FolderTreeModel(QObject *parent = nullptr);

    // The places at the top, in order; rebuilding forgets every listing made so far.
    void setPlaces(const QStringList &places);
    QStringList places() const { return m_places; }

    // The home folder, every medium mounted under /media or /run/media/<user>, and "/".
    static QStringList defaultPlaces();

    QString pathOf(const QModelIndex &index) const;
    // Lists the folders on the way down to the path; invalid when the path is not in
    // the tree (a file, a hidden folder, a folder under none of the places).
    QModelIndex indexOf(const QString &path);

    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QStringList m_places;
};
