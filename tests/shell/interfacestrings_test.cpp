#include "shell/interfacestrings.h"

#include "core/edition.h"
#include "core/formatsettings.h"
#include "shell/captions.h"
#include "support/fakes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct StringsFixture : ::testing::Test {
    QTemporaryDir dir;
    Edition edition;
    FakeSkin skin;
    RecordingBoxes boxes;
    bool converting = false;
    std::unique_ptr<InterfaceStrings> strings;

    void SetUp() override
    {
        edition.setExeFileName(QStringLiteral("Convert.exe"));
        strings = std::make_unique<InterfaceStrings>(
            InterfaceStrings::Context{.programFolder = dir.path(),
                                      .edition = edition,
                                      .skin = skin,
                                      .boxes = boxes,
                                      .converting = [this] { return converting; }});
    }

    void write(const char *name, const QByteArray &data)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
};

} // namespace

TEST_F(StringsFixture, LookUpTextFallsBackToEnglish)
{
    EXPECT_EQ(strings->LookUpText("File", "Add File", "&Add File(A)"),
              QStringLiteral("&Add File(A)"));
    write("lug.ini", "[lv]\nColumns3=Dauer\n[Caption]\nStop=Angehalten\n");
    EXPECT_EQ(strings->LookUpText("lv", "Columns3", "Time"), QStringLiteral("Dauer"));
    EXPECT_EQ(strings->LookUpText("caption", "stop", "Stop"), QStringLiteral("Angehalten"));
    EXPECT_EQ(strings->LookUpText("lv", "Columns4", "Output Size"), QStringLiteral("Output Size"));
}

TEST_F(StringsFixture, NumberedStringsAndTheStatusLine)
{
    QByteArray lines;
    for (int n = 1; n <= 37; ++n)
        lines += QStringLiteral("line %1\r\n").arg(n).toLatin1();
    write("language.info", lines);

    EXPECT_EQ(strings->LoadInterfaceString(3), QStringLiteral("line 3"));
    EXPECT_EQ(skin.status.last(), QStringLiteral("line 3"));
    EXPECT_EQ(strings->LoadInterfaceString(25), QStringLiteral("line 25"));
    EXPECT_EQ(skin.status.last(), QStringLiteral("line 25 Convert."));
    EXPECT_EQ(strings->LoadInterfaceString(29), QStringLiteral("line 29"));
    EXPECT_EQ(skin.status.size(), 2); // message texts leave the status line alone
    EXPECT_TRUE(strings->LoadInterfaceString(40).isEmpty());

    converting = true;
    EXPECT_TRUE(strings->LoadInterfaceString(10).isEmpty());
    EXPECT_EQ(strings->LoadInterfaceString(26), QStringLiteral("line 26"));
    EXPECT_EQ(skin.status.size(), 2);
}

TEST_F(StringsFixture, MissingNumberedFileIsReported)
{
    EXPECT_TRUE(strings->LoadInterfaceString(27).isEmpty());
    ASSERT_EQ(boxes.calls.size(), 1);
    EXPECT_TRUE(boxes.calls[0].startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(boxes.calls[0].contains(QStringLiteral("language.info")));
}

TEST_F(StringsFixture, ShippedFilesFillEveryRoleAndKey)
{
    strings = std::make_unique<InterfaceStrings>(
        InterfaceStrings::Context{.programFolder = QStringLiteral(MARLO_DATA_DIR),
                                  .edition = edition,
                                  .skin = skin,
                                  .boxes = boxes,
                                  .converting = [] { return false; }});
    for (int n = 1; n <= 37; ++n) {
        if (n == 31 || n == 35 || n == 36)
            continue;
        EXPECT_FALSE(strings->LoadInterfaceString(n).trimmed().isEmpty()) << n;
    }
    // Every caption of the start-up pass is in the template, so translators see them all.
    IniFile lug(QStringLiteral(MARLO_DATA_DIR) + QStringLiteral("/lug.ini"));
    for (const CaptionEntry &e : captions::table())
        EXPECT_NE(lug.readString(e.section, e.key, QStringLiteral("\x01")), QStringLiteral("\x01"))
            << e.section << "/" << e.key;
    for (const char *key : {"No Video", "The Original Video Quliay", "The Original Audio Quliay",
                            "The original width and height", "Status"})
        EXPECT_EQ(lug.readString("Add", key, ""), QString::fromLatin1(key));
    EXPECT_EQ(lug.readString("Caption", "Failed", ""), QStringLiteral("Failed"));
}

TEST_F(StringsFixture, ListCaptionsComeFromTheStringTables)
{
    write("lug.ini", "[Video Quality]\nNormal=Mittel\n[channel]\nStereo=Zweikanal\n");
    FormatSettings format;
    captions::applyListCaptions(*strings, format);
    EXPECT_EQ(format.cb_videobitrate.items().at(2), QStringLiteral("Mittel"));
    EXPECT_EQ(format.cb_audiobitrate.items().at(2), QStringLiteral("Normal"));
    EXPECT_EQ(format.cb_channel.items(), (QStringList{" Mono", "Zweikanal"}));
    EXPECT_EQ(format.cb_channel.selected(), 1);
    EXPECT_EQ(format.finishItems.size(), 3);
}
