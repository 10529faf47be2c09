#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace process
{

// Writes all of the buffer, retrying after signals; false when the descriptor failed.
bool writeAll(int fd, const void *data, size_t size);
bool writeAll(int fd, std::string_view text);

// Replaces piece with what one read returns (up to 64 KiB), retrying after signals;
// false at end of file or on an error.
bool readPiece(int fd, std::string &piece);

// Something is there under the path: a file, a folder, a dangling link.
bool pathExists(const std::string &path);

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

// How long a reader keeps listening after the child has ended: a helper the child
// left behind may still hold the pipe open, and must not hang the run.
inline constexpr std::chrono::milliseconds kQuietAfterEnd{2000};

// Reads fd in pieces of up to pieceSize bytes and hands each to sink, until end of
// file, until stop is set and the waker woken, or until kQuietAfterEnd has passed
// without output once childEnded is set (the waker must be woken then too).
ReadEnd readPieces(int fd, Waker &waker, const std::atomic<bool> &stop,
                   const std::atomic<bool> &childEnded, size_t pieceSize,
                   const std::function<void(const char *, size_t)> &sink);

// Lowers the calling thread's scheduling priority a little; best effort.
void lowerThreadPriority();

} // namespace process
