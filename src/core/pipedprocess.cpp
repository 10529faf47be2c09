#include "pipedprocess.h"

#include "pipeprocessrunner.h"

PipedProcess::PipedProcess(UiPoster &poster) : m_runner(std::make_unique<PipeProcessRunner>(poster))
{
}

PipedProcess::~PipedProcess() = default;

bool PipedProcess::runPiped(const QStringList &arguments, const QString &workDir)
{
    return m_runner->runPiped(arguments, workDir);
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
