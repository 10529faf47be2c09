#pragma once

#include "process/capturedrun.h"

#include <optional>
#include <string>
#include <vector>

// Helpers shared by the tests of register.dat and join.dll.
namespace toolsupport
{

std::string programDir();
std::string clipsDir();
std::string clip(const std::string &name);
std::string dvdDir();
std::string toolPath(const std::string &name); // register.dat, join.dll

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir
{
public:
    explicit TempDir(const std::string &prefix = "marlo-tools");
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

process::CapturedRun runTool(const std::string &tool, const std::vector<std::string> &args);

struct MediaSummary {
    std::string format;
    int videoStreams = 0;
    int audioStreams = 0;
    int dataStreams = 0;
    int width = 0;
    int height = 0;
    std::string videoCodec;
    std::string audioCodec;
    std::string pixelFormat;
    double durationSeconds = 0;
    int decodedVideoFrames = 0;
    int decodedAudioFrames = 0;
};

// Opens the file with libavformat and decodes the first packets of every stream.
std::optional<MediaSummary> inspectMedia(const std::string &path, std::string *error = nullptr);

// The frequency of the tone in the first audio stream, counted from zero crossings.
double toneFrequency(const std::string &path);

// One small grey picture of the video at the given second, for comparing frames.
std::vector<unsigned char> greyFrameAt(const std::string &path, double seconds);

bool fileExists(const std::string &path);
long long fileSize(const std::string &path);
std::string readFile(const std::string &path);
void copyFile(const std::string &from, const std::string &to);
std::vector<std::string> listDir(const std::string &path);

// The converter's reading of a probe report (its parse rules), to check the fields land
// where it looks for them.
struct LegacyProbe {
    std::string duration;
    std::string bitrate;
    std::string videoBitrate;
    std::string audioBitrate;
    std::string size;
    std::string videoFormat;
    std::string frameRate;
    std::string audioFormat;
    std::string sampleRate;
    std::string channels;
};
LegacyProbe parseLegacyProbe(const std::string &report);

// The converter's reading of a progress line: whole seconds of "time=", 0 when unreadable.
long long legacyProgressSeconds(const std::string &line);

} // namespace toolsupport
