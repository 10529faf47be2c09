#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tools
{

struct ProbeStream {
    enum class Kind { Video, Audio, Subtitle, Data };
    int index = 0;
    Kind kind = Kind::Data;
    std::string codec;   // plain codec name ("mpeg4", "h264", "mp2")
    std::string encoder; // an encoder of the same codec, empty when there is none
    std::string pixelFormat;
    int width = 0;
    int height = 0;
    int sarNum = 0; // 0: unknown
    int sarDen = 0;
    long long bitRate = 0; // bit/s, stored or measured from the first seconds; 0: unknown
    double frameRate = 0;
    int sampleRate = 0;
    int channels = 0;
    std::string channelLayout;
};

struct ProbeInfo {
    std::string formatName;
    long long durationUs = -1; // -1: unknown
    long long startUs = 0;
    long long bitRate = 0; // overall bit/s; 0: unknown
    long long fileSize = -1;
    std::vector<ProbeStream> streams; // attached pictures (cover art) are left out
};

// The probe report in the layout the converter parses: "Duration:" with an eight-character
// time, an integer overall "bitrate:", and stream lines whose comma-separated fields sit
// where its parse rules look. Every line ends in CR LF.
class ProbeWriter
{
public:
    // Reads the file with libavformat. On failure the message says why.
    static std::optional<ProbeInfo> read(const std::string &path, std::string *error = nullptr);

    static std::string format(const ProbeInfo &info);

    // The overall rate in kb/s the report shows: the container's, else size over duration,
    // else the sum of the streams.
    static long long overallKbps(const ProbeInfo &info);
};

} // namespace tools
