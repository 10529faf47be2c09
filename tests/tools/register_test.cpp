// register.dat end to end: the built program on the generated clips.
#include "tools/toolsupport.h"

#include "process/childprocess.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <poll.h>
#include <regex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

using namespace toolsupport;

namespace
{

std::vector<std::string> segments(const std::string &output)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : output) {
        if (c == '\r' || c == '\n') {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

// Every progress line in the old form; returns the last time the converter would read.
long long checkProgress(const std::string &output)
{
    static const std::regex line(R"(^(frame= *\d+ fps= *\d+ q=-?\d+\.\d )?)"
                                 R"(size= *\d+kB time=\d+\.\d\d bitrate= *\d+\.\dkbits/s$)");
    long long seconds = -1;
    for (const std::string &segment : segments(output)) {
        EXPECT_TRUE(std::regex_match(segment, line)) << "[" << segment << "]";
        seconds = legacyProgressSeconds(segment);
    }
    return seconds;
}

// The converter's command line for a file row, as argument vector.
std::vector<std::string> convertArgs(const std::string &input, const std::string &output,
                                     const std::vector<std::string> &options = {})
{
    std::vector<std::string> args = {"-y",     "-i",  input,     "-r",  "25",   "-b",
                                     "600000", "-ab", "128000",  "-ac", "2",    "-aspect",
                                     "1.3333", "-s",  "320x240", "-ar", "44100"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"-sn", output});
    return args;
}

bool endsEveryLineWithCrLf(const std::string &report)
{
    for (size_t at = report.find('\n'); at != std::string::npos; at = report.find('\n', at + 1)) {
        if (at == 0 || report[at - 1] != '\r')
            return false;
    }
    return !report.empty() && report.back() == '\n';
}

} // namespace

TEST(RegisterProbe, ReportsEveryReadableClipInTheOldLayout)
{
    struct Case {
        std::string file;
        std::string videoFormat; // empty: no video line
        std::string size;
        std::string audioFormat; // empty: no audio line
        std::string duration;
    };
    const Case cases[] = {
        {"clip.avi", "mpeg4", "320x240", "mp3", "00:00:03"},
        {"clip.mp4", "h264", "320x240", "aac", "00:00:03"},
        {"clip.mpg", "mpeg1video", "320x240", "mp2", "00:00:03"},
        {"video_only.mkv", "mpeg4", "320x240", "", "00:00:02"},
        {"audio_only.mp3", "", "", "mp3", "00:00:03"},
        {"cover_art.mp3", "", "", "mp3", "00:00:03"}, // the picture is no video
        {"odd_322x242.avi", "mpeg4", "322x242", "mp3", "00:00:02"},
        {"clip.mkv", "h264", "320x240", "aac", "00:00:06"},
        {"clip.ogv", "theora", "320x240", "vorbis", "00:00:06"},
        {"short.mkv", "mpeg4", "320x240", "aac", "00:00:00"},
        {"rgb.mov", "qtrle", "160x120", "", "00:00:02"},
        {"clip with blanks.avi", "mpeg4", "320x240", "mp3", "00:00:03"},
        {"quote\"d.mp4", "h264", "320x240", "aac", "00:00:03"},
        {"back\\slash.avi", "mpeg4", "320x240", "mp3", "00:00:03"},
        {"-dash.avi", "mpeg4", "320x240", "mp3", "00:00:03"},
        {"ünïcødé 映像.mpg", "mpeg1video", "320x240", "mp2", "00:00:03"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const auto run = runTool("register.dat", {"-i", clip(c.file)});
        ASSERT_TRUE(run.started) << run.startError;
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(endsEveryLineWithCrLf(run.out)) << run.out;
        const LegacyProbe probe = parseLegacyProbe(run.out);
        EXPECT_EQ(probe.duration, c.duration) << run.out;
        // The converter skips a file whose overall rate is no integer.
        ASSERT_FALSE(probe.bitrate.empty()) << run.out;
        EXPECT_EQ(probe.bitrate.find_first_not_of("0123456789"), std::string::npos) << run.out;
        EXPECT_GT(std::stoll(probe.bitrate), 0);
        EXPECT_EQ(probe.videoFormat, c.videoFormat) << run.out;
        EXPECT_EQ(probe.size, c.size) << run.out;
        EXPECT_EQ(probe.audioFormat, c.audioFormat) << run.out;
        if (!c.videoFormat.empty()) {
            EXPECT_EQ(probe.videoBitrate.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_LT(std::stoll(probe.videoBitrate), 100000) << run.out;
            EXPECT_NE(probe.frameRate.find("25.00"), std::string::npos) << run.out;
        }
        if (!c.audioFormat.empty()) {
            EXPECT_EQ(probe.sampleRate, " 44100 Hz");
            EXPECT_EQ(probe.channels, " stereo");
        }
    }
}

namespace
{

struct StreamRate {
    long long storedKbps = 0; // what the header says
    double packetKbps = 0;    // the packets of the whole file over the time they span
};

// The first video and the first audio stream of a file, read to the end the way ffprobe's
// packet list adds up.
struct FileRates {
    StreamRate video;
    StreamRate audio;
};

FileRates wholeFileRates(const std::string &path)
{
    FileRates rates;
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *context = nullptr;
    const std::string url = "file:" + path;
    if (avformat_open_input(&context, url.c_str(), nullptr, nullptr) < 0)
        return rates;
    if (avformat_find_stream_info(context, nullptr) < 0) {
        avformat_close_input(&context);
        return rates;
    }
    struct Span {
        StreamRate *rate = nullptr;
        long long bytes = 0;
        double first = HUGE_VAL;
        double end = -HUGE_VAL;
    };
    std::vector<Span> spans(context->nb_streams);
    bool video = false;
    bool audio = false;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters *par = context->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !video) {
            video = true;
            spans[i].rate = &rates.video;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && !audio) {
            audio = true;
            spans[i].rate = &rates.audio;
        }
        if (spans[i].rate)
            spans[i].rate->storedKbps = par->bit_rate / 1000;
    }
    AVPacket *packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        Span &span = spans[static_cast<size_t>(packet->stream_index)];
        const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (span.rate)
            span.bytes += packet->size;
        if (span.rate && stamp != AV_NOPTS_VALUE) {
            const double unit = av_q2d(context->streams[packet->stream_index]->time_base);
            span.first = std::min(span.first, stamp * unit);
            span.end = std::max(span.end, (stamp + packet->duration) * unit);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    for (const Span &span : spans) {
        if (span.rate && span.end > span.first)
            span.rate->packetKbps = span.bytes * 8 / (span.end - span.first) / 1000;
    }
    return rates;
}

} // namespace

TEST(RegisterProbe, ShowsEveryStreamsStoredRateElseOneMeasuredFromItsPackets)
{
    enum class Rate {
        Stored,
        Measured,
        None, // audio: no rate; video: what the audio leaves of the whole
    };
    struct Case {
        std::string file;
        Rate video;
        Rate audio;
    };
    const Case cases[] = {
        {"clip.mkv", Rate::Measured, Rate::Measured},
        {"clip.webm", Rate::Measured, Rate::Measured},
        // The Vorbis header's rate is kept, though a sine tone needs far less.
        {"clip.ogv", Rate::Measured, Rate::Stored},
        {"video_only.mkv", Rate::Measured, Rate::None},
        // MPEG-1 video states its maximum, which is no measurement.
        {"clip.mpg", Rate::Measured, Rate::Stored},
        {"clip.mp4", Rate::Stored, Rate::Stored},
        {"clip.avi", Rate::Stored, Rate::Stored},
        {"short.mkv", Rate::None, Rate::None},
    };
    for (const Case &c : cases) {
        const auto run = runTool("register.dat", {"-i", clip(c.file)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        SCOPED_TRACE(c.file + "\n" + run.out);
        const LegacyProbe probe = parseLegacyProbe(run.out);
        const FileRates rates = wholeFileRates(clip(c.file));
        const struct {
            Rate expected;
            const StreamRate &file;
            const std::string &shown;
            bool video;
        } streams[] = {{c.video, rates.video, probe.videoBitrate, true},
                       {c.audio, rates.audio, probe.audioBitrate, false}};
        for (const auto &stream : streams) {
            SCOPED_TRACE(stream.video ? "video" : "audio");
            switch (stream.expected) {
            case Rate::Stored:
                ASSERT_GT(stream.file.storedKbps, 0);
                EXPECT_EQ(stream.shown, std::to_string(stream.file.storedKbps));
                break;
            case Rate::Measured:
                ASSERT_GT(stream.file.packetKbps, 0);
                ASSERT_FALSE(stream.shown.empty());
                EXPECT_NEAR(std::stod(stream.shown), stream.file.packetKbps,
                            stream.file.packetKbps * 0.25);
                break;
            case Rate::None:
                EXPECT_EQ(stream.shown, stream.video ? probe.bitrate : "");
                break;
            }
        }
    }
}

TEST(RegisterProbe, UnreadableInputGivesOneErrorLineAndNoReport)
{
    for (const std::string &path : {clip("broken.avi"), clip("no such file.avi"), clipsDir()}) {
        SCOPED_TRACE(path);
        const auto run = runTool("register.dat", {"-i", path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out.find("Duration:"), std::string::npos);
        EXPECT_EQ(run.err.find("Duration:"), std::string::npos);
        EXPECT_EQ(segments(run.err).size(), 1u) << run.err;
    }
}

TEST(RegisterConvert, ConvertsToTheContainerOfTheExtension)
{
    struct Case {
        std::string input;
        std::string output;
        std::vector<std::string> options;
        std::string format;
        bool video;
    };
    const Case cases[] = {
        {"clip.avi", "out.mp4", {}, "mov,mp4,m4a,3gp,3g2,mj2", true},
        {"clip with blanks.avi",
         "out with blanks.avi",
         {"-vcodec", "mpeg4", "-vtag", "DIVX"},
         "avi",
         true},
        {"quote\"d.mp4", "quote\"d out.mkv", {}, "matroska,webm", true},
        {"-dash.avi", "-dash out.flv", {}, "flv", true},
        {"ünïcødé 映像.mpg", "ünïcødé out.mpg", {}, "mpeg", true},
        {"back\\slash.avi",
         "back\\slash.wmv",
         {"-vcodec", "wmv2", "-acodec", "wmav2"},
         "asf",
         true},
        {"audio_only.mp3", "sound.wav", {}, "wav", false},
        {"clip.mp4", "sound.mp3", {}, "mp3", false},
        {"clip.avi", "disc.vob", {}, "mpeg", true},
        {"clip.avi", "upper.MP4", {"-vcodec", "libx264"}, "mov,mp4,m4a,3gp,3g2,mj2", true},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.output);
        const std::string output = dir.file(c.output);
        const auto run = runTool("register.dat", convertArgs(clip(c.input), output, c.options));
        ASSERT_TRUE(run.started) << run.startError;
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_GE(checkProgress(run.out), 1) << run.out;
        std::string error;
        const auto media = inspectMedia(output, &error);
        ASSERT_TRUE(media) << error;
        EXPECT_EQ(media->format, c.format);
        EXPECT_EQ(media->videoStreams > 0, c.video);
        EXPECT_EQ(media->audioStreams, 1);
        EXPECT_GT(media->decodedAudioFrames, 0);
        if (c.video) {
            EXPECT_EQ(media->width, 320);
            EXPECT_EQ(media->height, 240);
            EXPECT_GT(media->decodedVideoFrames, 0);
        }
    }
}

TEST(RegisterConvert, VobOutputCarriesNavPacks)
{
    TempDir dir;
    const auto run = runTool("register.dat", convertArgs(clip("clip.avi"), dir.file("a.vob")));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string vob = readFile(dir.file("a.vob"));
    // A NAV pack holds a private stream 2 packet (00 00 01 BF) right after its system header.
    EXPECT_NE(vob.find(std::string("\x00\x00\x01\xbf", 4)), std::string::npos);
}

TEST(RegisterConvert, RgbSourcesGivePlayableYuv420Outputs)
{
    TempDir dir;
    const std::string output = dir.file("rgb.mp4");
    const auto run =
        runTool("register.dat", convertArgs(clip("rgb.mov"), output, {"-vcodec", "libx264"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto media = inspectMedia(output);
    ASSERT_TRUE(media);
    EXPECT_EQ(media->pixelFormat, "yuv420p");
}

TEST(RegisterConvert, AmrOutputIsEncodedWithOpenCore)
{
    TempDir dir;
    const std::string output = dir.file("voice.amr");
    const auto run = runTool("register.dat", {"-y", "-i", clip("clip.mp4"), "-ab", "12200", "-ac",
                                              "1", "-ar", "8000", "-sn", output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(checkProgress(run.out), 2) << run.out;
    EXPECT_EQ(readFile(output).substr(0, 6), "#!AMR\n");
    const auto media = inspectMedia(output);
    ASSERT_TRUE(media);
    EXPECT_EQ(media->format, "amr");
    EXPECT_EQ(media->audioCodec, "amr_nb");
    EXPECT_GT(media->decodedAudioFrames, 100); // 3 s of 20 ms frames
    // 3 s of 32-byte frames and the header.
    EXPECT_NEAR(static_cast<double>(fileSize(output)), 6 + 150 * 32, 4 * 32);
}

TEST(RegisterConvert, NeverOverwritesTheInputOrAnExistingOutput)
{
    TempDir dir;
    const std::string source = dir.file("source.avi");
    copyFile(clip("clip.avi"), source);
    const std::string original = readFile(source);

    // The output is the input itself, also under another spelling of its path.
    for (const std::string &output : {source, dir.path() + "/./source.avi"}) {
        const auto run = runTool("register.dat", convertArgs(source, output));
        EXPECT_NE(run.exitCode, 0);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(readFile(source), original);
    }

    // Without -y an existing output stays as it was.
    const std::string existing = dir.file("existing.mp4");
    copyFile(clip("clip.mp4"), existing);
    const std::string before = readFile(existing);
    const auto run = runTool("register.dat", {"-i", source, "-s", "160x120", "-sn", existing});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("exists"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(existing), before);
}

TEST(RegisterConvert, BadInputsFailWithAMessage)
{
    TempDir dir;
    struct Case {
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {convertArgs(clip("broken.avi"), dir.file("a.mp4"))},
        {convertArgs(clip("missing.avi"), dir.file("b.mp4"))},
        {convertArgs(clip("clip.avi"), dir.file("no folder/c.mp4"))},
        {convertArgs(clip("clip.avi"), dir.file("d.unknownextension"))},
        {{"-y", "-i", clip("clip.avi"), "-vcodec", "no_such_codec", dir.file("e.avi")}},
        {{"-i"}},
    };
    for (const Case &c : cases) {
        const auto run = runTool("register.dat", c.args);
        ASSERT_TRUE(run.started);
        EXPECT_GT(run.exitCode, 0);
        EXPECT_LT(run.exitCode, 128) << "killed by a signal";
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(RegisterConvert, MissingFfmpegIsReportedByName)
{
    TempDir empty;
    const char *path = std::getenv("PATH");
    const std::string savedPath = path ? path : "";
    ::setenv("PATH", empty.path().c_str(), 1);
    const auto run = runTool("register.dat", convertArgs(clip("clip.avi"), empty.file("a.mp4")));
    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("ffmpeg"), std::string::npos) << run.err;
}

namespace
{

// register.dat in its own process group, as the converter runs it, with its output read
// as it comes.
class GroupRun
{
public:
    explicit GroupRun(const std::vector<std::string> &args)
    {
        std::vector<std::string> argv{toolPath("register.dat")};
        argv.insert(argv.end(), args.begin(), args.end());
        using Source = process::ChildFd::Source;
        process::SpawnOptions setup;
        setup.fds = {{0, Source::Null}, {1, Source::ParentOut}, {2, Source::ParentOut}};
        m_started = m_child.start(argv, setup);
    }

    bool started() const { return m_started; }
    pid_t group() const { return m_child.pid(); }

    // Reads until the first progress line is there.
    bool waitForProgress()
    {
        while (m_out.find("time=") == std::string::npos) {
            if (!readSome())
                return false;
        }
        return true;
    }

    int finish()
    {
        while (readSome()) {
        }
        return m_child.waitForEnd();
    }

    const std::string &out() const { return m_out; }
    const std::string &err() const { return m_err; }

private:
    bool readSome()
    {
        pollfd fds[2] = {{m_child.parentFd(1), POLLIN, 0}, {m_child.parentFd(2), POLLIN, 0}};
        if (fds[0].fd < 0 && fds[1].fd < 0)
            return false;
        if (::poll(fds, 2, -1) < 0)
            return true;
        char buffer[4096];
        std::string *targets[2] = {&m_out, &m_err};
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents)
                continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                targets[i]->append(buffer, static_cast<size_t>(n));
            } else if (i == 0) {
                m_child.closeParentFd(1);
            } else {
                m_child.closeParentFd(2);
            }
        }
        return true;
    }

    process::ChildProcess m_child;
    bool m_started = false;
    std::string m_out;
    std::string m_err;
};

std::vector<std::string> slowArgs(const std::string &output)
{
    return {"-y",      "-i",      clip("long_640x480.mp4"),
            "-r",      "25",      "-b",
            "2000000", "-ab",     "128000",
            "-ac",     "2",       "-s",
            "640x480", "-ar",     "44100",
            "-vcodec", "libx264", "-vpre",
            "slow",    "-sn",     output};
}

char processState(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

} // namespace

TEST(RegisterSignals, StopLeavesAPlayablePartialFile)
{
    TempDir dir;
    const std::string output = dir.file("partial.mp4");
    GroupRun run(slowArgs(output));
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitForProgress()) << run.err();
    ASSERT_EQ(::kill(-run.group(), SIGTERM), 0);
    const int code = run.finish();
    // register.dat itself does not die of the signal; ffmpeg ends the file and reports it.
    EXPECT_EQ(code, 1) << run.err();
    const auto media = inspectMedia(output);
    ASSERT_TRUE(media) << "the partial mp4 has no index";
    EXPECT_GT(media->decodedVideoFrames, 0);
    EXPECT_GT(media->durationSeconds, 0);
    EXPECT_LT(media->durationSeconds, 19.5);
}

TEST(RegisterSignals, PauseAndContinueFinishTheConversion)
{
    TempDir dir;
    const std::string output = dir.file("paused.mp4");
    std::vector<std::string> args = slowArgs(output);
    GroupRun run(args);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitForProgress()) << run.err();
    ASSERT_EQ(::kill(-run.group(), SIGSTOP), 0);
    // The whole group stops: the wrapper as well as its ffmpeg.
    for (char state = processState(run.group()); state != 'T'; state = processState(run.group())) {
        ASSERT_NE(state, 'Z') << "ended before it could be paused";
        std::this_thread::yield();
    }
    ASSERT_EQ(::kill(-run.group(), SIGCONT), 0);
    EXPECT_EQ(run.finish(), 0) << run.err();
    const auto media = inspectMedia(output);
    ASSERT_TRUE(media);
    EXPECT_NEAR(media->durationSeconds, 20, 0.5);
    EXPECT_GE(checkProgress(run.out()), 19);
}
