#include "core/commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, WorkedExampleToTheCharacter)
{
    intputrec r;
    r.encoderPath = QStringLiteral("C:\\Conv\\register.dat");
    r.inputPath = QStringLiteral("C:\\Video\\clip.mpg");
    r.outputPath = QStringLiteral("C:\\Out\\clip.avi");
    r.videoRateArg = QStringLiteral(" -r 25 -b 1500000");
    r.audioRateArg = QStringLiteral(" -ab 128000");
    r.channelsArg = QStringLiteral(" -ac 2");
    r.aspectArg = QStringLiteral(" -aspect 1.3333");
    r.sizeArg = QStringLiteral(" -s 320x240");
    r.sampleRateArg = QStringLiteral(" -ar 44100 ");
    r.profileOptions = QString();
    EXPECT_EQ(buildCommandLine(r),
              QStringLiteral("C:\\Conv\\register.dat -y  -i C:\\Video\\clip.mpg -r 25 -b 1500000 "
                             "-ab 128000 -ac 2 -aspect 1.3333 -s 320x240  -ar 44100   -sn "
                             "C:\\Out\\clip.avi"));
}

TEST(CommandLine, QuotingKeepsPlainPathsAndQuotesBlanks)
{
    EXPECT_EQ(quoteIfBlank(QStringLiteral("/videos/clip.mpg")), QStringLiteral("/videos/clip.mpg"));
    EXPECT_EQ(quoteIfBlank(QStringLiteral("/my videos/clip.mpg")),
              QStringLiteral("\"/my videos/clip.mpg\""));
    EXPECT_EQ(quoteIfBlank(QStringLiteral("a\\b")), QStringLiteral("a\\b"));
    EXPECT_EQ(quoteIfBlank(QStringLiteral("say\"hi")), QStringLiteral("\"say\\\"hi\""));
}

TEST(CommandLine, SplittingGivesHostileNamesBackWhole)
{
    const QStringList names = {
        QStringLiteral("/tmp/plain.avi"),
        QStringLiteral("/tmp/with blanks/my clip.avi"),
        QStringLiteral("/tmp/quote\"d.mp4"),
        QStringLiteral("/tmp/back\\slash.mpg"),
        QStringLiteral("/tmp/back\\\"quote.mpg"),
        QStringLiteral("/tmp/trailing blank\\"),
        QStringLiteral("/tmp/trailing\\\\"),
        QStringLiteral("-dash.avi"),
        QStringLiteral("/tmp/ünïcødé 映像.mpg"),
        QStringLiteral("/tmp/two  blanks.avi"),
        QStringLiteral("\"\""),
    };
    for (const QString &name : names) {
        const QString line = QStringLiteral("register.dat -y  -i ") + quoteIfBlank(name) +
                             QStringLiteral("  -sn ") + quoteIfBlank(name);
        const QStringList args = splitCommandLine(line);
        ASSERT_EQ(args.size(), 6) << name.toStdString() << " -> " << line.toStdString();
        EXPECT_EQ(args[3], name);
        EXPECT_EQ(args[5], name);
    }
}

TEST(CommandLine, SplittingDropsEmptyArguments)
{
    EXPECT_EQ(splitCommandLine(QStringLiteral("  a   b  ")), (QStringList{"a", "b"}));
    EXPECT_EQ(splitCommandLine(QStringLiteral("a \"\" b")), (QStringList{"a", "b"}));
    EXPECT_TRUE(splitCommandLine(QString()).isEmpty());
}

TEST(CommandLine, DvdInputText)
{
    TConvertInfo info;
    info.ifoPath = QStringLiteral("/media/dvd/VIDEO_TS/VTS_01_0.IFO");
    info.audioId = QStringLiteral("0x80");
    info.subtitleId = QStringLiteral("0");
    TDvdRange range;
    range.beginSector = 2545;
    range.endSector = 3386;
    EXPECT_EQ(dvdInputText(info, range), QStringLiteral("vts://01*2545*3386*0x80*0*//media/dvd"));

    info.ifoPath = QStringLiteral("/home/me/Movie Disc/video_ts/vts_03_0.ifo");
    info.subtitleId = QStringLiteral("0x21");
    EXPECT_EQ(dvdInputText(info, range),
              QStringLiteral("vts://03*2545*3386*0x80*0x21*//home/me/Movie Disc"));
}

TEST(CommandLine, DiscRootOfInformationFile)
{
    const struct {
        const char *ifo;
        const char *root;
    } cases[] = {
        {"/media/dvd/VIDEO_TS/VTS_01_0.IFO", "/media/dvd"},
        {"/media/dvd/Video_Ts/VTS_01_0.IFO", "/media/dvd"},
        {"/VIDEO_TS/VTS_01_0.IFO", "/"},
        // Information files copied into a folder of another name: that folder is the disc.
        {"/home/me/rips/VTS_01_0.IFO", "/home/me/rips"},
        // Only the folder that holds the file counts, not one further up.
        {"/video_ts_backup/disc/VIDEO_TS/VTS_02_0.IFO", "/video_ts_backup/disc"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(discRootOf(QString::fromUtf8(c.ifo)), QString::fromUtf8(c.root)) << c.ifo;
}

TEST(CommandLine, OutputSizeText)
{
    EXPECT_EQ(outputSizeText(1500, 60), QStringLiteral("10.73MB"));
    EXPECT_EQ(outputSizeText(0, 600), QStringLiteral("0.00MB"));
    EXPECT_EQ(outputSizeText(128, 1), QStringLiteral("0.02MB"));
    // Ten hours at 20 Mb/s overflows a 32-bit product; the size must stay right.
    EXPECT_EQ(outputSizeText(20000, 36000), QStringLiteral("85831.00MB"));
}
