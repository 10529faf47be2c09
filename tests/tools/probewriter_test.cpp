#include "common/probewriter.h"
#include "tools/toolsupport.h"

#include <gtest/gtest.h>

using tools::ProbeInfo;
using tools::ProbeStream;
using tools::ProbeWriter;

namespace
{

ProbeStream video(const std::string &codec, int width, int height, long long bitRate)
{
    ProbeStream stream;
    stream.kind = ProbeStream::Kind::Video;
    stream.index = 0;
    stream.codec = codec;
    stream.pixelFormat = "yuv420p";
    stream.width = width;
    stream.height = height;
    stream.sarNum = 1;
    stream.sarDen = 1;
    stream.bitRate = bitRate;
    stream.frameRate = 25;
    return stream;
}

ProbeStream audio(const std::string &codec, long long bitRate)
{
    ProbeStream stream;
    stream.kind = ProbeStream::Kind::Audio;
    stream.index = 1;
    stream.codec = codec;
    stream.sampleRate = 44100;
    stream.channels = 2;
    stream.channelLayout = "stereo";
    stream.bitRate = bitRate;
    return stream;
}

ProbeInfo file(long long durationUs, long long bitRate, std::vector<ProbeStream> streams)
{
    ProbeInfo info;
    info.formatName = "avi";
    info.durationUs = durationUs;
    info.bitRate = bitRate;
    info.streams = std::move(streams);
    return info;
}

} // namespace

TEST(ProbeWriter, WritesTheOldLayoutWithCrLfLines)
{
    const std::string report = ProbeWriter::format(
        file(83400000, 1500000, {video("mpeg4", 640, 480, 1200000), audio("mp2", 128000)}));
    EXPECT_EQ(report, "Input #0, avi:\r\n"
                      "  Duration: 00:01:23.40, start: 0.000000, bitrate: 1500 kb/s\r\n"
                      "    Stream #0.0: Video: mpeg4, yuv420p, 640x480 [PAR 1:1 DAR 4:3], "
                      "1200 kb/s, 25.00 tb(r)\r\n"
                      "    Stream #0.1: Audio: mp2, 44100 Hz, stereo, 128 kb/s\r\n");
}

TEST(ProbeWriter, PutsEveryFieldWhereTheConverterLooks)
{
    struct Case {
        const char *name;
        ProbeInfo info;
        toolsupport::LegacyProbe expected;
    };
    ProbeInfo noContainerRate = file(10000000, 0, {video("h264", 320, 240, 0)});
    noContainerRate.fileSize = 1250000; // 1 Mbit/s over 10 s
    ProbeInfo hexLooking = file(2000000, 800000, {video("dnxhd", 1920, 1080, 0)});
    hexLooking.streams[0].pixelFormat = "xyz12le";
    const Case cases[] = {
        {"plain",
         file(83400000, 1500000, {video("mpeg4", 640, 480, 1200000), audio("mp2", 128000)}),
         {"00:01:23", "1500", "1200", "128", "640x480", "mpeg4", " 25.00 tb(r)", "mp2", " 44100 Hz",
          " stereo"}},
        // Unknown video rate: what the audio leaves, so the frame rate stays the fourth field.
        {"no video rate",
         file(3000000, 1000000, {video("h264", 320, 240, 0), audio("aac", 96000)}),
         {"00:00:03", "1000", "904", "96", "320x240", "h264", " 25.00 tb(r)", "aac", " 44100 Hz",
          " stereo"}},
        // MPEG-1 headers state a maximum of 104857 kb/s; it is no measurement.
        {"bogus mpeg1 rate",
         file(3000000, 1100000, {video("mpeg1video", 320, 240, 104857600), audio("mp2", 128000)}),
         {"00:00:03", "1100", "972", "128", "320x240", "mpeg1video", " 25.00 tb(r)", "mp2",
          " 44100 Hz", " stereo"}},
        {"rate from size and duration",
         noContainerRate,
         {"00:00:10", "1000", "1000", "", "320x240", "h264", " 25.00 tb(r)", "", "", ""}},
        // Neither an "x" in the codec nor in the pixel format may be taken for the size.
        {"x before the size",
         hexLooking,
         {"00:00:02", "800", "800", "", "1920x1080", "dnXhd", " 25.00 tb(r)", "", "", ""}},
        {"audio only",
         file(3000000, 128000, {audio("mp3", 128000)}),
         {"00:00:03", "128", "", "128", "", "", "", "mp3", " 44100 Hz", " stereo"}},
        {"unknown duration",
         file(-1, 0, {audio("mp3", 128000)}),
         {"00:00:00", "128", "", "128", "", "", "", "mp3", " 44100 Hz", " stereo"}},
    };
    for (const Case &c : cases) {
        const std::string report = ProbeWriter::format(c.info);
        const toolsupport::LegacyProbe got = toolsupport::parseLegacyProbe(report);
        const toolsupport::LegacyProbe &want = c.expected;
        SCOPED_TRACE(std::string(c.name) + "\n" + report);
        EXPECT_EQ(got.duration, want.duration);
        EXPECT_EQ(got.bitrate, want.bitrate);
        EXPECT_EQ(got.videoBitrate, want.videoBitrate);
        EXPECT_EQ(got.audioBitrate, want.audioBitrate);
        EXPECT_EQ(got.size, want.size);
        EXPECT_EQ(got.videoFormat, want.videoFormat);
        EXPECT_EQ(got.frameRate, want.frameRate);
        EXPECT_EQ(got.audioFormat, want.audioFormat);
        EXPECT_EQ(got.sampleRate, want.sampleRate);
        EXPECT_EQ(got.channels, want.channels);
    }
}

TEST(ProbeWriter, FieldsCarryNoCommasOfTheirOwn)
{
    ProbeInfo info = file(1000000, 64000, {audio("pcm_s16le", 64000)});
    info.streams[0].channelLayout = "2 channels (FL, FR)";
    const std::string report = ProbeWriter::format(info);
    EXPECT_NE(report.find("Audio: pcm_s16le, 44100 Hz, 2 channels (FL FR), 64 kb/s\r\n"),
              std::string::npos)
        << report;
}

TEST(ProbeWriter, DurationIsRoundedToHundredths)
{
    const struct {
        long long us;
        const char *text;
    } cases[] = {{0, "00:00:00.00"},
                 {4999, "00:00:00.00"},
                 {5000, "00:00:00.01"},
                 {59995000, "00:01:00.00"},
                 {3723450000, "01:02:03.45"}};
    for (const auto &c : cases) {
        const std::string report = ProbeWriter::format(file(c.us, 1000, {audio("mp3", 0)}));
        EXPECT_NE(report.find(std::string("Duration: ") + c.text + ","), std::string::npos)
            << report;
    }
}
