#pragma once

#include "core/encoderprocess.h"
#include "core/lineassembler.h"

#include <memory>

class ConsoleProcessRunner;
class UiPoster;

// The encoder as a console child: its output is assembled into lines the way a
// console shows them (carriage returns overwrite) before it reaches the display.
class ConsoleEncoderProcess : public EncoderProcess
{
public:
    explicit ConsoleEncoderProcess(UiPoster &poster);
    ~ConsoleEncoderProcess() override;

    bool run(const QStringList &arguments, const QString &workDir, QString *error) override;
    void suspend() override;
    void resume() override;
    void terminate(int exitCode) override;

private:
    std::unique_ptr<ConsoleProcessRunner> m_runner;
    LineAssembler m_lines;
};
