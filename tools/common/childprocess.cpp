#include "childprocess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace tools
{

namespace
{

struct PipeEnds {
    int read = -1;
    int write = -1;
};

bool makePipe(PipeEnds &ends)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    ends.read = fds[0];
    ends.write = fds[1];
    return true;
}

void closeFd(int &fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void closeEnds(PipeEnds &ends)
{
    closeFd(ends.read);
    closeFd(ends.write);
}

// Reads what is there; false at end of file or on an error other than an interruption.
bool readSome(int fd, std::string &into)
{
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return false;
    }
}

} // namespace

ChildProcess::~ChildProcess()
{
    closeAll();
    if (m_pid > 0)
        wait();
}

void ChildProcess::ensureStandardFds()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
}

bool ChildProcess::start(const std::vector<std::string> &argv, const ChildSetup &setup,
                         std::string *error)
{
    auto fail = [error](const std::string &message) {
        if (error)
            *error = message;
        return false;
    };
    if (argv.empty() || argv.front().empty())
        return fail("no program to start");
    if (m_pid > 0)
        return fail("a child is still running");
    closeAll();
    m_exitCode = -1;

    PipeEnds in, out, err, progress;
    auto closePipes = [&] {
        closeEnds(in);
        closeEnds(out);
        closeEnds(err);
        closeEnds(progress);
    };
    if ((setup.in == ChildStream::Pipe && !makePipe(in)) ||
        (setup.out == ChildStream::Pipe && !makePipe(out)) ||
        (setup.err == ChildStream::Pipe && !makePipe(err)) ||
        (setup.progressPipe && !makePipe(progress))) {
        const int code = errno;
        closePipes();
        return fail(std::string("cannot create a pipe: ") + std::strerror(code));
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    switch (setup.in) {
    case ChildStream::Null:
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        break;
    case ChildStream::Pipe:
        posix_spawn_file_actions_adddup2(&actions, in.read, 0);
        break;
    default:
        break;
    }
    switch (setup.out) {
    case ChildStream::Null:
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        break;
    case ChildStream::Pipe:
        posix_spawn_file_actions_adddup2(&actions, out.write, 1);
        break;
    default:
        break;
    }
    switch (setup.err) {
    case ChildStream::Null:
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        break;
    case ChildStream::Pipe:
        posix_spawn_file_actions_adddup2(&actions, err.write, 2);
        break;
    case ChildStream::ToStdout:
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        break;
    default:
        break;
    }
    if (setup.progressPipe)
        posix_spawn_file_actions_adddup2(&actions, progress.write, 3);
    // Descriptors the libraries opened without close-on-exec (a DVD image, say) stay here.
    posix_spawn_file_actions_addclosefrom_np(&actions, setup.progressPipe ? 4 : 3);
    if (!setup.workDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, setup.workDir.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (setup.newProcessGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    posix_spawnattr_setflags(&attributes, flags);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    // We ignore SIGPIPE and catch SIGTERM; the child must get the usual behaviour back.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    std::vector<char *> args;
    args.reserve(argv.size() + 1);
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);

    closeFd(in.read);
    closeFd(out.write);
    closeFd(err.write);
    closeFd(progress.write);
    if (rc != 0) {
        closePipes();
        return fail("cannot start " + argv.front() + ": " + std::strerror(rc));
    }
    m_pid = pid;
    m_in = in.write;
    m_out = out.read;
    m_err = err.read;
    m_progress = progress.read;
    return true;
}

void ChildProcess::closeStdin()
{
    closeFd(m_in);
}
void ChildProcess::closeStdout()
{
    closeFd(m_out);
}
void ChildProcess::closeStderr()
{
    closeFd(m_err);
}
void ChildProcess::closeProgress()
{
    closeFd(m_progress);
}

void ChildProcess::closeAll()
{
    closeFd(m_in);
    closeFd(m_out);
    closeFd(m_err);
    closeFd(m_progress);
}

int ChildProcess::wait()
{
    if (m_pid <= 0)
        return m_exitCode;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(m_pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    m_pid = -1;
    if (done < 0)
        m_exitCode = -1;
    else if (WIFEXITED(status))
        m_exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        m_exitCode = 128 + WTERMSIG(status);
    else
        m_exitCode = -1;
    return m_exitCode;
}

CapturedRun runCaptured(const std::vector<std::string> &argv, bool mergeStderr,
                        const std::string &workDir)
{
    CapturedRun run;
    ChildProcess child;
    ChildSetup setup;
    setup.out = ChildStream::Pipe;
    setup.err = mergeStderr ? ChildStream::ToStdout : ChildStream::Pipe;
    setup.workDir = workDir;
    if (!child.start(argv, setup, &run.startError))
        return run;
    run.started = true;

    pollfd fds[2] = {{child.stdoutFd(), POLLIN, 0}, {child.stderrFd(), POLLIN, 0}};
    std::string *targets[2] = {&run.out, &run.err};
    int open = child.stderrFd() >= 0 ? 2 : 1;
    if (child.stderrFd() < 0)
        fds[1].fd = -1;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                if (!readSome(fds[i].fd, *targets[i])) {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    child.closeStdout();
    child.closeStderr();
    run.exitCode = child.wait();
    return run;
}

bool writeAll(int fd, const void *data, size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const std::string &text)
{
    return writeAll(fd, text.data(), text.size());
}

} // namespace tools
