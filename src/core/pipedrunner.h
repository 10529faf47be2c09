#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs one helper child at a time (the probe, the merge tool) and keeps all of
// its output.
class PipedRunner
{
public:
    virtual ~PipedRunner() = default;
    // Starts the child; false when it could not be started (the output stays empty).
    virtual bool runPiped(const QStringList &arguments, const QString &workDir) = 0;
    virtual bool busy() const = 0;
    // Keeps the event loop running until the child has ended and its output is read.
    virtual void waitUntilDone() = 0;
    virtual QByteArray output() const = 0;
    virtual int exitCode() const = 0;
};
