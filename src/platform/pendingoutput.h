#pragma once

#include <QByteArray>

// The console output that the reader thread has collected and the
// user-interface thread has not yet taken. It starts at 1024 bytes and doubles
// when a piece does not fit, as long as it holds 65536 bytes or less; once it is
// larger, a piece that does not fit throws the waiting output away and collection
// starts afresh. So a blocked user-interface thread never lets more than 128 KiB
// pile up. Not thread-safe by itself: the runner guards it with its one lock.
class PendingOutput
{
public:
    static constexpr qsizetype kInitialCapacity = 1024;
    static constexpr qsizetype kLastDoubling = 65536;

    // Returns false when output was thrown away to make room for the piece.
    bool append(const char *data, qsizetype size);
    // Everything waiting, oldest first; the buffer is empty afterwards.
    QByteArray takeAll();

    qsizetype size() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    qsizetype capacity() const { return m_capacity; }

private:
    QByteArray m_bytes;
    qsizetype m_capacity = kInitialCapacity;
};
