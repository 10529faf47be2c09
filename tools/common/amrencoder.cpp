#include "common/amrencoder.h"

#include <cstring>

#include <opencore-amrnb/interf_enc.h>

namespace tools
{

namespace
{

constexpr size_t kFrameSamples = 160;
constexpr size_t kFrameBytes = kFrameSamples * 2;

} // namespace

AmrEncoder::AmrEncoder(int bitrate) : m_state(Encoder_Interface_init(0)), m_mode(modeFor(bitrate))
{
}

AmrEncoder::~AmrEncoder()
{
    if (m_state)
        Encoder_Interface_exit(m_state);
}

int AmrEncoder::modeFor(int bitrate)
{
    static const int kRates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
    int mode = MR475;
    for (int i = 0; i < 8; ++i) {
        if (bitrate >= kRates[i])
            mode = i;
    }
    return mode;
}

std::string AmrEncoder::encodeFrame(const short *samples)
{
    unsigned char frame[64];
    const int size =
        Encoder_Interface_Encode(m_state, static_cast<Mode>(m_mode), samples, frame, 0);
    if (size <= 0)
        return {};
    return std::string(reinterpret_cast<const char *>(frame), static_cast<size_t>(size));
}

std::string AmrEncoder::feed(const char *data, size_t size)
{
    std::string frames;
    if (!m_state)
        return frames;
    m_pending.append(data, size);
    size_t used = 0;
    short samples[kFrameSamples];
    while (m_pending.size() - used >= kFrameBytes) {
        std::memcpy(samples, m_pending.data() + used, kFrameBytes);
        frames += encodeFrame(samples);
        used += kFrameBytes;
    }
    m_pending.erase(0, used);
    return frames;
}

std::string AmrEncoder::finish()
{
    if (!m_state || m_pending.empty())
        return {};
    short samples[kFrameSamples] = {};
    std::memcpy(samples, m_pending.data(), m_pending.size() & ~static_cast<size_t>(1));
    m_pending.clear();
    return encodeFrame(samples);
}

} // namespace tools
