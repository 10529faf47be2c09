#pragma once

#include "core/fileimporter.h"

#include <QPointer>
#include <QWidget>

// The file dialog for Add Files (several files, the video format filters) and the
// folder dialog for Add Folder.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    QStringList chooseFiles() override;
    QString chooseFolder(const QString &caption) override;

    // "All Support Format (*.avi *.mpg ...)" and the rest, in order.
    static QStringList nameFilters();

private:
    QPointer<QWidget> m_parent;
    QString m_lastFolder;
};
