#include "childprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

QString systemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString startError(const QString &program, int err)
{
    return QStringLiteral("Cannot start \"%1\": %2").arg(program, systemText(err));
}

// Descriptors 0 to 2 must exist before pipes are made: a pipe that took one of
// their numbers would be the very descriptor the child's dup2 has to replace.
void ensureStandardFds()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int fd = 0; fd <= 2; ++fd) {
            if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
                ::open("/dev/null", O_RDWR); // takes the lowest free number: fd
        }
    });
}

void closeFd(int &fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
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

ChildProcess::~ChildProcess()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_killer.joinable())
        m_killer.join();
    if (m_pid > 0 && !hasEnded()) {
        signalGroup(SIGKILL);
        waitForEnd();
    }
    closeFds();
}

bool ChildProcess::start(const QStringList &argv, const QString &workDir, ChildInput input,
                         QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_pid > 0)
        return fail(QStringLiteral("A program is already running"));
    if (argv.isEmpty() || argv.first().isEmpty())
        return fail(QStringLiteral("Cannot start a program without a name"));

    const QString &named = argv.first();
    QString program = named;
    if (!program.contains(QLatin1Char('/'))) {
        program = QStandardPaths::findExecutable(named);
        if (program.isEmpty())
            return fail(startError(named, ENOENT));
    } else if (QFileInfo(program).isRelative()) {
        // The child changes folder before the program is looked up.
        program = QFileInfo(program).absoluteFilePath();
    }
    if (!workDir.isEmpty() && !QFileInfo(workDir).isDir()) {
        return fail(QStringLiteral("Cannot start \"%1\" in \"%2\": %3")
                        .arg(named, workDir, systemText(ENOENT)));
    }

    ensureStandardFds();
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    if (::pipe2(in, O_CLOEXEC) != 0)
        return fail(startError(named, errno));
    if (::pipe2(out, O_CLOEXEC) != 0) {
        const int err = errno;
        closeFd(in[0]);
        closeFd(in[1]);
        return fail(startError(named, err));
    }

    // The byte forms must outlive the spawn call: argvPtrs points into them.
    const QByteArray programBytes = QFile::encodeName(program);
    const QByteArray dirBytes = QFile::encodeName(workDir);
    std::vector<QByteArray> argBytes;
    argBytes.reserve(argv.size());
    for (const QString &arg : argv)
        argBytes.push_back(QFile::encodeName(arg));
    std::vector<char *> argvPtrs;
    argvPtrs.reserve(argBytes.size() + 1);
    for (QByteArray &bytes : argBytes)
        argvPtrs.push_back(bytes.data());
    argvPtrs.push_back(nullptr);

    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, out[1], STDERR_FILENO);
    if (!workDir.isEmpty())
        posix_spawn_file_actions_addchdir_np(&setup.actions, dirBytes.constData());
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);

    // The child starts with default signal handling and nothing blocked, whatever
    // the program did to its own (an ignored SIGPIPE or SIGTERM would be inherited).
    sigset_t defaults;
    sigfillset(&defaults);
    sigdelset(&defaults, SIGKILL);
    sigdelset(&defaults, SIGSTOP);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setsigmask(&setup.attr, &unblocked);
    posix_spawnattr_setpgroup(&setup.attr, 0);
    posix_spawnattr_setflags(
        &setup.attr,
        static_cast<short>(POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK));

    pid_t pid = -1;
    // glibc reports a failed exec (and a failed chdir) as the return value.
    const int rc = ::posix_spawn(&pid, programBytes.constData(), &setup.actions, &setup.attr,
                                 argvPtrs.data(), environ);
    closeFd(in[0]);
    closeFd(out[1]);
    if (rc != 0) {
        closeFd(in[1]);
        closeFd(out[0]);
        return fail(startError(named, rc));
    }

    m_pid = pid;
    m_output = out[0];
    m_input = in[1];
    if (input == ChildInput::Closed)
        closeFd(m_input);
    return true;
}

void ChildProcess::closeInput()
{
    closeFd(m_input);
}

int ChildProcess::waitForEnd()
{
    if (m_pid <= 0)
        return -1;
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
            int status = 0;
            pid_t r;
            do {
                r = ::waitpid(m_pid, &status, 0);
            } while (r < 0 && errno == EINTR);
            if (r == m_pid)
                code = exitCodeOf(status);
            m_reaped = true;
        }
    }
    m_changed.notify_all();
    return code;
}

bool ChildProcess::hasEnded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reaped;
}

bool ChildProcess::signalGroup(int sig)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid <= 0 || m_reaped)
        return false;
    return ::kill(-m_pid, sig) == 0;
}

void ChildProcess::killGroupAfter(std::chrono::milliseconds grace)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pid <= 0 || m_reaped || m_killer.joinable())
        return;
    m_killer = std::thread([this, grace] {
        std::unique_lock<std::mutex> lock(m_mutex);
        const bool over = m_changed.wait_for(lock, grace, [this] { return m_reaped || m_closing; });
        if (!over)
            ::kill(-m_pid, SIGKILL);
    });
}

void ChildProcess::closeFds()
{
    closeFd(m_input);
    closeFd(m_output);
}

Waker::Waker() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

Waker::~Waker()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void Waker::wake()
{
    const std::uint64_t one = 1;
    if (m_fd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
    }
}

void Waker::clear()
{
    std::uint64_t count = 0;
    if (m_fd >= 0) {
        [[maybe_unused]] const ssize_t n = ::read(m_fd, &count, sizeof count);
    }
}

ReadEnd readPieces(int fd, Waker &waker, const std::atomic<bool> &stop,
                   const std::atomic<bool> &childEnded, qsizetype pieceSize,
                   const std::function<void(const char *, qsizetype)> &sink)
{
    std::vector<char> buffer(static_cast<size_t>(std::max<qsizetype>(pieceSize, 1)));
    for (;;) {
        if (stop.load())
            return ReadEnd::Stopped;
        pollfd fds[2] = {{fd, POLLIN, 0}, {waker.fd(), POLLIN, 0}};
        const int timeout = childEnded.load() ? static_cast<int>(kQuietAfterEnd.count()) : -1;
        const int ready = ::poll(fds, waker.fd() >= 0 ? 2 : 1, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return ReadEnd::Failed;
        }
        if (ready == 0)
            return ReadEnd::Quiet;
        if (fds[1].revents != 0)
            waker.clear();
        if (fds[0].revents == 0)
            continue;
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0)
            sink(buffer.data(), static_cast<qsizetype>(n));
        else if (n == 0)
            return ReadEnd::EndOfOutput;
        else if (errno != EINTR && errno != EAGAIN)
            return ReadEnd::Failed;
    }
}

void lowerThreadPriority()
{
    const id_t self = static_cast<id_t>(::gettid());
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, self);
    if (now == -1 && errno != 0)
        return;
    ::setpriority(PRIO_PROCESS, self, std::min(now + 5, 19));
}
