#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One run of the external encoder as a child process: its console lines and its
// end arrive on the user-interface thread, the end after every line.
class EncoderProcess
{
public:
    virtual ~EncoderProcess() = default;

    // Every state of the line being written (a progress line rewritten in place is
    // heard again and again), and each line once it is complete.
    std::function<void(const QString &line)> onLine;
    std::function<void(const QString &line)> onCompletedLine;
    std::function<void(int exitCode)> onEnded;

    // False when the program could not be started; `error` says why.
    virtual bool run(const QStringList &arguments, const QString &workDir, QString *error) = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // Ends the child; the end is reported with exitCode.
    virtual void terminate(int exitCode) = 0;
};

using EncoderProcessFactory = std::function<std::unique_ptr<EncoderProcess>()>;
