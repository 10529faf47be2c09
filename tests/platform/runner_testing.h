#pragma once

// What the process-runner tests share: one QCoreApplication for the whole
// executable (posted calls need an event loop) and waits with a deadline.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>

#include <signal.h>
#include <sys/types.h>

namespace runnertesting
{

inline QCoreApplication &app()
{
    static int argc = 1;
    static char name[] = "processrunner_test";
    static char *argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// Handles events until pred holds; false when the deadline passed first.
template <typename Pred> bool waitUntil(Pred pred, int ms = 20000)
{
    app();
    const QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

inline void handleEventsFor(int ms)
{
    waitUntil([] { return false; }, ms);
}

// No process is left in the group (a zombie still counts, so callers wait).
inline bool groupGone(qint64 group)
{
    return ::kill(-static_cast<pid_t>(group), 0) == -1 && errno == ESRCH;
}

} // namespace runnertesting
