#include "shell/widgets/backgroundmode.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>

namespace
{

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// Only a session bus that is already running: asking for one where there is none
// could start a bus daemon that outlives the program.
bool sessionBusRunning()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

BackgroundMode::BackgroundMode(QWidget *window) : QObject(window), m_window(window) {}

void BackgroundMode::RunBackground1Click(const QString &tip)
{
    if (inBackground())
        return; // the icon is there already; the window stays hidden
    if (!trayAvailable()) {
        m_window->showMinimized();
        return;
    }
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(this);
        m_tray->setObjectName(QStringLiteral("trayIcon"));
        connect(m_tray, &QSystemTrayIcon::activated, this, &BackgroundMode::activated);
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, &BackgroundMode::restore);
    }
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = m_window->windowIcon();
    m_tray->setIcon(icon);
    m_tray->setToolTip(tip.left(kTipLength));
    m_tray->show();
    m_window->hide();
}

void BackgroundMode::activated(QSystemTrayIcon::ActivationReason reason)
{
    // Only the left button brings the window back; the others do nothing.
    if (reason == QSystemTrayIcon::Trigger)
        restore();
}

void BackgroundMode::restore()
{
    if (m_tray)
        m_tray->hide();
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

bool BackgroundMode::notify(const QString &title, const QString &text)
{
    if (m_window->isVisible() && !m_window->isMinimized())
        return false;
    if (inBackground() && QSystemTrayIcon::supportsMessages()) {
        m_tray->showMessage(title, text, m_tray->icon());
        return true;
    }
    if (!sessionBusRunning())
        return false;
    if (!m_listening) {
        m_listening = QDBusConnection::sessionBus().connect(
            kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
            SLOT(actionInvoked(uint, QString)));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                       QStringLiteral("Notify"));
    call << QApplication::applicationDisplayName() << m_notification
         << QStringLiteral("video-x-generic") << title << text
         << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << QVariantMap()
         << int(-1);
    // A desktop without a notification service answers at once; a hanging one
    // does not keep the window waiting long.
    const QDBusReply<quint32> reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (!reply.isValid())
        return false;
    m_notification = reply.value();
    return true;
}

void BackgroundMode::actionInvoked(uint id, const QString &)
{
    if (id == m_notification && m_notification != 0)
        restore();
}
