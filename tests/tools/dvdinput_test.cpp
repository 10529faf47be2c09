#include "common/dvdinput.h"
#include "dvd/sectorstream.h"

#include <gtest/gtest.h>

using dvd::PackScanner;
using tools::DvdInput;

TEST(DvdInput, ReadsTheConvertersDvdInputText)
{
    struct Case {
        std::string text;
        int titleSet;
        long long begin, end;
        std::string audioMap, subtitleMap, root;
    };
    const Case cases[] = {
        {"vts://01*2545*3386*0x80*0*//media/dvd", 1, 2545, 3386, "0:i:0x80", "", "/media/dvd"},
        // MPEG audio is 0xc0+n on the DVD and 0x1c0+n in the stream.
        {"vts://02*0*100*0xc1*0x21*//mnt/My DVD", 2, 0, 100, "0:i:0x1c1", "0:i:0x21",
         "/mnt/My DVD"},
        {"vts://12*5*5*0x88*0x3f*/D:", 12, 5, 5, "0:i:0x88", "0:i:0x3f", "D:"},
        // "0": the title has no audio stream list; take whatever comes first.
        {"VTS://03*10*20*0*0*//dvd", 3, 10, 20, "0:a:0?", "", "/dvd"},
        {"vts://01*10*20*0xA0*0*//d*v*d", 1, 10, 20, "0:i:0xa0", "", "/d*v*d"},
    };
    for (const Case &c : cases) {
        std::string error;
        const auto input = DvdInput::parse(c.text, &error);
        ASSERT_TRUE(input) << c.text << ": " << error;
        EXPECT_EQ(input->titleSet(), c.titleSet);
        EXPECT_EQ(input->beginSector(), c.begin);
        EXPECT_EQ(input->endSector(), c.end);
        EXPECT_EQ(input->audioMap(), c.audioMap);
        EXPECT_EQ(input->subtitleMap(), c.subtitleMap);
        EXPECT_EQ(input->root(), c.root);
    }
}

TEST(DvdInput, RejectsBrokenTextsWithAReason)
{
    const char *bad[] = {
        "",
        "/media/dvd/VIDEO_TS/VTS_01_1.VOB",
        "vts://01*2545*3386*0x80*0*",
        "vts://01*2545*3386*0x80*0*/",
        "vts://01*2545*0x80*0*//media/dvd",
        "vts://00*1*2*0x80*0*//media/dvd",
        "vts://1a*1*2*0x80*0*//media/dvd",
        "vts://01*-1*2*0x80*0*//media/dvd",
        "vts://01*9*2*0x80*0*//media/dvd",
        "vts://01*1*2*0xzz*0*//media/dvd",
        "vts://01*1*2*0x80*0x80*//media/dvd",
        "vts://01*1*2*0x*0*//media/dvd",
    };
    for (const char *text : bad) {
        std::string error;
        EXPECT_FALSE(DvdInput::parse(text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_TRUE(DvdInput::isDvdInput("vts://x"));
    EXPECT_FALSE(DvdInput::isDvdInput("/tmp/vts://x"));
}

namespace
{

struct Packet {
    int streamId;       // PES stream id
    int substream = -1; // first payload byte of private stream 1
};

// One 2048-byte MPEG-2 pack holding the packets, then padding.
std::vector<unsigned char> makePack(const std::vector<Packet> &packets, int stuffing = 0)
{
    std::vector<unsigned char> pack = {
        0, 0, 1, 0xba, 0x44, 0,    4,
        0, 4, 1, 1,    0x89, 0xc3, static_cast<unsigned char>(0xf8 | stuffing)};
    pack.insert(pack.end(), static_cast<size_t>(stuffing), 0xff);
    for (const Packet &packet : packets) {
        // PES header: flags, 5-byte PTS, then one byte of payload (the substream id).
        const std::vector<unsigned char> body = {
            0x81, 0x80, 5, 0x21, 0, 1, 0, 1, static_cast<unsigned char>(packet.substream & 0xff),
            0,    0,    0};
        pack.insert(pack.end(), {0, 0, 1, static_cast<unsigned char>(packet.streamId), 0,
                                 static_cast<unsigned char>(body.size())});
        pack.insert(pack.end(), body.begin(), body.end());
    }
    const size_t padding = dvd::kSectorSize - pack.size() - 6;
    pack.insert(pack.end(), {0, 0, 1, 0xbe, static_cast<unsigned char>(padding >> 8),
                             static_cast<unsigned char>(padding & 0xff)});
    pack.resize(dvd::kSectorSize, 0xff);
    return pack;
}

} // namespace

TEST(PackScanner, NamesTheStreamsOfAPackAsFfmpegNumbersThem)
{
    const auto pack = makePack({{0xe0}, {0xbd, 0x80}, {0xc1}, {0xbd, 0x21}, {0xbf}}, 3);
    EXPECT_EQ(PackScanner::streamsInPack(pack.data()),
              (std::vector<int>{0x1e0, 0x80, 0x1c1, 0x21}));

    std::vector<unsigned char> notAPack(dvd::kSectorSize, 0);
    EXPECT_TRUE(PackScanner::streamsInPack(notAPack.data()).empty());
}

TEST(PackScanner, FindsTheFirstPackOfEveryWantedStream)
{
    std::vector<unsigned char> packs;
    const std::vector<std::vector<Packet>> layout = {
        {{0xe0}, {0xbd, 0x80}}, {{0xe0}}, {{0xbd, 0x21}, {0xe0}}, {{0xbd, 0x21}}, {{0xc0}}};
    for (const auto &packets : layout) {
        const auto pack = makePack(packets);
        packs.insert(packs.end(), pack.begin(), pack.end());
    }
    PackScanner scanner({0x80, 0x21, 0x1c0});
    EXPECT_FALSE(scanner.feed(packs.data(), 3));
    EXPECT_EQ(scanner.firstPack(0x80), 0);
    EXPECT_EQ(scanner.firstPack(0x21), 2);
    EXPECT_FALSE(scanner.firstPack(0x1c0));
    // Later pieces count on from the first pack fed.
    EXPECT_TRUE(scanner.feed(packs.data() + 3 * dvd::kSectorSize, 2));
    EXPECT_EQ(scanner.firstPack(0x21), 2);
    EXPECT_EQ(scanner.firstPack(0x1c0), 4);
    EXPECT_EQ(scanner.packsSeen(), 5);
}
