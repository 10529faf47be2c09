#include "pipeprocessrunner.h"

#include "childprocess.h"
#include "uiposter.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <signal.h>

// One child and what it printed. Worker threads use it through a plain pointer
// (they are joined before it can go); posted calls hold a weak pointer.
struct PipeProcessRunner::Run {
    explicit Run(UiPoster &p) : poster(p) {}

    UiPoster &poster;

    // Shared with the worker threads; the output only under the lock.
    std::mutex lock;
    QByteArray collected;
    ChildProcess child;
    Waker waker;
    std::atomic<bool> stopReading{false};
    std::atomic<bool> childEnded{false};
    std::atomic<int> childCode{-1};
    std::thread reader;
    std::thread waiter;

    // User-interface thread only.
    FinishedHandler onFinished;
    bool readerDone = false;
    bool exitSeen = false;
    bool finished = false;
    bool closed = false; // the runner has let go of this run
    int exitCode = -1;
    QByteArray output;

    void readOutput(const std::weak_ptr<Run> &self);
    void waitForChild(const std::weak_ptr<Run> &self);

    void readerFinished();
    void childFinished(int code);
    void finishWhenComplete();
    void joinThreads();
};

void PipeProcessRunner::Run::readOutput(const std::weak_ptr<Run> &self)
{
    lowerThreadPriority();
    readPieces(child.outputFd(), waker, stopReading, childEnded, kPieceSize,
               [this](const char *data, qsizetype size) {
                   std::lock_guard<std::mutex> guard(lock);
                   collected.append(data, size);
               });
    poster.post([self] {
        if (auto r = self.lock())
            r->readerFinished();
    });
}

void PipeProcessRunner::Run::waitForChild(const std::weak_ptr<Run> &self)
{
    const int code = child.waitForEnd();
    childCode = code;
    childEnded = true;
    waker.wake();
    poster.post([self, code] {
        if (auto r = self.lock())
            r->childFinished(code);
    });
}

void PipeProcessRunner::Run::readerFinished()
{
    if (closed || finished)
        return;
    readerDone = true;
    finishWhenComplete();
}

void PipeProcessRunner::Run::childFinished(int code)
{
    if (closed || finished)
        return;
    exitSeen = true;
    exitCode = code;
    finishWhenComplete();
}

void PipeProcessRunner::Run::finishWhenComplete()
{
    if (closed || finished || !readerDone || !exitSeen)
        return;
    {
        std::lock_guard<std::mutex> guard(lock);
        output = std::move(collected);
        collected = QByteArray();
    }
    finished = true;
    if (onFinished) {
        // A copy, so that the handler may start the next run, which replaces it.
        const FinishedHandler handler = onFinished;
        handler(exitCode, output);
    }
}

void PipeProcessRunner::Run::joinThreads()
{
    if (reader.joinable())
        reader.join();
    if (waiter.joinable())
        waiter.join();
}

PipeProcessRunner::PipeProcessRunner(UiPoster &poster) : m_poster(poster) {}

PipeProcessRunner::~PipeProcessRunner()
{
    forgetRun();
}

void PipeProcessRunner::setOnFinished(FinishedHandler handler)
{
    m_onFinished = std::move(handler);
}

bool PipeProcessRunner::runPiped(const QStringList &argv, const QString &workDir, QString *error)
{
    // One child at a time: a probe asked for during a merge waits for its end.
    waitUntilDone();
    forgetRun();

    auto run = std::make_shared<Run>(m_poster);
    run->onFinished = m_onFinished;
    m_run = run;
    if (!run->child.start(argv, workDir, ChildInput::Closed, error)) {
        run->finished = true;
        return false;
    }

    const std::weak_ptr<Run> weak = run;
    Run *raw = run.get();
    try {
        run->reader = std::thread([raw, weak] { raw->readOutput(weak); });
        run->waiter = std::thread([raw, weak] { raw->waitForChild(weak); });
    } catch (const std::system_error &e) {
        run->finished = true;
        forgetRun(); // kills the child and joins the reader that did start
        m_run = std::make_shared<Run>(m_poster);
        m_run->finished = true;
        if (error) {
            *error = QStringLiteral("Cannot start \"%1\": %2")
                         .arg(argv.first(), QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
    return true;
}

bool PipeProcessRunner::busy() const
{
    return m_run && !m_run->finished;
}

void PipeProcessRunner::waitUntilDone()
{
    if (!busy())
        return;
    if (!QCoreApplication::instance()) {
        // No event loop to deliver the threads' news: wait for them here instead.
        const std::shared_ptr<Run> run = m_run;
        run->joinThreads();
        run->readerDone = true;
        run->exitSeen = true;
        run->exitCode = run->childCode;
        run->finishWhenComplete();
        return;
    }
    while (busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

QByteArray PipeProcessRunner::output() const
{
    return m_run && m_run->finished ? m_run->output : QByteArray();
}

int PipeProcessRunner::exitCode() const
{
    return m_run && m_run->finished ? m_run->exitCode : -1;
}

qint64 PipeProcessRunner::processId() const
{
    const pid_t pid = m_run ? m_run->child.pid() : -1;
    return pid > 0 ? pid : 0;
}

void PipeProcessRunner::forgetRun()
{
    if (!m_run)
        return;
    Run &r = *m_run;
    r.closed = true;
    r.stopReading = true;
    r.child.signalGroup(SIGKILL); // nothing once the child has been reaped
    r.waker.wake();
    r.joinThreads();
    m_run.reset();
}
