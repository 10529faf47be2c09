#include "consoleprocessrunner.h"

#include "childprocess.h"
#include "pendingoutput.h"
#include "uiposter.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include <signal.h>

// Everything one run needs. Worker threads use it through a plain pointer (they
// are joined before it can go); posted calls hold a weak pointer, so a call that
// arrives after the runner is gone does nothing.
struct ConsoleProcessRunner::State {
    explicit State(UiPoster &p) : poster(p) {}

    UiPoster &poster;

    // Shared with the worker threads; pending output only under the lock.
    std::mutex lock;
    PendingOutput pending;
    bool deliveryPosted = false;
    ChildProcess child;
    Waker waker;
    std::atomic<bool> stopReading{false};
    std::atomic<bool> childEnded{false};
    std::thread reader;
    std::thread waiter;

    // User-interface thread only.
    OutputHandler onOutput;
    EndHandler onEnded;
    std::chrono::milliseconds grace = kDefaultGracePeriod;
    bool started = false;
    bool suspended = false;
    bool readerDone = false;
    bool exitSeen = false;
    bool endReported = false;
    bool closed = false; // the runner has been destroyed
    int exitCode = -1;
    std::optional<int> terminateCode;

    // Worker threads.
    void readOutput(const std::weak_ptr<State> &self);
    void waitForChild(const std::weak_ptr<State> &self);

    // User-interface thread.
    void deliverPending();
    void readerFinished();
    void childFinished(int code);
    void reportEndWhenComplete();
};

void ConsoleProcessRunner::State::readOutput(const std::weak_ptr<State> &self)
{
    lowerThreadPriority();
    readPieces(child.outputFd(), waker, stopReading, childEnded, kPieceSize,
               [&](const char *data, qsizetype size) {
                   bool post = false;
                   {
                       std::lock_guard<std::mutex> guard(lock);
                       pending.append(data, size);
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

void ConsoleProcessRunner::State::waitForChild(const std::weak_ptr<State> &self)
{
    const int code = child.waitForEnd();
    childEnded = true;
    waker.wake();
    poster.post([self, code] {
        if (auto s = self.lock())
            s->childFinished(code);
    });
}

void ConsoleProcessRunner::State::deliverPending()
{
    if (closed)
        return;
    QByteArray bytes;
    {
        std::lock_guard<std::mutex> guard(lock);
        bytes = pending.takeAll();
        deliveryPosted = false;
    }
    for (qsizetype at = 0; at < bytes.size(); at += kPieceSize) {
        if (closed || !onOutput)
            return;
        // A copy, so that a handler may replace itself or destroy the runner.
        const OutputHandler handler = onOutput;
        handler(bytes.mid(at, kPieceSize));
    }
}

void ConsoleProcessRunner::State::readerFinished()
{
    if (closed)
        return;
    readerDone = true;
    deliverPending();
    reportEndWhenComplete();
}

void ConsoleProcessRunner::State::childFinished(int code)
{
    if (closed)
        return;
    exitSeen = true;
    exitCode = code;
    suspended = false;
    reportEndWhenComplete();
}

void ConsoleProcessRunner::State::reportEndWhenComplete()
{
    if (closed || !readerDone || !exitSeen || endReported)
        return;
    deliverPending();
    if (closed)
        return;
    endReported = true;
    child.closeInput();
    if (onEnded) {
        const EndHandler handler = onEnded;
        handler(terminateCode.value_or(exitCode));
    }
}

ConsoleProcessRunner::ConsoleProcessRunner(UiPoster &poster)
    : m_state(std::make_shared<State>(poster))
{
}

ConsoleProcessRunner::~ConsoleProcessRunner()
{
    State &s = *m_state;
    s.closed = true;
    s.stopReading = true;
    s.child.signalGroup(SIGKILL);
    s.waker.wake();
    if (s.reader.joinable())
        s.reader.join();
    if (s.waiter.joinable())
        s.waiter.join();
}

void ConsoleProcessRunner::setOnOutput(OutputHandler handler)
{
    m_state->onOutput = std::move(handler);
}

void ConsoleProcessRunner::setOnEnded(EndHandler handler)
{
    m_state->onEnded = std::move(handler);
}

void ConsoleProcessRunner::setGracePeriod(std::chrono::milliseconds grace)
{
    m_state->grace = grace;
}

bool ConsoleProcessRunner::run(const QStringList &argv, const QString &workDir, QString *error)
{
    State &s = *m_state;
    if (s.started) {
        if (error)
            *error = QStringLiteral("The encoder of this row has already been started");
        return false;
    }
    if (!s.child.start(argv, workDir, ChildInput::KeepOpen, error))
        return false;
    s.started = true;

    const std::weak_ptr<State> weak = m_state;
    State *raw = m_state.get();
    try {
        s.reader = std::thread([raw, weak] { raw->readOutput(weak); });
        s.waiter = std::thread([raw, weak] { raw->waitForChild(weak); });
    } catch (const std::system_error &e) {
        // Without both threads the end could never be reported: give the child up.
        s.stopReading = true;
        s.child.signalGroup(SIGKILL);
        s.waker.wake();
        if (s.reader.joinable())
            s.reader.join();
        s.endReported = true;
        if (error) {
            *error = QStringLiteral("Cannot start \"%1\": %2")
                         .arg(argv.first(), QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
    return true;
}

void ConsoleProcessRunner::suspend()
{
    State &s = *m_state;
    if (!isRunning() || s.suspended || s.terminateCode)
        return;
    if (s.child.signalGroup(SIGSTOP))
        s.suspended = true;
}

void ConsoleProcessRunner::resume()
{
    State &s = *m_state;
    if (!s.suspended)
        return;
    s.child.signalGroup(SIGCONT);
    s.suspended = false;
}

void ConsoleProcessRunner::terminate(int exitCode)
{
    State &s = *m_state;
    // A second signal would make the encoder abandon the file it is closing.
    if (!isRunning() || s.terminateCode)
        return;
    s.terminateCode = exitCode;
    s.child.signalGroup(SIGTERM);
    // A stopped group acts on SIGTERM only once it runs again.
    if (s.suspended) {
        s.child.signalGroup(SIGCONT);
        s.suspended = false;
    }
    s.child.killGroupAfter(s.grace);
}

bool ConsoleProcessRunner::isRunning() const
{
    return m_state->started && !m_state->endReported;
}

bool ConsoleProcessRunner::isSuspended() const
{
    return m_state->suspended;
}

qint64 ConsoleProcessRunner::processId() const
{
    const pid_t pid = m_state->child.pid();
    return pid > 0 ? pid : 0;
}
