#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Runs one helper child at a time (the probe, the merge tool) and keeps all of
// its output.
class PipedRunner
{
public:
    virtual ~PipedRunner() = default;
    // Starts the child; false when it could not be started (the output stays empty).
    virtual bool runPiped(const QStringList &arguments, const QString &workDir) = 0;

    struct Result {
        int exitCode = -1;
        QByteArray output;
    };
    // Starts the child once the one before has ended, keeps the event loop running
    // until it has ended too, and returns what this child printed, whatever other
    // runs start meanwhile. Nothing when it could not be started.
    virtual std::optional<Result> runToEnd(const QStringList &arguments,
                                           const QString &workDir) = 0;
    virtual bool busy() const = 0;
    // Keeps the event loop running until the child has ended and its output is read.
    virtual void waitUntilDone() = 0;
    virtual QByteArray output() const = 0;
    virtual int exitCode() const = 0;
};
