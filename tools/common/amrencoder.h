#pragma once

#include <string>

namespace tools
{

// AMR-NB with libopencore-amrnb: 8000 Hz mono 16-bit samples in, 20 ms frames out. Debian's
// ffmpeg has no AMR-NB encoder, so .amr outputs are encoded here.
class AmrEncoder
{
public:
    explicit AmrEncoder(int bitrate);
    ~AmrEncoder();
    AmrEncoder(const AmrEncoder &) = delete;
    AmrEncoder &operator=(const AmrEncoder &) = delete;

    bool valid() const { return m_state != nullptr; }

    // The file header of single-channel AMR-NB.
    static std::string fileHeader() { return "#!AMR\n"; }
    // The highest mode whose rate does not exceed the bit rate (4750 at the least).
    static int modeFor(int bitrate);

    // Raw little-endian samples in any amount; the frames completed by them.
    std::string feed(const char *data, size_t size);
    // The last partial frame, padded with silence.
    std::string finish();

private:
    std::string encodeFrame(const short *samples);

    void *m_state = nullptr;
    int m_mode = 7;
    std::string m_pending;
};

} // namespace tools
