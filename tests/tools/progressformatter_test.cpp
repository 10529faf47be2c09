#include "common/progressformatter.h"
#include "tools/toolsupport.h"

#include <gtest/gtest.h>

using tools::ProgressFormatter;
using tools::ProgressSnapshot;

namespace
{

const char kVideoBlock[] = "frame=100\n"
                           "fps=25.00\n"
                           "stream_0_0_q=2.0\n"
                           "bitrate= 512.0kbits/s\n"
                           "total_size=524288\n"
                           "out_time_us=4000000\n"
                           "out_time_ms=4000000\n"
                           "out_time=00:00:04.000000\n"
                           "dup_frames=0\n"
                           "drop_frames=0\n"
                           "speed=1.02x\n"
                           "progress=continue\n";

std::vector<std::string> linesOf(const std::string &output)
{
    ProgressFormatter formatter;
    std::vector<std::string> lines;
    for (const ProgressSnapshot &snapshot : formatter.feed(output))
        lines.push_back(ProgressFormatter::format(snapshot));
    return lines;
}

} // namespace

TEST(ProgressFormatter, WritesTheOldProgressLine)
{
    struct Case {
        std::string block;
        std::string line;
    };
    const Case cases[] = {
        {kVideoBlock, "frame=  100 fps= 25 q=2.0 size=     512kB time=4.00 bitrate= 512.0kbits/s"},
        // Sound only: ffmpeg sends no frame count, and the old line had none either.
        {"bitrate=  65.2kbits/s\ntotal_size=24711\nout_time_us=3031270\nprogress=end\n",
         "size=      24kB time=3.03 bitrate=  65.2kbits/s"},
        // Nothing known yet: figures of zero rather than N/A, which the converter cannot read.
        {"frame=0\nfps=0.00\nstream_0_0_q=0.0\nbitrate=N/A\ntotal_size=N/A\nout_time_us=N/A\n"
         "progress=continue\n",
         "frame=    0 fps=  0 q=0.0 size=       0kB time=0.00 bitrate=   0.0kbits/s"},
        // Streams that start before zero give negative times at first.
        {"frame=1\nfps=0.00\nstream_0_0_q=0.0\nbitrate=N/A\ntotal_size=48\n"
         "out_time_us=-23220\nprogress=continue\n",
         "frame=    1 fps=  0 q=0.0 size=       0kB time=0.00 bitrate=   0.0kbits/s"},
        {"frame=12345\nfps=123.4\nstream_0_0_q=31.0\nstream_0_1_q=-1.0\nbitrate=1234.5kbits/s\n"
         "total_size=10485760\nout_time_us=83400000\nprogress=end\n",
         "frame=12345 fps=123 q=31.0 size=   10240kB time=83.40 bitrate=1234.5kbits/s"},
    };
    for (const Case &c : cases) {
        const std::vector<std::string> lines = linesOf(c.block);
        ASSERT_EQ(lines.size(), 1u) << c.block;
        EXPECT_EQ(lines.front(), c.line);
    }
}

TEST(ProgressFormatter, GivesTheConverterTheWholeSecondsItReads)
{
    const struct {
        long long outTimeUs;
        long long seconds;
    } cases[] = {{4000000, 4}, {83400000, 83}, {990000, 0}, {0, 0}, {3600000000LL, 3600}};
    for (const auto &c : cases) {
        ProgressSnapshot snapshot;
        snapshot.outTimeUs = c.outTimeUs;
        EXPECT_EQ(toolsupport::legacyProgressSeconds(ProgressFormatter::format(snapshot)),
                  c.seconds);
    }
}

TEST(ProgressFormatter, AssemblesBlocksFromPiecesOfAnySize)
{
    const std::string twoBlocks = std::string(kVideoBlock) +
                                  "frame=150\nfps=25.0\nstream_0_0_q=2.0\nbitrate= 511.9kbits/s\n"
                                  "total_size=786432\nout_time_us=6000000\nprogress=end\n";
    ProgressFormatter formatter;
    std::vector<ProgressSnapshot> snapshots;
    for (char c : twoBlocks) {
        for (const ProgressSnapshot &snapshot : formatter.feed(std::string(1, c)))
            snapshots.push_back(snapshot);
    }
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[0].frame, 100);
    EXPECT_FALSE(snapshots[0].end);
    EXPECT_EQ(snapshots[1].frame, 150);
    EXPECT_EQ(snapshots[1].outTimeUs, 6000000);
    EXPECT_TRUE(snapshots[1].end);
}

TEST(ProgressFormatter, SizeOfTheOwnOutputReplacesFfmpegsCount)
{
    ProgressSnapshot snapshot;
    snapshot.totalBytes = 640000; // raw samples
    snapshot.bitrateKbps = 128.0;
    snapshot.outTimeUs = 8000000;
    EXPECT_EQ(ProgressFormatter::format(snapshot, 12206),
              "size=      12kB time=8.00 bitrate=  12.2kbits/s");
}
