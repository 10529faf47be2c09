#include "core/requestbuilder.h"

#include "core/commandline.h"
#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/profilestate.h"
#include "support/fakes.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace
{

struct BuilderFixture : ::testing::Test {
    JobList jobs;
    Edition edition;
    ProfileState profile;
    FormatSettings format;
    FakeTexts texts;
    RequestBuilder builder{jobs, edition, profile, format, texts};
    intputrec request;

    void SetUp() override
    {
        edition.setExeFileName(QStringLiteral("marlo-video-converter"));
        addRow(QStringLiteral("/v/a.mpg"), QStringLiteral("640x480"), QStringLiteral("1200"),
               QStringLiteral("96"));
    }

    int addRow(const QString &path, const QString &size, const QString &video, const QString &audio)
    {
        const int row = jobs.appendRow(QStringLiteral("row"));
        Toriginalinfo &info = jobs.originalInfo(row);
        info.sourcePath = path;
        info.resolution = size;
        info.videoBitrate = video;
        info.audioBitrate = audio;
        info.durationText = QStringLiteral("00:01:00");
        return row;
    }

    void useProfile(int number, const QString &description, const QStringList &sizes, int size = 0)
    {
        profile.activeProfile = number;
        profile.profileDescription = description;
        format.cb_size.clear();
        for (const QString &s : sizes)
            format.cb_size.addItem(s);
        format.cb_size.setSelected(size);
    }

    QString fragments()
    {
        builder.fillRequest(0, request);
        return request.videoRateArg + '|' + request.audioRateArg + '|' + request.channelsArg + '|' +
               request.aspectArg + '|' + request.sizeArg + '|' + request.sampleRateArg + '|' +
               request.profileOptions;
    }
};

} // namespace

TEST_F(BuilderFixture, FragmentsOfTheWorkedExample)
{
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("320x240")});
    format.cb_videobitrate.setSelected(0);
    format.cb_audiobitrate.setSelected(2);
    format.cb_channel.setSelected(1);
    EXPECT_EQ(fragments(), QStringLiteral(" -r 25 -b 1500000| -ab 128000| -ac 2| -aspect 1.3333| "
                                          "-s 320x240| -ar 44100 |"));
    EXPECT_EQ(request.inputPath, QStringLiteral("/v/a.mpg"));
    EXPECT_EQ(request.durationSeconds, 60);
}

TEST_F(BuilderFixture, DiscTargetsFixEverythingButChannels)
{
    const struct {
        int number;
        const char *standard;
        const char *options;
        int kbps;
    } cases[] = {
        {112, "NTSC", " -target ntsc-vcd ", 1393},
        {113, "PAL", " -target pal-svcd ", 1948},
        {114, "PAL", " -target pal-dvd ", 3222},
    };
    for (const auto &c : cases) {
        useProfile(c.number, QStringLiteral("Video CD - MPEG PS Format(*.mpg)"),
                   {QStringLiteral("PAL"), QStringLiteral("NTSC")},
                   QString::fromLatin1(c.standard) == QLatin1String("PAL") ? 0 : 1);
        EXPECT_EQ(fragments(), QStringLiteral("|| -ac 2||||") + QString::fromLatin1(c.options))
            << c.number;
        EXPECT_EQ(builder.estimateKbps(), c.kbps);
    }
}

TEST_F(BuilderFixture, PhoneAudioAlwaysMonoAt8kHz)
{
    for (const char *desc :
         {"BlackBerry AMR Audio(*.amr)", "3GPP-3rd Generation Partnership Project(*.3gp)"}) {
        useProfile(8, QString::fromLatin1(desc), {QStringLiteral("176x144")});
        format.cb_channel.setSelected(1);
        format.cb_audiobitrate.setSelected(2);
        builder.fillRequest(0, request);
        EXPECT_EQ(request.channelsArg, QStringLiteral(" -ac 1 ")) << desc;
        EXPECT_EQ(request.sampleRateArg, QStringLiteral(" -ar 8000 ")) << desc;
        EXPECT_EQ(request.audioRateArg, QStringLiteral(" -ab 7400")) << desc;
    }
}

TEST_F(BuilderFixture, SampleRateFollowsTheAudioRate)
{
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("320x240")});
    const char *expected[] = {" -ar 48000 ", " -ar 44100 ", " -ar 44100 ", " -ar 22050 ",
                              " -ar 22050 "};
    for (int pos = 0; pos < 5; ++pos) {
        format.cb_audiobitrate.setSelected(pos);
        builder.fillRequest(0, request);
        EXPECT_EQ(request.sampleRateArg, QString::fromLatin1(expected[pos])) << pos;
    }
    useProfile(11, QStringLiteral("FLV - Flash Video Format(*.flv)"), {QStringLiteral("320x240")});
    format.cb_audiobitrate.setSelected(0);
    builder.fillRequest(0, request);
    EXPECT_EQ(request.sampleRateArg, QStringLiteral(" -ar 22050 "));
}

TEST_F(BuilderFixture, SourceSizeUsesEachRowsOwnSize)
{
    addRow(QStringLiteral("/v/b.mpg"), QStringLiteral("720x576"), QStringLiteral("800"),
           QStringLiteral("128"));
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"),
               {QStringLiteral("320x240"), QStringLiteral("640x480"),
                QStringLiteral("The original width and height")},
               2);
    format.cb_videobitrate.setSelected(2);
    builder.fillRequest(0, request);
    EXPECT_EQ(request.sizeArg, QStringLiteral(" -s 640x480"));
    EXPECT_EQ(request.videoRateArg, QStringLiteral(" -r 25 -b 1598000")); // 480 x 3.33
    builder.fillRequest(1, request);
    EXPECT_EQ(request.sizeArg, QStringLiteral(" -s 720x576"));
    EXPECT_EQ(request.aspectArg, QStringLiteral(" -aspect 1.2500"));
    EXPECT_EQ(request.inputPath, QStringLiteral("/v/b.mpg"));
}

// Nothing chosen and nothing typed in the size box (a profile that remembers no
// choice, on a fresh install): the source keeps its size, as with the source-size
// item, and no "-s" is left without its value.
TEST_F(BuilderFixture, AnEmptySizeBoxKeepsTheSourceSize)
{
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"),
               {QStringLiteral("320x240"), QStringLiteral("640x480")}, -1);
    format.cb_videobitrate.setSelected(2);
    request.encoderPath = QStringLiteral("/prog/register.dat");
    builder.fillRequest(0, request);
    EXPECT_EQ(request.sizeArg, QStringLiteral(" -s 640x480"));
    EXPECT_EQ(request.aspectArg, QStringLiteral(" -aspect 1.3333"));
    EXPECT_EQ(request.videoRateArg, QStringLiteral(" -r 25 -b 1598000")); // 480 x 3.33
    const QStringList args = splitCommandLine(buildCommandLine(request));
    const qsizetype s = args.indexOf(QStringLiteral("-s"));
    ASSERT_GE(s, 0);
    EXPECT_EQ(args.value(s + 1), QStringLiteral("640x480"));

    // A source of unknown size: no size option at all.
    jobs.originalInfo(0).resolution.clear();
    builder.fillRequest(0, request);
    EXPECT_EQ(request.sizeArg, QString());
    EXPECT_EQ(request.aspectArg, QString());
    EXPECT_FALSE(splitCommandLine(buildCommandLine(request)).contains(QStringLiteral("-s")));
}

TEST_F(BuilderFixture, SourceQualityItemsUseTheSourceRates)
{
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("320x240")});
    format.cb_videobitrate.addItem(QStringLiteral("The Original Video Quliay"));
    format.cb_audiobitrate.addItem(QStringLiteral("The Original Audio Quliay"));
    format.cb_videobitrate.setSelected(5);
    format.cb_audiobitrate.setSelected(5);
    builder.fillRequest(0, request);
    EXPECT_EQ(request.videoRateArg, QStringLiteral(" -r 25 -b 1200000"));
    EXPECT_EQ(request.audioRateArg, QStringLiteral(" -ab 96000"));
    EXPECT_EQ(builder.estimateKbps(), 1296);
}

TEST_F(BuilderFixture, QualityFactorsByProfile)
{
    const struct {
        int number;
        int kbpsAtBestFor480;
    } cases[] = {{118, 1598}, {121, 1598}, {120, 4997}, {123, 4997}, {119, 3000}, {122, 3000}};
    for (const auto &c : cases) {
        useProfile(c.number, QStringLiteral("MP4 - MPEG4 Video(*.mp4)"),
                   {QStringLiteral("640x480")});
        format.cb_videobitrate.setSelected(0);
        format.cb_audiobitrate.setSelected(4); // 32 kb/s
        EXPECT_EQ(builder.estimateKbps(), c.kbpsAtBestFor480 + 32) << c.number;
    }
}

TEST_F(BuilderFixture, SlotProfilesTakeTheRateFromTheProfileList)
{
    useProfile(27, QStringLiteral("iPod(320×240)MPEG-4 Codec(*.mp4)"), {QStringLiteral("320x240")});
    profile.videoRateSlots = {QStringLiteral("1500"), QStringLiteral("1200"), QStringLiteral("800"),
                              QStringLiteral("500"), QStringLiteral("300")};
    format.cb_videobitrate.setSelected(0);
    builder.fillRequest(0, request);
    EXPECT_EQ(request.videoRateArg, QStringLiteral(" -r 25 -b 1500000"));

    useProfile(17, QStringLiteral("MP3-MPEG Layer-3Audio(*.mp3)"), {QStringLiteral("No Video")});
    profile.videoRateSlots[0] = QStringLiteral("*");
    format.cb_size.setEnabled(false);
    builder.fillRequest(0, request);
    EXPECT_TRUE(request.videoRateArg.isEmpty());
    EXPECT_TRUE(request.sizeArg.isEmpty());
    EXPECT_TRUE(request.aspectArg.isEmpty());
    EXPECT_EQ(builder.estimateKbps(), 128);
}

TEST_F(BuilderFixture, NoChosenPositionMeansNormalAndStereo)
{
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("320x240")});
    format.cb_videobitrate.setSelected(-1);
    format.cb_audiobitrate.setSelected(-1);
    format.cb_channel.setSelected(-1);
    builder.fillRequest(0, request);
    EXPECT_EQ(request.videoRateArg, QStringLiteral(" -r 25 -b 799000")); // 240 x 3.33 = 799.2
    EXPECT_EQ(request.audioRateArg, QStringLiteral(" -ab 128000"));
    EXPECT_EQ(request.channelsArg, QStringLiteral(" -ac 2"));
}

TEST_F(BuilderFixture, AspectAlwaysUsesADecimalPoint)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("720x480(NTSC)")});
    builder.fillRequest(0, request);
    QLocale::setDefault(before);
    EXPECT_EQ(request.sizeArg, QStringLiteral(" -s 720x480"));
    EXPECT_EQ(request.aspectArg, QStringLiteral(" -aspect 1.5000"));
}

TEST_F(BuilderFixture, EstimatesAndTheOutputSizeColumn)
{
    useProfile(20, QStringLiteral("WAV-Waveform Auido(*.wav)"), {QStringLiteral("No Video")});
    profile.videoRateSlots[0] = QStringLiteral("*");
    EXPECT_EQ(builder.estimateKbps(), 1500);

    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("big")});
    format.cb_size.setTypedText(QStringLiteral("big"));
    EXPECT_EQ(builder.estimateKbps(), 0); // a size text without "x" gives no estimate

    useProfile(2, QStringLiteral("AVI-DivX Movie(*.avi)"), {QStringLiteral("320x240")});
    format.cb_videobitrate.setSelected(0);
    format.cb_audiobitrate.setSelected(2);
    builder.recomputeOutputSizes(jobs);
    // 240 x 6.25 = 1500 kb/s of video + 128 kb/s of audio = 1628 kb/s; over the row's 60 s
    // that is 1628 x 60 / 8 = 12210 kB, and 12210 / 1024 x 1000 / 1024 = 11.644 MB.
    EXPECT_EQ(jobs.cell(0, JobList::OutputSizeColumn), QStringLiteral("11.64MB"));
}
