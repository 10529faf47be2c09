#include "core/pipedprocess.h"

#include "platform/pipeprocessrunner.h"

PipedProcess::PipedProcess(UiPoster &poster) : m_runner(std::make_unique<PipeProcessRunner>(poster))
{
}

PipedProcess::~PipedProcess() = default;

bool PipedProcess::runPiped(const QStringList &arguments, const QString &workDir)
{
    return m_runner->runPiped(arguments, workDir);
}

std::optional<PipedRunner::Result> PipedProcess::runToEnd(const QStringList &arguments,
                                                          const QString &workDir)
{
    const auto run = m_runner->runToEnd(arguments, workDir);
    if (!run)
        return std::nullopt;
    return Result{run->exitCode, run->output};
}

bool PipedProcess::busy() const
{
    return m_runner->busy();
}

void PipedProcess::waitUntilDone()
{
    m_runner->waitUntilDone();
}

QByteArray PipedProcess::output() const
{
    return m_runner->output();
}

int PipedProcess::exitCode() const
{
    return m_runner->exitCode();
}
