#include "platform/pendingoutput.h"

bool PendingOutput::append(const char *data, qsizetype size)
{
    if (size <= 0)
        return true;
    bool kept = true;
    while (m_bytes.size() + size > m_capacity && m_capacity <= kLastDoubling)
        m_capacity *= 2;
    if (m_bytes.size() + size > m_capacity) {
        m_bytes.clear();
        kept = false;
        // Only a piece larger than the whole buffer gets here still not fitting:
        // its newest bytes are the ones worth keeping.
        if (size > m_capacity) {
            data += size - m_capacity;
            size = m_capacity;
        }
    }
    m_bytes.append(data, size);
    return kept;
}

QByteArray PendingOutput::takeAll()
{
    QByteArray taken;
    taken.swap(m_bytes);
    return taken;
}
