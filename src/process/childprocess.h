#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

namespace process
{

// What one descriptor of the child is wired to.
struct ChildFd {
    enum class Source {
        Null,      // /dev/null, opened for reading (0) or writing (others)
        ParentIn,  // a pipe the parent writes and the child reads
        ParentOut, // a pipe the child writes and the parent reads
        SameAs,    // a copy of another child descriptor set up earlier in the table
    };
    int child = 0;
    Source source = Source::Null;
    int sameAs = -1;
};

// How a child is started. Descriptors 0 to 2 that the table leaves out are shared
// with the parent; every other descriptor is closed in the child, so no child
// inherits the pipes of another.
struct SpawnOptions {
    std::vector<ChildFd> fds;
    // A process group of its own, so that a signal to the group reaches the child
    // and every helper it starts.
    bool ownProcessGroup = true;
    std::string workDir; // empty: the parent's
};

// Descriptors 0 to 2 are opened on /dev/null where they are missing, so that no
// file or pipe the program opens takes their numbers. Once per process.
void ensureStandardFds();

// The exit status, 128 + the signal number after a signal death, -1 otherwise.
int exitCodeOf(int waitStatus);

// One child started from an argument vector with posix_spawn, never through a
// shell, with default signal handling and nothing blocked whatever the parent did
// to its own. Every descriptor the parent keeps is close-on-exec.
//
// Threads: start and the parent-end calls belong to the owning thread; waitForEnd
// to one waiting thread; signal, hasEnded and killAfter to any thread. A thread in
// waitForEnd must have returned before the object is destroyed.
class ChildProcess
{
public:
    ChildProcess() = default;
    // Closes the parent's ends; a child that has not ended is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // argv[0] without a "/" is looked up on PATH; a relative path is taken from the
    // parent's folder. On failure the message names the program and the reason.
    bool start(const std::vector<std::string> &argv, const SpawnOptions &options,
               std::string *error = nullptr);

    pid_t pid() const { return m_pid; }
    // The parent's end of the pipe wired to a child descriptor; -1 when there is none.
    int parentFd(int childFd) const;
    void closeParentFd(int childFd);
    void closeParentFds();

    // Blocks until the child has ended and reaps it; whatever the child left behind
    // in its own group is killed first. Later calls return the same code; -1 when no
    // child was started.
    int waitForEnd();
    bool hasEnded() const;

    // Sends sig to the child's group (or to the child alone without a group of its
    // own) until the child has been reaped; afterwards the number could belong to a
    // stranger.
    bool signal(int sig);

    // One SIGKILL when the child has not ended within grace; later calls change nothing.
    void killAfter(std::chrono::milliseconds grace);

private:
    struct Kept {
        int child;
        int parent;
    };

    pid_t m_pid = -1;
    bool m_ownGroup = true;
    std::vector<Kept> m_kept;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_reaped = false;
    bool m_closing = false;
    int m_exitCode = -1;
    std::thread m_killer;
};

} // namespace process
