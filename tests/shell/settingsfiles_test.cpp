#include "shell/settingsfiles.h"

#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "profiles/pickerstate.h"
#include "profiles/rememberedchoices.h"
#include "support/fakes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SettingsFileNames, FollowTheExecutableName)
{
    const struct {
        const char *exe;
        const char *settings;
    } cases[] = {
        {"Convert.exe", "Convert.ini"},
        {"my.video.exe", "my.ini"},
        {"marlo-video-converter", "marlo-video-converter.ini"},
        {"marlo-dvd-converter", "marlo-dvd-converter.ini"},
        {"my.video", "my.ini"},
        {"CONVERT.EXE", "CONVERT.ini"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SettingsFiles::settingsFileName(QString::fromLatin1(c.exe)),
                  QString::fromLatin1(c.settings))
            << c.exe;
        EXPECT_EQ(SettingsFiles::choicesFileName(QString::fromLatin1(c.exe)),
                  QStringLiteral("pro ") + QString::fromLatin1(c.settings));
    }
}

namespace
{

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    Edition edition;
    ProfileState profile;
    PickerState picker;
    QueueSettings queue;
    FakeOutputField field;
    FormatSettings format;
    RememberedChoices remembered{edition, format};
    FakeSkin skin;
    std::vector<int> selected;
    std::unique_ptr<SettingsFiles> settings;

    void SetUp() override { start(QStringLiteral("marlo-video-converter")); }

    void start(const QString &exe)
    {
        edition.setExeFileName(exe);
        selected.clear();
        settings = std::make_unique<SettingsFiles>(SettingsFiles::Context{
            .edition = edition,
            .configFolder = dir.path(),
            .profile = profile,
            .picker = picker,
            .queue = queue,
            .outputField = field,
            .remembered = remembered,
            .skin = skin,
            .selectProfile =
                [this](int n) {
                    selected.push_back(n);
                    profile.activeProfile = n;
                },
            .defaultOutputFolder = [] { return QStringLiteral("/home/me/Videos/My Video/"); }});
        settings->LoadSettings();
    }

    QString settingsText(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace

TEST_F(SettingsFixture, DefaultsWithoutAFile)
{
    EXPECT_EQ(queue.outputFolder, QStringLiteral("/home/me/Videos/My Video/"));
    EXPECT_EQ(field.value, queue.outputFolder);
    EXPECT_EQ(profile.currentCategory, 1);
    EXPECT_EQ(selected, std::vector<int>{1});
    EXPECT_EQ(queue.finishAction, 0);
    EXPECT_FALSE(queue.mergeOn);
    EXPECT_TRUE(picker.videoPageFirst);
    EXPECT_TRUE(picker.audioPageFirst);
    EXPECT_FALSE(skin.visible.value(QStringLiteral("bt_mergeyse")));
    EXPECT_TRUE(skin.visible.value(QStringLiteral("bt_mergeno")));

    start(QStringLiteral("Marlo iPod Converter"));
    EXPECT_EQ(selected, std::vector<int>{27});
}

TEST_F(SettingsFixture, CloseWritesAllSevenKeysAndTheyComeBack)
{
    queue.mergeOn = true;
    queue.outputFolder = QStringLiteral("/tmp/out dir/ünï/");
    profile.activeProfile = 102;
    profile.currentCategory = 3;
    queue.finishAction = 2;
    picker.videoPageFirst = false;
    EXPECT_TRUE(settings->closeQuery());
    const QString text = settingsText(QStringLiteral("marlo-video-converter.ini"));
    for (const char *key : {"Bjoin=1", "path=/tmp/out dir/ünï/", "selcetsubindex=102",
                            "selcetindex=3", "FinishSelcet=2", "video=0", "audio=1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;

    queue = QueueSettings{};
    picker = PickerState{};
    start(QStringLiteral("marlo-video-converter"));
    EXPECT_TRUE(queue.mergeOn);
    EXPECT_EQ(field.value, QStringLiteral("/tmp/out dir/ünï/"));
    EXPECT_EQ(selected, std::vector<int>{102});
    EXPECT_EQ(profile.currentCategory, 3);
    EXPECT_EQ(queue.finishAction, 2);
    EXPECT_FALSE(picker.videoPageFirst);
    EXPECT_TRUE(skin.visible.value(QStringLiteral("bt_mergeyse")));
}

TEST_F(SettingsFixture, EachExecutableNameKeepsItsOwnSettings)
{
    queue.finishAction = 1;
    settings->closeQuery();
    start(QStringLiteral("marlo-dvd-converter"));
    EXPECT_EQ(queue.finishAction, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("marlo-video-converter.ini"))));
}

TEST_F(SettingsFixture, BadValuesReadAsDefaults)
{
    QFile f(dir.filePath(QStringLiteral("marlo-video-converter.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[profiles]\nselcetindex=abc\nselcetsubindex=999\nFinishSelcet=\n[Bjoin]\nBjoin=yes\n");
    f.close();
    start(QStringLiteral("marlo-video-converter"));
    EXPECT_EQ(profile.currentCategory, 1);
    EXPECT_EQ(selected, std::vector<int>{1}); // no profile 999: the edition's default
    EXPECT_EQ(queue.finishAction, 0);
    EXPECT_FALSE(queue.mergeOn);
}
