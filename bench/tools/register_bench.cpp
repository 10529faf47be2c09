// Times register.dat against the same work done by ffmpeg and ffprobe directly:
//   1. converting the 20 s clip (median of several runs; goal: at most 1.03 times ffmpeg)
//   2. probing every clip (median per file; goal: at most half of ffprobe's time)
// Usage: register_bench [RUNS] [CLIPS_DIR] [PROGRAM_DIR]
#include "common/encoderargs.h"
#include "common/ffmpegcommand.h"
#include "process/capturedrun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

double secondsOf(const std::vector<std::string> &argv, bool *ok = nullptr)
{
    const auto start = std::chrono::steady_clock::now();
    const process::CapturedRun run = process::runCaptured(argv, true);
    const auto end = std::chrono::steady_clock::now();
    if (ok)
        *ok = run.started && run.exitCode == 0;
    if (!run.started || run.exitCode != 0)
        std::fprintf(stderr, "failed: %s\n%s%s\n", argv.front().c_str(), run.startError.c_str(),
                     run.out.c_str());
    return std::chrono::duration<double>(end - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string clips = argc > 2 ? argv[2] : MARLO_CLIPS_DIR;
    const std::string programDir = argc > 3 ? argv[3] : MARLO_PROGRAM_DIR;
    const std::string encoder = programDir + "/register.dat";

    if (!fs::exists(clips + "/.done")) {
        const std::string script = std::string(MARLO_SOURCE_DIR) + "/tests/fixtures/make_clips.sh";
        if (process::runCaptured({"bash", script, clips}, true).exitCode != 0) {
            std::fprintf(stderr, "cannot make the clips in %s\n", clips.c_str());
            return 1;
        }
    }
    const fs::path work = fs::temp_directory_path() / "marlo-register-bench";
    fs::create_directories(work);

    // 1. Conversion: the converter's command line against the ffmpeg call it turns into.
    const std::string output = (work / "bench.avi").string();
    const std::vector<std::string> oldArgs = {"-y",      "-i",      clips + "/long_640x480.mp4",
                                              "-r",      "25",      "-b",
                                              "1500000", "-ab",     "128000",
                                              "-ac",     "2",       "-aspect",
                                              "1.3333",  "-s",      "640x480",
                                              "-ar",     "44100",   "-vcodec",
                                              "mpeg4",   "-acodec", "libmp3lame",
                                              "-sn",     output};
    std::vector<std::string> wrapped{encoder};
    wrapped.insert(wrapped.end(), oldArgs.begin(), oldArgs.end());
    std::vector<std::string> direct =
        tools::FfmpegCommand::build(*tools::EncoderArgs::parse(oldArgs)).argv;
    const auto progress = std::find(direct.begin(), direct.end(), "-progress");
    if (progress != direct.end())
        direct.erase(progress, progress + 2);

    std::vector<double> wrappedTimes, directTimes;
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that warm caches and clock changes fall on both alike.
        directTimes.push_back(secondsOf(direct));
        wrappedTimes.push_back(secondsOf(wrapped));
    }
    const double convertRatio = median(wrappedTimes) / median(directTimes);
    std::printf("conversion of the 20 s clip: register.dat %.3f s, ffmpeg %.3f s, ratio %.3f "
                "(goal <= 1.03) %s\n",
                median(wrappedTimes), median(directTimes), convertRatio,
                convertRatio <= 1.03 ? "met" : "MISSED");

    // 2. Probe of every clip.
    double probeTotal = 0, ffprobeTotal = 0;
    int files = 0;
    for (const auto &entry : fs::directory_iterator(clips)) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.front() == '.' || name == "broken.avi")
            continue;
        std::vector<double> mine, theirs;
        for (int i = 0; i < runs; ++i) {
            mine.push_back(secondsOf({encoder, "-i", path}));
            theirs.push_back(secondsOf({"ffprobe", "-hide_banner", "-i", "file:" + path}));
        }
        probeTotal += median(mine);
        ffprobeTotal += median(theirs);
        ++files;
    }
    const double probeRatio = ffprobeTotal > 0 ? probeTotal / ffprobeTotal : 0;
    std::printf("probe of %d files: register.dat %.1f ms a file, ffprobe %.1f ms a file, ratio "
                "%.3f (goal <= 0.5) %s\n",
                files, files ? 1000 * probeTotal / files : 0.0,
                files ? 1000 * ffprobeTotal / files : 0.0, probeRatio,
                probeRatio <= 0.5 ? "met" : "MISSED");

    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
