#include "process/fdio.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace process
{

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

bool writeAll(int fd, std::string_view text)
{
    return writeAll(fd, text.data(), text.size());
}

bool readPiece(int fd, std::string &piece)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            piece.assign(buffer, static_cast<size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        piece.clear();
        return false;
    }
}

bool pathExists(const std::string &path)
{
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0;
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
                   const std::atomic<bool> &childEnded, size_t pieceSize,
                   const std::function<void(const char *, size_t)> &sink)
{
    std::vector<char> buffer(std::max<size_t>(pieceSize, 1));
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
            sink(buffer.data(), static_cast<size_t>(n));
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

} // namespace process
