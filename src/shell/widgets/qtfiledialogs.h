#pragma once

#include "core/fileimporter.h"

#include <QPointer>
#include <QWidget>

class FolderDialog;

// The file dialog for Add Files (several files, the video format filters) and the
// program's folder dialog for Add Folder and the output folder.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    // Folders are chosen in the program's own folder dialog.
    void setFolderDialog(FolderDialog *dialog) { m_folderDialog = dialog; }

    QStringList chooseFiles() override;
    QString chooseFolder(const QString &caption) override;
    QStringList chooseIfoFiles() override;

    // "All Support Format (*.avi *.mpg ...)" and the rest, in order.
    static QStringList nameFilters();

private:
    // Several existing files; the folder of the first is where the next dialog opens.
    QStringList chooseExisting(const QString &name, const QStringList &filters);

    QPointer<QWidget> m_parent;
    FolderDialog *m_folderDialog = nullptr;
    QString m_lastFolder;
};
