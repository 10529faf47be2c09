#include "process/childprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace process
{

namespace
{

void closeFd(int &fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

std::string startError(const std::string &program, int err)
{
    return "Cannot start \"" + program + "\": " + std::strerror(err);
}

} // namespace

// Descriptors 0 to 2 must exist before pipes are made: a pipe that took one of their
// numbers would be the very descriptor the child's dup2 has to replace.
void ensureStandardFds()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int fd = 0; fd <= 2; ++fd) {
            if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
                continue;
            const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    });
}

namespace
{

std::string currentFolder()
{
    std::string folder(4096, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

bool isExecutableFile(const std::string &path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The path the child is started from: the child may change folder before the
// program is looked up, so the path must not depend on the folder. Empty with err
// set when there is none.
std::string programPath(const std::string &named, int &err)
{
    err = ENOENT;
    if (named.find('/') != std::string::npos) {
        if (named.front() == '/')
            return named;
        const std::string here = currentFolder();
        if (here.empty()) {
            err = errno;
            return {};
        }
        return here + "/" + named;
    }
    const char *path = std::getenv("PATH");
    const std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t from = 0;
    for (;;) {
        const size_t colon = dirs.find(':', from);
        // An empty entry is the current folder.
        const std::string entry =
            dirs.substr(from, colon == std::string::npos ? colon : colon - from);
        const std::string dir = !entry.empty() && entry.front() == '/'
                                    ? entry
                                    : currentFolder() + (entry.empty() ? "" : "/" + entry);
        const std::string candidate = dir + "/" + named;
        if (isExecutableFile(candidate))
            return candidate;
        if (::access(candidate.c_str(), F_OK) == 0)
            err = EACCES; // there, but not a program; a later folder may still have one
        if (colon == std::string::npos)
            return {};
        from = colon + 1;
    }
}

// Moves fd to the lowest free number at or above minimum, close-on-exec.
bool moveAbove(int &fd, int minimum)
{
    if (fd >= minimum)
        return true;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, minimum);
    if (moved < 0)
        return false;
    ::close(fd);
    fd = moved;
    return true;
}

// Owns the spawn attributes and file actions for the length of one start.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

} // namespace

int exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

ChildProcess::~ChildProcess()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_killer.joinable())
        m_killer.join();
    closeParentFds();
    if (m_pid > 0 && !hasEnded()) {
        signal(SIGKILL);
        waitForEnd();
    }
}

bool ChildProcess::start(const std::vector<std::string> &argv, const SpawnOptions &options,
                         std::string *error)
{
    auto fail = [error](const std::string &text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_pid > 0)
        return fail("A program is already running");
    if (argv.empty() || argv.front().empty())
        return fail("Cannot start a program without a name");

    const std::string &named = argv.front();
    int lookupError = 0;
    const std::string program = programPath(named, lookupError);
    if (program.empty())
        return fail(startError(named, lookupError));
    if (!options.workDir.empty()) {
        struct stat info = {};
        if (::stat(options.workDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return fail("Cannot start \"" + named + "\" in \"" + options.workDir +
                        "\": " + std::strerror(ENOENT));
    }

    ensureStandardFds();
    int highest = STDERR_FILENO;
    for (size_t i = 0; i < options.fds.size(); ++i) {
        const ChildFd &fd = options.fds[i];
        highest = std::max(highest, fd.child);
        // A copy is of a descriptor the child already has: one set up earlier in the
        // table, or one of 0 to 2 that it shares with the parent.
        bool known =
            fd.source != ChildFd::Source::SameAs || (fd.sameAs >= 0 && fd.sameAs <= STDERR_FILENO);
        for (size_t k = 0; k < i && !known; ++k)
            known = options.fds[k].child == fd.sameAs;
        if (fd.child < 0 || !known)
            return fail(startError(named, EBADF));
    }
    const int firstFree = highest + 1;

    // Pipe ends are kept above every child descriptor, so that no dup2 in the child
    // can overwrite an end that a later entry still needs.
    struct Ends {
        int read = -1;
        int write = -1;
    };
    std::vector<Ends> pipes(options.fds.size());
    auto closePipes = [&pipes] {
        for (Ends &e : pipes) {
            closeFd(e.read);
            closeFd(e.write);
        }
    };
    for (size_t i = 0; i < options.fds.size(); ++i) {
        const ChildFd::Source source = options.fds[i].source;
        if (source != ChildFd::Source::ParentIn && source != ChildFd::Source::ParentOut)
            continue;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            const int err = errno;
            closePipes();
            return fail(startError(named, err));
        }
        pipes[i] = {ends[0], ends[1]};
        if (!moveAbove(pipes[i].read, firstFree) || !moveAbove(pipes[i].write, firstFree)) {
            const int err = errno;
            closePipes();
            return fail(startError(named, err));
        }
    }

    SpawnSetup setup;
    int actionError = 0;
    const auto action = [&actionError](int rc) {
        if (rc != 0 && actionError == 0)
            actionError = rc;
    };
    for (size_t i = 0; i < options.fds.size(); ++i) {
        const ChildFd &fd = options.fds[i];
        switch (fd.source) {
        case ChildFd::Source::Null:
            action(posix_spawn_file_actions_addopen(&setup.actions, fd.child, "/dev/null",
                                                    fd.child == 0 ? O_RDONLY : O_WRONLY, 0));
            break;
        case ChildFd::Source::ParentIn:
            action(posix_spawn_file_actions_adddup2(&setup.actions, pipes[i].read, fd.child));
            break;
        case ChildFd::Source::ParentOut:
            action(posix_spawn_file_actions_adddup2(&setup.actions, pipes[i].write, fd.child));
            break;
        case ChildFd::Source::SameAs:
            action(posix_spawn_file_actions_adddup2(&setup.actions, fd.sameAs, fd.child));
            break;
        }
    }
    // Descriptors that libraries opened without close-on-exec (a DVD image, say) stay
    // here: every one the table leaves out above 2 is closed, gaps included.
    for (int fd = STDERR_FILENO + 1; fd < firstFree; ++fd) {
        const bool listed = std::any_of(options.fds.begin(), options.fds.end(),
                                        [fd](const ChildFd &f) { return f.child == fd; });
        if (!listed)
            action(posix_spawn_file_actions_addclose(&setup.actions, fd));
    }
    action(posix_spawn_file_actions_addclosefrom_np(&setup.actions, firstFree));
    if (!options.workDir.empty())
        action(posix_spawn_file_actions_addchdir_np(&setup.actions, options.workDir.c_str()));
    if (actionError != 0) {
        closePipes();
        return fail(startError(named, actionError));
    }

    // Default handling for every signal and nothing blocked: an ignored SIGPIPE or a
    // caught SIGTERM of the parent must not reach the child.
    sigset_t defaults;
    sigfillset(&defaults);
    sigdelset(&defaults, SIGKILL);
    sigdelset(&defaults, SIGSTOP);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setsigmask(&setup.attr, &unblocked);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (options.ownProcessGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&setup.attr, 0);
    }
    posix_spawnattr_setflags(&setup.attr, flags);

    std::vector<char *> args;
    args.reserve(argv.size() + 1);
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    // glibc reports a failed exec (and a failed chdir) as the return value.
    const int rc =
        ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attr, args.data(), environ);
    std::vector<Kept> kept;
    for (size_t i = 0; i < options.fds.size(); ++i) {
        const ChildFd::Source source = options.fds[i].source;
        if (source == ChildFd::Source::ParentIn) {
            closeFd(pipes[i].read);
            kept.push_back({options.fds[i].child, pipes[i].write});
            pipes[i].write = -1;
        } else if (source == ChildFd::Source::ParentOut) {
            closeFd(pipes[i].write);
            kept.push_back({options.fds[i].child, pipes[i].read});
            pipes[i].read = -1;
        }
    }
    if (rc != 0) {
        for (Kept &k : kept)
            closeFd(k.parent);
        return fail(startError(named, rc));
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    m_pid = pid;
    m_ownGroup = options.ownProcessGroup;
    m_kept = std::move(kept);
    m_reaped = false;
    m_exitCode = -1;
    return true;
}

int ChildProcess::parentFd(int childFd) const
{
    for (const Kept &k : m_kept)
        if (k.child == childFd)
            return k.parent;
    return -1;
}

void ChildProcess::closeParentFd(int childFd)
{
    for (Kept &k : m_kept)
        if (k.child == childFd)
            closeFd(k.parent);
}

void ChildProcess::closeParentFds()
{
    for (Kept &k : m_kept)
        closeFd(k.parent);
}

int ChildProcess::waitForEnd()
{
    if (m_pid <= 0)
        return -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_reaped)
            return m_exitCode;
    }
    // Wait without reaping first: while the child is a zombie its number cannot be
    // reused, so a signal sent to the group meanwhile cannot hit a stranger.
    for (;;) {
        siginfo_t info;
        std::memset(&info, 0, sizeof info);
        if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT) == 0 ||
            errno != EINTR)
            break;
    }
    int code = -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_reaped) {
            // Whatever the child left in its group (a helper that would hold the output
            // pipe open and run on unseen) ends with it; while the child is not reaped
            // the group number is still its own.
            if (m_ownGroup)
                ::kill(-m_pid, SIGKILL);
            int status = 0;
            pid_t r;
            do {
                r = ::waitpid(m_pid, &status, 0);
            } while (r < 0 && errno == EINTR);
            m_exitCode = r == m_pid ? exitCodeOf(status) : -1;
            m_reaped = true;
        }
        code = m_exitCode;
    }
    m_changed.notify_all();
    return code;
}

bool ChildProcess::hasEnded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reaped;
}

bool ChildProcess::signal(int sig)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid <= 0 || m_reaped)
        return false;
    if (::kill(m_ownGroup ? -m_pid : m_pid, sig) == 0)
        return true;
    // A child that left its group is still ours until it is reaped.
    return m_ownGroup && errno == ESRCH && ::kill(m_pid, sig) == 0;
}

void ChildProcess::killAfter(std::chrono::milliseconds grace)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid <= 0 || m_reaped || m_killer.joinable())
        return;
    m_killer = std::thread([this, grace] {
        std::unique_lock<std::mutex> lock(m_mutex);
        const bool over = m_changed.wait_for(lock, grace, [this] { return m_reaped || m_closing; });
        if (!over)
            ::kill(m_ownGroup ? -m_pid : m_pid, SIGKILL);
    });
}

} // namespace process
