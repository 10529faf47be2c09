#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tools
{

// Where one standard stream of a child goes.
enum class ChildStream {
    Inherit,  // shares the parent's stream
    Null,     // /dev/null
    Pipe,     // a pipe whose other end the parent keeps
    ToStdout, // standard error only: joins standard output
};

struct ChildSetup {
    ChildStream in = ChildStream::Null;
    ChildStream out = ChildStream::Inherit;
    ChildStream err = ChildStream::Inherit;
    bool progressPipe = false;    // the child's descriptor 3 is a pipe read by the parent
    bool newProcessGroup = false; // so that signals to the group reach the child and its children
    std::string workDir;          // empty: the parent's
};

// A child started with an argument vector (posix_spawnp, never a shell). Every kept pipe
// end is close-on-exec, so a second child never inherits the first one's pipes.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // argv[0] is looked up on PATH unless it holds a "/". On failure the message says why.
    bool start(const std::vector<std::string> &argv, const ChildSetup &setup,
               std::string *error = nullptr);

    pid_t pid() const { return m_pid; }
    int stdinFd() const { return m_in; }
    int stdoutFd() const { return m_out; }
    int stderrFd() const { return m_err; }
    int progressFd() const { return m_progress; }

    void closeStdin();
    void closeStdout();
    void closeStderr();
    void closeProgress();

    // Blocks until the child has ended. Exit code, or 128 + signal number after a signal;
    // -1 when no child was started. Later calls return the same value.
    int wait();
    bool running() const { return m_pid > 0; }

    // Descriptors 0 to 2 must exist before pipes are made, or a pipe could take their
    // numbers and be closed on exec in the child.
    static void ensureStandardFds();

private:
    void closeAll();

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_err = -1;
    int m_progress = -1;
    int m_exitCode = -1;
};

struct CapturedRun {
    bool started = false;
    int exitCode = -1;
    std::string out; // standard output (with standard error when merged)
    std::string err;
    std::string startError;
};

// Runs a child to its end and collects what it printed. Standard input is /dev/null.
CapturedRun runCaptured(const std::vector<std::string> &argv, bool mergeStderr = false,
                        const std::string &workDir = {});

// Writes all of the buffer, retrying after signals; false when the descriptor failed.
bool writeAll(int fd, const void *data, size_t size);
bool writeAll(int fd, const std::string &text);

} // namespace tools
