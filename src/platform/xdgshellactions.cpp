#include "platform/xdgshellactions.h"

#include <QProcess>

void XdgShellActions::openFolder(const QString &path)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void XdgShellActions::openDocument(const QString &path)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void XdgShellActions::powerOff()
{
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}
