#include "core/consoleencoderprocess.h"

#include "platform/consoleprocessrunner.h"

ConsoleEncoderProcess::ConsoleEncoderProcess(UiPoster &poster)
    : m_runner(std::make_unique<ConsoleProcessRunner>(poster)), m_lines(
                                                                    [this](const QString &line) {
                                                                        if (onLine)
                                                                            onLine(line);
                                                                    },
                                                                    [this](const QString &line) {
                                                                        if (onCompletedLine)
                                                                            onCompletedLine(line);
                                                                    })
{
    m_runner->setOnOutput([this](const QByteArray &piece) { m_lines.feed(piece); });
    m_runner->setOnEnded([this](int exitCode) {
        m_lines.finish();
        if (onEnded)
            onEnded(exitCode);
    });
}

ConsoleEncoderProcess::~ConsoleEncoderProcess() = default;

bool ConsoleEncoderProcess::run(const QStringList &arguments, const QString &workDir,
                                QString *error)
{
    return m_runner->run(arguments, workDir, error);
}

void ConsoleEncoderProcess::suspend()
{
    m_runner->suspend();
}

void ConsoleEncoderProcess::resume()
{
    m_runner->resume();
}

void ConsoleEncoderProcess::terminate(int exitCode)
{
    m_runner->terminate(exitCode);
}
