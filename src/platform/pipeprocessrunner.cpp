#include "platform/pipeprocessrunner.h"

#include "platform/childrun.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <utility>

PipeProcessRunner::PipeProcessRunner(UiPoster &poster) : m_poster(poster) {}

PipeProcessRunner::~PipeProcessRunner()
{
    if (m_run)
        m_run->close();
}

void PipeProcessRunner::setOnFinished(FinishedHandler handler)
{
    m_onFinished = std::move(handler);
}

std::shared_ptr<ChildRun> PipeProcessRunner::startNext(const QStringList &argv,
                                                       const QString &workDir, QString *error)
{
    // One child at a time. The events handled while waiting may start other runs
    // (a second import, a merge); each of them is waited for in turn.
    while (busy())
        waitUntilDone();

    ChildRun::Setup setup;
    setup.delivery = ChildRun::Delivery::Whole;
    setup.input = ChildRun::Input::Closed;
    setup.pieceSize = kPieceSize;
    setup.onEnded = [handler = m_onFinished](int exitCode, const QByteArray &output) {
        if (handler)
            handler(exitCode, output);
    };
    std::shared_ptr<ChildRun> run =
        ChildRun::start(m_poster, argv, workDir, std::move(setup), error);
    // A run that could not start leaves the runner idle with an empty output.
    m_run = run;
    return run;
}

bool PipeProcessRunner::runPiped(const QStringList &argv, const QString &workDir, QString *error)
{
    return startNext(argv, workDir, error) != nullptr;
}

std::optional<PipeProcessRunner::Result>
PipeProcessRunner::runToEnd(const QStringList &argv, const QString &workDir, QString *error)
{
    // Held here: a later run replacing m_run must not take this child's report away.
    const std::shared_ptr<ChildRun> run = startNext(argv, workDir, error);
    if (!run)
        return std::nullopt;
    waitFor(*run);
    return Result{run->exitCode(), run->output()};
}

void PipeProcessRunner::waitFor(ChildRun &run)
{
    if (!QCoreApplication::instance()) {
        // No event loop to deliver the threads' news: wait for them here instead.
        run.finishWithoutEventLoop();
        return;
    }
    while (!run.ended() && !run.closed())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool PipeProcessRunner::busy() const
{
    return m_run && !m_run->ended() && !m_run->closed();
}

void PipeProcessRunner::waitUntilDone()
{
    while (busy()) {
        const std::shared_ptr<ChildRun> run = m_run;
        waitFor(*run);
    }
}

QByteArray PipeProcessRunner::output() const
{
    return m_run ? m_run->output() : QByteArray();
}

int PipeProcessRunner::exitCode() const
{
    return m_run ? m_run->exitCode() : -1;
}

qint64 PipeProcessRunner::processId() const
{
    return m_run ? m_run->processId() : 0;
}
