#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class ChildRun;
class UiPoster;

// Runs the probe and the merge tool: one child at a time, its standard output
// and standard error collected whole through one pipe, its standard input a pipe
// that is closed at once. A run is complete when the child has ended and all of
// its output has been read; completion is seen on the user-interface thread.
//
// Every member belongs to the user-interface thread. Destroying the runner while
// a child runs kills that child's process group.
class PipeProcessRunner
{
public:
    using FinishedHandler = std::function<void(int exitCode, const QByteArray &output)>;
    struct Result {
        int exitCode = -1;
        QByteArray output;
    };

    static constexpr qsizetype kPieceSize = 2048;

    // The poster must outlive the runner.
    explicit PipeProcessRunner(UiPoster &poster);
    ~PipeProcessRunner();
    PipeProcessRunner(const PipeProcessRunner &) = delete;
    PipeProcessRunner &operator=(const PipeProcessRunner &) = delete;

    // Called on the user-interface thread when a run is complete.
    void setOnFinished(FinishedHandler handler);

    // Starts argv[0] with argv in workDir (empty: the program's own) and returns.
    // A child still running is waited for first (see waitUntilDone), so a probe
    // started during a merge begins when the merge has ended. Returns false with
    // the system's reason when the child cannot be started; the runner is then not
    // busy, its output is empty and no completion is reported.
    bool runPiped(const QStringList &argv, const QString &workDir, QString *error = nullptr);

    // Like runPiped, then waits for this child's end and returns what this child
    // printed, whatever other runs the events handled meanwhile start or finish.
    // Nothing when the child could not be started.
    std::optional<Result> runToEnd(const QStringList &argv, const QString &workDir,
                                   QString *error = nullptr);

    bool busy() const;
    // Returns when the current run is complete, handling the events of this
    // thread meanwhile so that the window stays responsive.
    void waitUntilDone();

    // The whole output of the last run, complete once the runner is not busy.
    QByteArray output() const;
    // The last run's exit status, 128 + signal after a signal death, -1 before
    // any run has completed.
    int exitCode() const;
    // The current child's process id, which is also its process group; 0 when
    // no child was started.
    qint64 processId() const;

private:
    std::shared_ptr<ChildRun> startNext(const QStringList &argv, const QString &workDir,
                                        QString *error);
    static void waitFor(ChildRun &run);

    UiPoster &m_poster;
    FinishedHandler m_onFinished;
    std::shared_ptr<ChildRun> m_run; // the newest run
};
