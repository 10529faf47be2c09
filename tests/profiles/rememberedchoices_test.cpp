#include "profiles/profilefixture.h"

TEST_F(ProfileFixture, FreshFileEditionUsesSourceQualityWhereOffered)
{
    selector->selectProfile(2);
    EXPECT_EQ(format.cb_size.selected(), -1); // position 4 is beyond a three-item list
    EXPECT_EQ(format.cb_videobitrate.selectedItem(), QStringLiteral("The Original Video Quliay"));
    EXPECT_EQ(format.cb_audiobitrate.selectedItem(), QStringLiteral("The Original Audio Quliay"));
    EXPECT_EQ(format.cb_channel.selectedItem(), QStringLiteral("Stereo"));

    selector->selectProfile(4); // ".mp4": no sixth item, so no selection
    EXPECT_EQ(format.cb_videobitrate.selected(), -1);
    EXPECT_EQ(format.cb_audiobitrate.selected(), -1);
}

TEST_F(ProfileFixture, FreshDvdEditionUsesNormal)
{
    dvdEdition();
    selector->selectProfile(2);
    EXPECT_EQ(format.cb_videobitrate.selectedItem(), QStringLiteral("Normal"));
    EXPECT_EQ(format.cb_audiobitrate.selectedItem(), QStringLiteral("Normal"));
    EXPECT_EQ(format.cb_channel.selected(), 1);
}

TEST_F(ProfileFixture, AudioProfilesRestoreOnlyAudioAndChannel)
{
    selector->selectProfile(17);
    format.cb_audiobitrate.setSelected(0);
    format.cb_channel.setSelected(0);
    selector->selectProfile(27);
    selector->selectProfile(17);
    EXPECT_EQ(format.cb_audiobitrate.selected(), 0);
    EXPECT_EQ(format.cb_channel.selected(), 0);
    EXPECT_EQ(format.cb_size.selectedItem(), QStringLiteral("No Video"));
    EXPECT_EQ(format.cb_videobitrate.selectedItem(), QStringLiteral("No Video"));
    // An audio profile never writes the size or video quality keys.
    EXPECT_EQ(choices->readString(QStringLiteral("17"), QStringLiteral("size"), "none"),
              QStringLiteral("none"));
    EXPECT_EQ(choices->readInt(QStringLiteral("17"), QStringLiteral("audio bitrate"), -9), 0);
}

TEST_F(ProfileFixture, ChoicesComeBackWhenTheProfileIsChosenAgain)
{
    selector->selectProfile(27);
    format.cb_videobitrate.setSelected(4);
    selector->selectProfile(28);
    EXPECT_EQ(format.cb_videobitrate.selected(), 2);
    selector->selectProfile(27);
    EXPECT_EQ(format.cb_videobitrate.selected(), 4);
    EXPECT_EQ(choices->readInt(QStringLiteral("27"), QStringLiteral("video bitrate"), -9), 4);
}

TEST_F(ProfileFixture, SomeAudioProfilesAreNotRemembered)
{
    for (int n : {33, 40, 45, 59}) {
        selector->selectProfile(n);
        format.cb_audiobitrate.setSelected(0);
        format.cb_channel.setSelected(0);
        selector->selectProfile(27);
        selector->selectProfile(n);
        EXPECT_EQ(format.cb_audiobitrate.selectedItem(), QStringLiteral("Normal")) << n;
        EXPECT_EQ(format.cb_channel.selectedItem(), QStringLiteral("Stereo")) << n;
    }
}

TEST_F(ProfileFixture, TypedSizeComesBackEmpty)
{
    selector->selectProfile(27);
    format.cb_size.setTypedText(QStringLiteral("400x300"));
    selector->selectProfile(28);
    EXPECT_EQ(choices->readInt(QStringLiteral("27"), QStringLiteral("size"), -9), -1);
    selector->selectProfile(27);
    EXPECT_EQ(format.cb_size.selected(), -1);
    EXPECT_TRUE(format.cb_size.text().isEmpty());
}

TEST_F(ProfileFixture, BadStoredValuesFallBackToDefaults)
{
    choices->writeString(QStringLiteral("27"), QStringLiteral("video bitrate"),
                         QStringLiteral("x1"));
    choices->writeString(QStringLiteral("27"), QStringLiteral("Channel"), QStringLiteral("7"));
    selector->selectProfile(27);
    EXPECT_EQ(format.cb_videobitrate.selected(), 2);
    EXPECT_EQ(format.cb_channel.selected(), -1); // outside the list: nothing selected
}

TEST(RememberedChoicesTable, DefaultsOfBothEditions)
{
    const struct {
        int number;
        std::array<int, 4> file;
        std::array<int, 4> dvd;
    } cases[] = {
        {1, {0, 5, 5, 1}, {0, 2, 2, 1}},          {113, {0, 5, 5, 1}, {0, 2, 2, 1}},
        {130, {4, 5, 5, 1}, {4, 2, 2, 1}},        {110, {5, 5, 5, 1}, {2, 2, 2, 1}},
        {14, {1, 5, 5, 1}, {1, 2, 2, 1}},         {111, {2, 5, 5, 1}, {2, 2, 2, 1}},
        {80, {-1, -1, 2, 1}, {-1, -1, 2, 1}},     {116, {0, 2, 2, 1}, {0, 2, 2, 1}},
        {59, {-1, -1, 2, 1}, {-1, -1, 2, 1}},     {97, {2, 2, 2, 1}, {2, 2, 2, 1}},
        {89, {1, 2, 2, 1}, {1, 2, 2, 1}},         {100, {4, 2, 2, 1}, {4, 2, 2, 1}},
        {123, {5, 2, 2, 1}, {2, 2, 2, 1}},        {131, {-1, -1, -1, -1}, {4, 2, 2, 1}},
        {26, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
    };
    for (const auto &c : cases) {
        const auto rule = RememberedChoices::ruleFor(c.number);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(rule.file[i], c.file[size_t(i)]) << c.number << " key " << i;
            EXPECT_EQ(rule.dvd[i], c.dvd[size_t(i)]) << c.number << " key " << i;
        }
    }
}
