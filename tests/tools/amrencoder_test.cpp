#include "common/amrencoder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using tools::AmrEncoder;

TEST(AmrEncoder, PicksTheHighestModeWithinTheBitRate)
{
    const struct {
        int bitrate;
        int mode;
    } cases[] = {{12200, 7}, {64000, 7}, {10200, 6}, {7950, 5}, {7400, 4},
                 {5900, 2},  {5000, 0},  {4750, 0},  {0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(AmrEncoder::modeFor(c.bitrate), c.mode) << c.bitrate;
}

TEST(AmrEncoder, EncodesTwentyMillisecondFramesOfTheChosenMode)
{
    // Frame sizes with their table-of-contents byte (3GPP TS 26.101).
    const struct {
        int bitrate;
        size_t frameBytes;
    } cases[] = {{12200, 32}, {7400, 20}, {4750, 13}};
    std::vector<short> second(8000);
    for (size_t i = 0; i < second.size(); ++i)
        second[i] =
            static_cast<short>(8000 * std::sin(2 * M_PI * 440 * static_cast<double>(i) / 8000));
    const char *bytes = reinterpret_cast<const char *>(second.data());

    for (const auto &c : cases) {
        AmrEncoder encoder(c.bitrate);
        ASSERT_TRUE(encoder.valid());
        // Pieces that split samples and frames must not matter.
        std::string frames = encoder.feed(bytes, 1001);
        frames += encoder.feed(bytes + 1001, second.size() * 2 - 1001 - 100);
        frames += encoder.feed(bytes + second.size() * 2 - 100, 100);
        EXPECT_EQ(frames.size(), 50 * c.frameBytes);
        EXPECT_EQ((static_cast<unsigned char>(frames[0]) >> 3) & 0x0f,
                  AmrEncoder::modeFor(c.bitrate));
        EXPECT_TRUE(encoder.finish().empty());

        encoder.feed(bytes, 40); // a partial frame is padded at the end
        EXPECT_EQ(encoder.finish().size(), c.frameBytes);
    }
    EXPECT_EQ(AmrEncoder::fileHeader(), "#!AMR\n");
}
