#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>

class UiPoster;

// Runs the encoder for one row as a child run whose output is passed on as it
// comes, in pieces of up to 1024 bytes, every byte before the end. One run per
// runner; a new runner is made for every row.
//
// Every member belongs to the user-interface thread, and both handlers run on
// it. A handler may destroy the runner; destroying it while the child runs kills
// the child's process group and waits for the threads.
class ConsoleProcessRunner
{
public:
    using OutputHandler = std::function<void(const QByteArray &piece)>;
    using EndHandler = std::function<void(int exitCode)>;

    static constexpr qsizetype kPieceSize = 1024;
    static constexpr std::chrono::milliseconds kDefaultGracePeriod{8000};

    // The poster must outlive the runner.
    explicit ConsoleProcessRunner(UiPoster &poster);
    ~ConsoleProcessRunner();
    ConsoleProcessRunner(const ConsoleProcessRunner &) = delete;
    ConsoleProcessRunner &operator=(const ConsoleProcessRunner &) = delete;

    void setOnOutput(OutputHandler handler);
    void setOnEnded(EndHandler handler);
    // How long terminate waits before it kills the group outright.
    void setGracePeriod(std::chrono::milliseconds grace);

    // Starts argv[0] with argv in workDir (empty: the program's own). When the
    // child cannot be started, returns false with the system's reason in error
    // ("Cannot start "<program>": No such file or directory"); no end is reported.
    bool run(const QStringList &argv, const QString &workDir, QString *error = nullptr);

    // Stop and continue the whole process group.
    void suspend();
    void resume();
    // One SIGTERM to the group, which lets the encoder finish its output file
    // (with SIGCONT after it when the group is stopped); SIGKILL follows only
    // when the child is still there after the grace period. The end is then
    // reported with exitCode instead of the child's own.
    void terminate(int exitCode);

    // Started and its end not yet reported.
    bool isRunning() const;
    bool isSuspended() const;
    // The child's process id, which is also its process group; 0 before a start.
    qint64 processId() const;

private:
    struct State;
    UiPoster &m_poster;
    std::shared_ptr<State> m_state;
};
