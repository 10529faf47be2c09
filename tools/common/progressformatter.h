#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tools
{

// One block of ffmpeg's -progress output, as far as the old progress line needs it.
struct ProgressSnapshot {
    std::optional<long long> frame; // absent for outputs without video
    double fps = 0;
    double quality = 0;
    long long totalBytes = -1; // -1: unknown
    long long outTimeUs = 0;   // never negative
    double bitrateKbps = -1;   // -1: unknown
    bool end = false;          // progress=end: the last block
};

// Collects ffmpeg's "-progress" key=value lines (in pieces of any size) and turns each
// complete block into the old console line:
// "frame=  100 fps= 25 q=2.0 size=     512kB time=4.00 bitrate= 512.0kbits/s".
class ProgressFormatter
{
public:
    // Returns the snapshots of the blocks completed by this piece.
    std::vector<ProgressSnapshot> feed(const std::string &piece);

    // The old line, without its line end. sizeOverride replaces the byte count (the AMR route
    // writes the file itself, so ffmpeg's count is of the raw samples).
    static std::string format(const ProgressSnapshot &snapshot, long long sizeOverride = -1);

private:
    void takeLine(const std::string &line, std::vector<ProgressSnapshot> &done);

    std::string m_pending;
    ProgressSnapshot m_current;
};

} // namespace tools
