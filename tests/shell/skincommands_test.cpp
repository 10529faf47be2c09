#include "shell/skincommands.h"

#include "shell/skinlayout.h"
#include "support/fakes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct CommandsFixture : ::testing::Test {
    QTemporaryDir dir;
    RecordingBoxes boxes;
    FakeTexts texts;
    SkinLayout layout{dir.path()};
    bool converting = false;
    bool previewPlaying = false;
    bool titleView = true;
    QString exeName = QStringLiteral("marlo-video-converter");
    QStringList ran;
    QStringList menus;
    SkinCommands commands{SkinCommands::Context{.boxes = boxes,
                                                .texts = texts,
                                                .layout = layout,
                                                .converting = [this] { return converting; },
                                                .previewPlaying = [this] { return previewPlaying; },
                                                .titleView = [this] { return titleView; },
                                                .exeFileName = [this] { return exeName; },
                                                .windowTopLeft = [] { return QPoint(100, 200); }}};

    void SetUp() override
    {
        for (const char *name :
             {"mainclose", "cutclose",   "profiles",  "openfiles", "chapter", "ifoopen",
              "dvdopen",   "openfolder", "converter", "remove",    "clear",   "stopconverter",
              "browse",    "open",       "play",      "stop",      "pause",   "begin",
              "end",       "hou",        "qian"}) {
            const QString object = QString::fromLatin1(name);
            commands.setAction(object, [this, object] { ran << object; });
        }
        commands.setMenuOpener([this](const QString &menu, const QPoint &at) {
            menus << QStringLiteral("%1 at %2,%3").arg(menu).arg(at.x()).arg(at.y());
        });
    }
};

} // namespace

TEST_F(CommandsFixture, ClicksReachTheOperationOfTheirObject)
{
    for (const char *name : {"openfiles", "remove", "stopconverter", "browse", "qian"}) {
        EXPECT_TRUE(commands.Skin1Click(QString::fromLatin1(name)));
        EXPECT_EQ(ran.last(), QString::fromLatin1(name));
    }
    // Names are compared whole and with their letter case; anything else does nothing.
    ran.clear();
    for (const char *name : {"OpenFiles", "openfiles2", "open ", "", "Mainclose", "nothing"})
        EXPECT_FALSE(commands.Skin1Click(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_TRUE(menus.isEmpty());
    EXPECT_TRUE(boxes.calls.isEmpty());
}

TEST_F(CommandsFixture, ConverterIsIgnoredWhileAConversionRuns)
{
    commands.Skin1Click(QStringLiteral("converter"));
    converting = true;
    commands.Skin1Click(QStringLiteral("converter"));
    EXPECT_EQ(ran, QStringList{QStringLiteral("converter")});
}

TEST_F(CommandsFixture, ClosingStopsAPreviewFirst)
{
    commands.Skin1Click(QStringLiteral("mainclose"));
    previewPlaying = true;
    commands.Skin1Click(QStringLiteral("mainclose"));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("mainclose"), QStringLiteral("stop"),
                                QStringLiteral("mainclose")}));
}

TEST_F(CommandsFixture, CutterRunsTheRefusalsInTheirOrder)
{
    const struct {
        bool preview, converting, titles;
        QStringList calls;
    } cases[] = {
        {true, true, false, {QStringLiteral("warning: string 27")}},
        {false, true, false, {QStringLiteral("warning: string 26")}},
        {false, false, false, {QStringLiteral("warning: string 28")}},
        {false, false, true, {}},
    };
    for (const auto &c : cases) {
        boxes.calls.clear();
        previewPlaying = c.preview;
        converting = c.converting;
        titleView = c.titles;
        EXPECT_TRUE(commands.Skin1Click(QStringLiteral("cutter")));
        EXPECT_EQ(boxes.calls, c.calls);
    }
    EXPECT_TRUE(ran.isEmpty());
}

TEST_F(CommandsFixture, MenusOpenWhereTheLayoutFileSays)
{
    {
        QFile f(dir.filePath(QStringLiteral("Skin.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[file]\nleft=10\ntop=30\n[Edit]\nleft=50\n");
    }
    for (const char *name : {"file", "settings", "help", "register", "purchase", "dvdfile"})
        EXPECT_TRUE(commands.Skin1Click(QString::fromLatin1(name)));
    EXPECT_EQ(menus, (QStringList{QStringLiteral("zm_popup_file at 110,230"),
                                  QStringLiteral("zm_pop_edit at 150,264"),
                                  QStringLiteral("zm_pop_help at 106,264"),
                                  QStringLiteral("zm_pop_tools at 106,264"),
                                  QStringLiteral("zm_pop_actions at 106,264"),
                                  QStringLiteral("pop_dvd at 116,254")}));
    // The brand's own edition opens the DVD menu a little further in.
    exeName = QStringLiteral("Mirabel-DVD-Converter");
    menus.clear();
    commands.Skin1Click(QStringLiteral("dvdfile"));
    EXPECT_EQ(menus, QStringList{QStringLiteral("pop_dvd at 185,264")});
}

TEST(SkinHover, ObjectsShowTheirInterfaceString)
{
    EXPECT_EQ(SkinCommands::hoverString(QStringLiteral("dvdopen")), 1);
    EXPECT_EQ(SkinCommands::hoverString(QStringLiteral("profilestext")), 3);
    EXPECT_EQ(SkinCommands::hoverString(QStringLiteral("hint1")), 25);
    EXPECT_FALSE(SkinCommands::hoverString(QStringLiteral("mainclose")).has_value());
    EXPECT_FALSE(SkinCommands::hoverString(QStringLiteral("DVDopen")).has_value());
}
