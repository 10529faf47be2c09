#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class QWidget;

// Background mode: the window hides behind an icon in the notification area, and
// a left click on the icon brings it back. A desktop without a notification area
// would lose the window, so there it is minimised instead. When a run ends while
// the window is out of sight, a desktop notification says how it went.
class BackgroundMode : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTipLength = 63;

    explicit BackgroundMode(QWidget *window);

    // Replaceable for tests: whether the desktop has a notification area.
    std::function<bool()> trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

    void RunBackground1Click(const QString &tip);
    QSystemTrayIcon *trayIcon() const { return m_tray; }
    bool inBackground() const { return m_tray && m_tray->isVisible(); }

    // Shown only while the window is hidden or minimised; a click on it shows the window.
    // Returns whether a notification went out.
    bool notify(const QString &title, const QString &text);

    // The tray icon's activation, as the platform reports it.
    void activated(QSystemTrayIcon::ActivationReason reason);

private slots:
    void actionInvoked(uint id, const QString &action);

private:
    void restore();

    QWidget *m_window;
    QSystemTrayIcon *m_tray = nullptr;
    quint32 m_notification = 0; // the desktop's id of our last notification
    bool m_listening = false;   // to the desktop's answers
};
