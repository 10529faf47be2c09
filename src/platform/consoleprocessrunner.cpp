#include "platform/consoleprocessrunner.h"

#include "platform/childrun.h"
#include "process/childprocess.h"

#include <optional>
#include <utility>

#include <signal.h>

// What the handlers reach after the runner may be gone: the run's handlers hold a
// weak pointer to it.
struct ConsoleProcessRunner::State {
    OutputHandler onOutput;
    EndHandler onEnded;
    std::chrono::milliseconds grace = kDefaultGracePeriod;
    std::shared_ptr<ChildRun> run;
    bool started = false;
    bool suspended = false;
    bool endReported = false;
    std::optional<int> terminateCode;
};

ConsoleProcessRunner::ConsoleProcessRunner(UiPoster &poster)
    : m_poster(poster), m_state(std::make_shared<State>())
{
}

ConsoleProcessRunner::~ConsoleProcessRunner()
{
    if (m_state->run)
        m_state->run->close();
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
    const std::weak_ptr<State> weak = m_state;
    ChildRun::Setup setup;
    setup.delivery = ChildRun::Delivery::InPieces;
    setup.input = ChildRun::Input::KeepOpen;
    setup.pieceSize = kPieceSize;
    setup.onOutput = [weak](const QByteArray &piece) {
        auto state = weak.lock();
        if (!state || !state->onOutput)
            return;
        // A copy, so that a handler may replace itself or destroy the runner.
        const OutputHandler handler = state->onOutput;
        handler(piece);
    };
    setup.onEnded = [weak](int exitCode, const QByteArray &) {
        auto state = weak.lock();
        if (!state)
            return;
        state->endReported = true;
        state->suspended = false;
        if (state->onEnded) {
            const EndHandler handler = state->onEnded;
            handler(state->terminateCode.value_or(exitCode));
        }
    };
    s.run = ChildRun::start(m_poster, argv, workDir, std::move(setup), error);
    if (!s.run)
        return false;
    s.started = true;
    return true;
}

void ConsoleProcessRunner::suspend()
{
    State &s = *m_state;
    if (!isRunning() || s.suspended || s.terminateCode)
        return;
    if (s.run->child().signal(SIGSTOP))
        s.suspended = true;
}

void ConsoleProcessRunner::resume()
{
    State &s = *m_state;
    if (!s.suspended)
        return;
    s.run->child().signal(SIGCONT);
    s.suspended = false;
}

void ConsoleProcessRunner::terminate(int exitCode)
{
    State &s = *m_state;
    // A second signal would make the encoder abandon the file it is closing.
    if (!isRunning() || s.terminateCode)
        return;
    s.terminateCode = exitCode;
    s.run->child().signal(SIGTERM);
    // A stopped group acts on SIGTERM only once it runs again.
    if (s.suspended) {
        s.run->child().signal(SIGCONT);
        s.suspended = false;
    }
    s.run->child().killAfter(s.grace);
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
    return m_state->run ? m_state->run->processId() : 0;
}
