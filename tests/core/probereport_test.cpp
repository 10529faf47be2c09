#include "core/probereport.h"

#include <gtest/gtest.h>

TEST(ProbeReport, ReadsTheReportLayout)
{
    const QString report =
        QStringLiteral("Input #0, avi, from 'clip.avi':\r\n"
                       "  Duration: 00:01:23.40, start: 0.000000, bitrate: 1500 kb/s\r\n"
                       "    Stream #0.0: Video: mpeg4, yuv420p, 640x480 [PAR 1:1 DAR 4:3], 1200 "
                       "kb/s, 25.00 tb(r)\r\n"
                       "    Stream #0.1: Audio: mp2, 44100 Hz, stereo, 128 kb/s\r\n");
    const ProbeReport r = parseProbeReport(report);
    EXPECT_EQ(r.duration, QStringLiteral("00:01:23"));
    EXPECT_EQ(r.bitrate, QStringLiteral("1500"));
    EXPECT_EQ(r.videoBitrate, QStringLiteral("1200"));
    EXPECT_EQ(r.audioBitrate, QStringLiteral("128"));
    EXPECT_EQ(r.size, QStringLiteral("640x480"));
    EXPECT_EQ(r.videoFormat, QStringLiteral("mpeg4"));
    EXPECT_EQ(r.frameRate, QStringLiteral(" 25.00 tb(r)"));
    EXPECT_EQ(r.audioFormat, QStringLiteral("mp2"));
    EXPECT_EQ(r.sampleRate, QStringLiteral(" 44100 Hz"));
    EXPECT_EQ(r.channels, QStringLiteral(" stereo"));
}

TEST(ProbeReport, MissingPartsStayEmpty)
{
    const struct {
        const char *report;
        const char *bitrate, *video, *audio, *size, *videoFormat, *audioFormat;
    } cases[] = {
        // Audio only.
        {"  Duration: 00:00:03.00, start: 0.000000, bitrate: 128 kb/s\r\n"
         "    Stream #0.0: Audio: mp3, 44100 Hz, stereo, 128 kb/s\r\n",
         "128", "", "128", "", "", "mp3"},
        // Video without its own rate, no audio.
        {"  Duration: 00:00:02.00, start: 0.000000, bitrate: 900 kb/s\r\n"
         "    Stream #0.0: Video: h264, yuv420p, 1280x720, 25.00 tb(r)\r\n",
         "900", "", "", "1280x720", "h264", ""},
        // No overall rate at all.
        {"  Duration: N/A, start: 0.000000, bitrate: N/A\r\n", "", "", "", "", "", ""},
        // Text after the last carriage return belongs to no segment.
        {"  Duration: 00:00:02.00, start: 0.000000, bitrate: 900 kb/s\r\n"
         "    Stream #0.0: Audio: aac, 48000 Hz, mono, 64 kb/s",
         "900", "", "", "", "", ""},
        // Nothing readable.
        {"clip.avi: Invalid data found when processing input\r\n", "", "", "", "", "", ""},
    };
    for (const auto &c : cases) {
        const ProbeReport r = parseProbeReport(QString::fromLatin1(c.report));
        SCOPED_TRACE(c.report);
        EXPECT_EQ(r.bitrate, QString::fromLatin1(c.bitrate));
        EXPECT_EQ(r.videoBitrate, QString::fromLatin1(c.video));
        EXPECT_EQ(r.audioBitrate, QString::fromLatin1(c.audio));
        EXPECT_EQ(r.size, QString::fromLatin1(c.size));
        EXPECT_EQ(r.videoFormat, QString::fromLatin1(c.videoFormat));
        EXPECT_EQ(r.audioFormat, QString::fromLatin1(c.audioFormat));
    }
}
