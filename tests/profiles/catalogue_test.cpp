#include "profiles/catalogue.h"
#include "profiles/profilelist.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Catalogue, ExtensionsComeFromTheDescription)
{
    const struct {
        int number;
        const char *extension;
    } cases[] = {{1, ".asf"},   {27, ".mp4"}, {53, ".MP4"},  {123, ".MP4"},
                 {66, ".mpeg"}, {71, ".amr"}, {114, ".vob"}, {131, ".mkv"},
                 {26, ""},      {132, ""},    {0, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(catalogue::extension(c.number), QString::fromLatin1(c.extension)) << c.number;
    EXPECT_EQ(catalogue::description(27), QString::fromUtf8("iPod(320×240)MPEG-4 Codec(*.mp4)"));
}

TEST(Catalogue, HasOneHundredTwentyProfilesAndElevenFillers)
{
    int profiles = 0;
    for (int n = 1; n <= 132; ++n)
        profiles += catalogue::isProfile(n) ? 1 : 0;
    EXPECT_EQ(profiles, 120);
    for (int filler : {26, 52, 67, 74, 82, 90, 98, 101, 109, 117, 124, 132})
        EXPECT_FALSE(catalogue::isProfile(filler)) << filler;
}

TEST(Catalogue, DefaultProfileFromTheExecutableName)
{
    const struct {
        const char *name;
        int profile;
    } cases[] = {
        {"marlo-video-converter", 1},
        {"Marlo iPod Converter", 27},
        {"dvd-to-avi", 102},
        {"MP3 Audio.exe", 17},
        {"audio-ripper", 17},
        {"3GP", 69},
        {"psp-maker", 53},
        {"mpeg-thing", 110},
        {"mp4box", 118},
        {"mkv", 125},
        {"iphone", 36},
        {"gphone", 41},
        {"wmv", 7},
        {"rmaker", 6},
        {"flv", 11},
    };
    for (const auto &c : cases)
        EXPECT_EQ(catalogue::defaultProfileForExe(QString::fromLatin1(c.name)), c.profile)
            << c.name;
}

TEST(ProfileList, SplittingRule)
{
    const struct {
        const char *line;
        QStringList items;
    } cases[] = {
        {"320x240 640x480", {"320x240", "640x480"}},
        {"320x240 640x480 ", {"320x240", "640x480"}},
        {" 320x240", {}},
        {"320x240  640x480", {"320x240"}},
        {"320x240 7", {"320x240"}},
        {"*", {}},
        {"", {}},
        {"720x576(PAL) 720x480(NTSC)", {"720x576(PAL)", "720x480(NTSC)"}},
        {"300 500 800 1200 1500", {"300", "500", "800", "1200", "1500"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitProfileItems(QString::fromLatin1(c.line)), c.items) << c.line;
}

TEST(ProfileList, ReadsOnlyTheGroupAndCopesWithShortFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("profiles.pop"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("one\r\n1x1 2x2\r\n1 2\r\n-opt1\r\ntwo\n3x3\n3\n-opt2 -x\r\nthree\r\n4x4\r\n");
    }
    ProfileGroup g = readProfileGroup(path, 2);
    ASSERT_TRUE(g.opened);
    EXPECT_EQ(*g.sizes, QStringLiteral("3x3"));
    EXPECT_EQ(*g.videoRates, QStringLiteral("3"));
    EXPECT_EQ(*g.options, QStringLiteral("-opt2 -x"));

    g = readProfileGroup(path, 3);
    EXPECT_EQ(*g.sizes, QStringLiteral("4x4"));
    EXPECT_FALSE(g.videoRates.has_value());
    EXPECT_FALSE(g.options.has_value());

    EXPECT_FALSE(readProfileGroup(dir.filePath(QStringLiteral("missing.pop")), 1).opened);
}
