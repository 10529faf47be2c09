#include "profiles/profilefixture.h"

#include <QDir>

TEST_F(ProfileFixture, DiscTargetsOfferOnlyTheTvStandards)
{
    selector->selectProfile(112);
    EXPECT_EQ(format.cb_size.items(), (QStringList{"PAL", "NTSC"}));
    EXPECT_TRUE(format.cb_size.isEnabled());
    EXPECT_FALSE(format.cb_videobitrate.isEnabled());
    EXPECT_FALSE(format.cb_audiobitrate.isEnabled());
    EXPECT_FALSE(format.cb_channel.isEnabled());
    EXPECT_EQ(profile.profileOptions, QStringLiteral("-options 112"));

    selector->selectProfile(110);
    EXPECT_TRUE(format.cb_videobitrate.isEnabled());
    EXPECT_TRUE(format.cb_audiobitrate.isEnabled());
    EXPECT_TRUE(format.cb_channel.isEnabled());
}

TEST_F(ProfileFixture, SourceQualityItemsFollowEditionRangeAndExtension)
{
    const QString video = QStringLiteral("The Original Video Quliay");
    const QString audio = QStringLiteral("The Original Audio Quliay");
    const struct {
        int number;
        bool offered;
    } fileEdition[] = {{1, true},   {7, true},    {4, false},   {53, false},
                       {123, true}, {118, false}, {122, false}, {2, true}};
    for (const auto &c : fileEdition) {
        selector->selectProfile(c.number);
        EXPECT_EQ(format.cb_videobitrate.items().count(video), c.offered ? 1 : 0) << c.number;
        EXPECT_EQ(format.cb_audiobitrate.items().count(audio), c.offered ? 1 : 0) << c.number;
        EXPECT_EQ(format.cb_videobitrate.count(), c.offered ? 6 : 5) << c.number;
    }
    dvdEdition();
    for (int n : {1, 2, 123}) {
        selector->selectProfile(n);
        EXPECT_FALSE(format.cb_videobitrate.contains(video)) << n;
        EXPECT_FALSE(format.cb_audiobitrate.contains(audio)) << n;
    }
}

TEST_F(ProfileFixture, SizeListGetsTheSourceSizeItemOnlyWhereItFits)
{
    const QString sourceSize = QStringLiteral("The original width and height");
    groups[3] = {QStringLiteral("320x240"), QStringLiteral("1 2 3 4 5"), QString()};
    writeProfileList();
    selector->selectProfile(2);
    EXPECT_EQ(format.cb_size.items(), (QStringList{"320x240", "640x480", sourceSize}));
    selector->selectProfile(4); // ".mp4"
    EXPECT_EQ(format.cb_size.items(), (QStringList{"320x240", "640x480"}));
    selector->selectProfile(3); // one size only
    EXPECT_EQ(format.cb_size.items(), (QStringList{"320x240"}));
    selector->selectProfile(112);
    EXPECT_FALSE(format.cb_size.contains(sourceSize));
    selector->selectProfile(111);
    EXPECT_EQ(format.cb_size.lastItem(), sourceSize);
    selector->selectProfile(115); // above 111
    EXPECT_FALSE(format.cb_size.contains(sourceSize));
}

TEST_F(ProfileFixture, ProfileWithoutVideo)
{
    selector->selectProfile(17);
    EXPECT_EQ(format.cb_size.items(), QStringList{"No Video"});
    EXPECT_EQ(format.cb_size.selected(), 0);
    EXPECT_FALSE(format.cb_size.isEnabled());
    EXPECT_FALSE(format.cb_videobitrate.isEnabled());
    EXPECT_EQ(format.cb_videobitrate.selectedItem(), QStringLiteral("No Video"));
    EXPECT_EQ(profile.videoRateSlots[0], QStringLiteral("*"));
    EXPECT_EQ(profile.profileExtension(), QStringLiteral(".mp3"));

    selector->selectProfile(27); // back to video: "No Video" leaves the quality list
    EXPECT_FALSE(format.cb_videobitrate.contains(QStringLiteral("No Video")));
    EXPECT_TRUE(format.cb_size.isEnabled());
    EXPECT_EQ(profile.videoRateSlots[0], QStringLiteral("1500"));
}

TEST_F(ProfileFixture, RateSlotsFillFromLowToHighAndKeepUnreachedSlots)
{
    groups[28] = {QStringLiteral("320x240"), QStringLiteral("100 200 300"), QString()};
    writeProfileList();
    selector->selectProfile(27);
    EXPECT_EQ(profile.videoRateSlots,
              (std::array<QString, 5>{"1500", "1200", "800", "500", "300"}));
    selector->selectProfile(28);
    EXPECT_EQ(profile.videoRateSlots,
              (std::array<QString, 5>{"1500", "1200", "300", "200", "100"}));
}

TEST_F(ProfileFixture, SelectionShowsDescriptionAndRecomputes)
{
    profile.currentCategory = 3;
    selector->selectProfile(27);
    EXPECT_EQ(profile.activeProfile, 27);
    EXPECT_EQ(skin.texts.value(QStringLiteral("profilestext")),
              QString::fromUtf8("iPod(320×240)MPEG-4 Codec(*.mp4)"));
    EXPECT_EQ(skin.pictures.last(),
              QStringLiteral("im_mainico=") + dir.path() + QStringLiteral("/images/main/3.bmp"));
    EXPECT_EQ(recomputed, 1);

    // A filler number keeps the description, and so the extension, of the profile before.
    selector->selectProfile(26);
    EXPECT_EQ(profile.activeProfile, 26);
    EXPECT_EQ(profile.profileExtension(), QStringLiteral(".mp4"));
}

TEST_F(ProfileFixture, MissingProfileListIsReportedAndChangesNothing)
{
    selector->selectProfile(2);
    format.cb_videobitrate.setSelected(3);
    QFile::remove(dir.filePath(QStringLiteral("profiles.pop")));
    selector->selectProfile(27);
    ASSERT_EQ(boxes.calls.size(), 1);
    EXPECT_TRUE(boxes.calls[0].startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(boxes.calls[0].contains(QStringLiteral("profiles.pop")));
    EXPECT_EQ(profile.activeProfile, 2);
    EXPECT_EQ(recomputed, 1);
    // The choices of the profile being left were remembered before the failure.
    EXPECT_EQ(choices->readInt(QStringLiteral("2"), QStringLiteral("video bitrate"), -9), 3);
}

TEST_F(ProfileFixture, ShortFileKeepsWhatTheMissingLinesWouldSet)
{
    selector->selectProfile(129);
    writeProfileList(130);
    {
        QFile f(dir.filePath(QStringLiteral("profiles.pop")));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("group 131\r\n800x600 1024x768\r\n");
    }
    selector->selectProfile(131);
    EXPECT_EQ(format.cb_size.items().first(), QStringLiteral("800x600"));
    EXPECT_EQ(profile.profileOptions, QStringLiteral("-options 129"));
    EXPECT_EQ(profile.activeProfile, 131);
}
