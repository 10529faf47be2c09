#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <sys/types.h>

// What the child finds on its standard input: a pipe that the parent never
// writes, either kept open for the whole run or closed at once (end of file).
enum class ChildInput { KeepOpen, Closed };

// One child started from an argument vector with posix_spawn, never through a
// shell, in a process group of its own so that a signal reaches the encoder and
// any helper it starts. Its standard output and standard error share one pipe
// whose read end the parent keeps. Every descriptor the parent keeps is
// close-on-exec and the child closes all others, so no child inherits the pipes
// of another.
//
// Threads: start, closeInput and killGroupAfter belong to the owning thread;
// waitForEnd to one wait thread; signalGroup and hasEnded to any thread. The
// wait thread must have returned before the object is destroyed.
class ChildProcess
{
public:
    ChildProcess() = default;
    // Kills the group and reaps the child if nobody waited for it.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // argv[0] without a "/" is looked up on PATH. An empty workDir keeps the
    // parent's. On failure the error names the program and the system's reason.
    bool start(const QStringList &argv, const QString &workDir, ChildInput input,
               QString *error = nullptr);

    pid_t pid() const { return m_pid; }
    int outputFd() const { return m_output; }
    void closeInput();

    // Blocks until the child has ended, then reaps it. The exit status, 128 +
    // the signal number after a signal death, -1 when it could not be learnt.
    int waitForEnd();
    bool hasEnded() const;

    // Sends sig to the child's process group until the child has been reaped;
    // afterwards the group number could belong to a stranger.
    bool signalGroup(int sig);

    // One SIGKILL to the group when the child has not ended within grace.
    // Later calls change nothing.
    void killGroupAfter(std::chrono::milliseconds grace);

private:
    void closeFds();

    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_reaped = false;
    bool m_closing = false;
    std::thread m_killer;
};

// Wakes a reader blocked in readPieces from another thread.
class Waker
{
public:
    Waker();
    ~Waker();
    Waker(const Waker &) = delete;
    Waker &operator=(const Waker &) = delete;

    void wake();
    int fd() const { return m_fd; }
    void clear();

private:
    int m_fd = -1;
};

enum class ReadEnd {
    EndOfOutput, // every writer has closed the pipe
    Stopped,     // the owner asked the reader to stop
    Quiet,       // the child ended and nothing more came for a while
    Failed,      // the pipe could not be read
};

// How long the reader keeps listening after the child has ended: a helper the
// child left behind may still hold the pipe open, and must not hang the run.
inline constexpr std::chrono::milliseconds kQuietAfterEnd{2000};

// Reads fd in pieces of up to pieceSize bytes and hands each to sink, until end
// of file, until stop is set and the waker woken, or until kQuietAfterEnd has
// passed without output once childEnded is set (the waker must be woken then
// too, so that the reader notices).
ReadEnd readPieces(int fd, Waker &waker, const std::atomic<bool> &stop,
                   const std::atomic<bool> &childEnded, qsizetype pieceSize,
                   const std::function<void(const char *, qsizetype)> &sink);

// Lowers the calling thread's scheduling priority a little; best effort.
void lowerThreadPriority();
