#pragma once

#include "core/pipedrunner.h"

#include <memory>

class PipeProcessRunner;
class UiPoster;

// The helper-child runner for the probe and the merge tool.
class PipedProcess : public PipedRunner
{
public:
    explicit PipedProcess(UiPoster &poster);
    ~PipedProcess() override;

    bool runPiped(const QStringList &arguments, const QString &workDir) override;
    std::optional<Result> runToEnd(const QStringList &arguments, const QString &workDir) override;
    bool busy() const override;
    void waitUntilDone() override;
    QByteArray output() const override;
    int exitCode() const override;

private:
    std::unique_ptr<PipeProcessRunner> m_runner;
};
