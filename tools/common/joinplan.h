#pragma once

#include <string>
#include <vector>

namespace tools
{

// How the merge tool joins files of one container without breaking them.
enum class JoinRoute {
    ConcatCopy,      // ffmpeg's concat demuxer, streams copied
    TransportStream, // mp4 family: each part remuxed to MPEG-TS, then joined and remuxed back
    DvdCopy,         // concat demuxer, copied, written with NAV packs
    Reencode,        // stream copy breaks the container (rm, swf): concat demuxer, re-encoded
};

class JoinPlan
{
public:
    static JoinRoute routeFor(const std::string &extension);

    // A path as a quoted token of ffmpeg's concat list: 'it'\''s' for it's.
    static std::string quoted(const std::string &path);
    // The whole list file for the concat demuxer (paths must be listable).
    static std::string listFile(const std::vector<std::string> &paths);
    static bool listable(const std::string &path);
};

} // namespace tools
