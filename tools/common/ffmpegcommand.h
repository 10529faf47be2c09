#pragma once

#include "common/encoderargs.h"

#include <string>
#include <vector>

namespace tools
{

// How a DVD sector stream is handed to ffmpeg; inactive for file inputs.
struct DvdStreamPlan {
    bool active = false;
    std::string audioMap;    // "0:i:0x80", "0:a:0?" for the first audio stream, empty for none
    std::string subtitleMap; // "0:i:0x21" to burn in, empty for none
    long long probeSize = 0; // bytes ffmpeg must read before it has seen every chosen stream
};

struct FfmpegPlan {
    std::vector<std::string> argv; // starts with the program
    bool amrOutput = false;        // ffmpeg writes 8000 Hz mono s16le to its standard output
    int amrBitrate = 12200;
    std::vector<std::string> notes; // obsolete options that were dropped, for the console
};

// Turns the converter's FFmpeg-style options into a call of a current ffmpeg. Later options
// still override earlier ones, as with the old encoder.
class FfmpegCommand
{
public:
    static FfmpegPlan build(const EncoderArgs &args, const DvdStreamPlan &dvd = {},
                            const std::string &program = "ffmpeg");

    // Current encoder name for a codec name the old encoder knew.
    static std::string modernCodec(const std::string &name, bool audio);
    // True for extensions whose format carries sound only.
    static bool isAudioOnlyExtension(const std::string &extension);
    // Paths go to ffmpeg with an explicit protocol, so "-x.avi" or "a:b.avi" stay file names.
    static std::string fileUrl(const std::string &path);
    // Old x264 preset names become today's -preset or -profile:v.
    static std::vector<std::string> presetOptions(const std::string &name);
};

} // namespace tools
