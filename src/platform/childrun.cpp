#include "platform/childrun.h"

#include "platform/pendingoutput.h"
#include "platform/uiposter.h"
#include "process/childprocess.h"
#include "process/fdio.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <signal.h>

// Everything one run needs. Worker threads use it through a plain pointer (they
// are joined before it can go); posted calls hold a weak pointer, so a call that
// arrives after the run is gone does nothing.
struct ChildRun::State {
    State(UiPoster &p, Setup s) : poster(p), setup(std::move(s)) {}

    UiPoster &poster;
    const Setup setup;

    // Shared with the worker threads; the output only under the lock.
    std::mutex lock;
    PendingOutput pending; // InPieces
    QByteArray collected;  // Whole
    bool deliveryPosted = false;
    process::ChildProcess child;
    process::Waker waker;
    std::atomic<bool> stopReading{false};
    std::atomic<bool> childEnded{false};
    std::atomic<int> childCode{-1};
    std::thread reader;
    std::thread waiter;

    // User-interface thread only.
    bool readerDone = false;
    bool exitSeen = false;
    bool endReported = false;
    bool closed = false;
    int exitCode = -1;
    QByteArray output;

    void readOutput(const std::weak_ptr<State> &self);
    void waitForChild(const std::weak_ptr<State> &self);

    void deliverPending();
    void readerFinished();
    void childFinished(int code);
    void reportEndWhenComplete();
    void stopAndJoin();
};

void ChildRun::State::readOutput(const std::weak_ptr<State> &self)
{
    process::lowerThreadPriority();
    process::readPieces(child.parentFd(STDOUT_FILENO), waker, stopReading, childEnded,
                        size_t(setup.pieceSize), [&](const char *data, size_t size) {
                            if (setup.delivery == Delivery::Whole) {
                                std::lock_guard<std::mutex> guard(lock);
                                collected.append(data, qsizetype(size));
                                return;
                            }
                            bool post = false;
                            {
                                std::lock_guard<std::mutex> guard(lock);
                                pending.append(data, qsizetype(size));
                                // One delivery at a time is enough: it takes all that waits.
                                post = !deliveryPosted;
                                deliveryPosted = true;
                            }
                            if (post) {
                                poster.post([self] {
                                    if (auto s = self.lock())
                                        s->deliverPending();
                                });
                            }
                        });
    poster.post([self] {
        if (auto s = self.lock())
            s->readerFinished();
    });
}

void ChildRun::State::waitForChild(const std::weak_ptr<State> &self)
{
    const int code = child.waitForEnd();
    childCode = code;
    childEnded = true;
    waker.wake();
    poster.post([self, code] {
        if (auto s = self.lock())
            s->childFinished(code);
    });
}

void ChildRun::State::deliverPending()
{
    if (closed || setup.delivery != Delivery::InPieces)
        return;
    QByteArray bytes;
    {
        std::lock_guard<std::mutex> guard(lock);
        bytes = pending.takeAll();
        deliveryPosted = false;
    }
    for (qsizetype at = 0; at < bytes.size(); at += setup.pieceSize) {
        if (closed || !setup.onOutput)
            return;
        setup.onOutput(bytes.mid(at, setup.pieceSize));
    }
}

void ChildRun::State::readerFinished()
{
    if (closed || endReported)
        return;
    readerDone = true;
    deliverPending();
    reportEndWhenComplete();
}

void ChildRun::State::childFinished(int code)
{
    if (closed || endReported)
        return;
    exitSeen = true;
    exitCode = code;
    reportEndWhenComplete();
}

void ChildRun::State::reportEndWhenComplete()
{
    if (closed || !readerDone || !exitSeen || endReported)
        return;
    deliverPending();
    if (closed)
        return;
    {
        std::lock_guard<std::mutex> guard(lock);
        output = std::exchange(collected, QByteArray());
    }
    endReported = true;
    child.closeParentFds();
    if (setup.onEnded)
        setup.onEnded(exitCode, output);
}

void ChildRun::State::stopAndJoin()
{
    stopReading = true;
    child.signal(SIGKILL); // nothing once the child has been reaped
    waker.wake();
    if (reader.joinable())
        reader.join();
    if (waiter.joinable())
        waiter.join();
}

std::shared_ptr<ChildRun> ChildRun::start(UiPoster &poster, const QStringList &argv,
                                          const QString &workDir, Setup setup, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return nullptr;
    };
    auto state = std::make_shared<State>(poster, std::move(setup));
    // Without its waker the reader could never be stopped.
    if (state->waker.fd() < 0)
        return fail(QStringLiteral("Cannot start \"%1\": %2")
                        .arg(argv.value(0), QString::fromLocal8Bit(std::strerror(errno))));
    std::vector<std::string> args;
    args.reserve(size_t(argv.size()));
    for (const QString &arg : argv)
        args.push_back(QFile::encodeName(arg).toStdString());

    using Source = process::ChildFd::Source;
    process::SpawnOptions options;
    options.fds = {{STDIN_FILENO, Source::ParentIn},
                   {STDOUT_FILENO, Source::ParentOut},
                   {STDERR_FILENO, Source::SameAs, STDOUT_FILENO}};
    options.workDir = QFile::encodeName(workDir).toStdString();
    std::string reason;
    if (!state->child.start(args, options, &reason))
        return fail(QString::fromLocal8Bit(reason.c_str()));
    if (state->setup.input == Input::Closed)
        state->child.closeParentFd(STDIN_FILENO);

    const std::weak_ptr<State> weak = state;
    State *raw = state.get();
    try {
        state->reader = std::thread([raw, weak] { raw->readOutput(weak); });
        state->waiter = std::thread([raw, weak] { raw->waitForChild(weak); });
    } catch (const std::system_error &e) {
        // Without both threads the end could never be reported: give the child up.
        state->closed = true;
        state->stopAndJoin();
        return fail(QStringLiteral("Cannot start \"%1\": %2")
                        .arg(argv.first(), QString::fromLocal8Bit(e.what())));
    }
    return std::shared_ptr<ChildRun>(new ChildRun(std::move(state)));
}

ChildRun::ChildRun(std::shared_ptr<State> state) : m_state(std::move(state)) {}

ChildRun::~ChildRun()
{
    close();
}

void ChildRun::close()
{
    m_state->closed = true;
    m_state->stopAndJoin();
}

void ChildRun::finishWithoutEventLoop()
{
    // The end handler may drop the last reference to this run.
    const std::shared_ptr<State> keep = m_state;
    State &s = *keep;
    if (s.endReported || s.closed)
        return;
    if (s.reader.joinable())
        s.reader.join();
    if (s.waiter.joinable())
        s.waiter.join();
    s.readerDone = true;
    s.exitSeen = true;
    s.exitCode = s.childCode;
    s.reportEndWhenComplete();
}

bool ChildRun::ended() const
{
    return m_state->endReported;
}

bool ChildRun::closed() const
{
    return m_state->closed && !m_state->endReported;
}

int ChildRun::exitCode() const
{
    return m_state->endReported ? m_state->exitCode : -1;
}

QByteArray ChildRun::output() const
{
    return m_state->endReported ? m_state->output : QByteArray();
}

process::ChildProcess &ChildRun::child()
{
    return m_state->child;
}

qint64 ChildRun::processId() const
{
    const pid_t pid = m_state->child.pid();
    return pid > 0 ? pid : 0;
}
