#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(ini.readString("s", "k", "def"), QStringLiteral("def"));
    EXPECT_EQ(ini.readInt("s", "k", 7), 7);
    EXPECT_TRUE(ini.readBool("s", "k", true));
    EXPECT_FALSE(QFileInfo::exists(ini.path())); // reading never creates the file
}

TEST(IniFile, ReadsLikeTheSettingsExpect)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    writeAll(path, "; comment\r\n[Profiles]\r\nSelcetIndex = 3\r\nselcetindex=9\r\n"
                   "[27]\nvideo bitrate=4\nsize=abc\nChannel=12x\nneg=-2\n[Bjoin]\nBjoin=5\n"
                   "off=0\n[output]\npath=/home/me/My Video/\n[profiles]\nlater=1\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInt("profiles", "selcetindex", 0), 3); // any case; first wins
    EXPECT_EQ(ini.readInt("27", "VIDEO BITRATE", 0), 4);     // keys with blanks
    EXPECT_EQ(ini.readInt("27", "size", -1), -1);            // not a number
    EXPECT_EQ(ini.readInt("27", "Channel", -1), -1);         // trailing garbage
    EXPECT_EQ(ini.readInt("27", "neg", 0), -2);
    EXPECT_TRUE(ini.readBool("Bjoin", "Bjoin", false)); // any non-zero is true
    EXPECT_FALSE(ini.readBool("Bjoin", "off", true));
    EXPECT_EQ(ini.readString("output", "path", ""), QStringLiteral("/home/me/My Video/"));
    EXPECT_EQ(ini.readString("missing", "path", "d"), QStringLiteral("d"));
    // A second section of the same name is searched too, for keys the first lacks.
    EXPECT_EQ(ini.readInt("profiles", "later", 0), 1);
}

TEST(IniFile, WritesReplaceInPlaceAndKeepEverythingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/folder/b.ini"));
    IniFile ini(path);
    ASSERT_TRUE(ini.writeInt("27", "video bitrate", 3)); // creates folder and file
    ASSERT_TRUE(ini.writeString("output", "path", "/tmp/ünï code/"));
    ASSERT_TRUE(ini.writeInt("27", "Channel", 1));
    ASSERT_TRUE(ini.writeInt("27", "VIDEO BITRATE", 4));
    ASSERT_TRUE(ini.writeBool("Bjoin", "Bjoin", true));
    EXPECT_EQ(ini.readInt("27", "video bitrate", 0), 4);
    EXPECT_EQ(ini.readInt("27", "Channel", 0), 1);
    EXPECT_EQ(ini.readString("output", "path", ""), QStringLiteral("/tmp/ünï code/"));
    EXPECT_EQ(QString::fromUtf8(readAll(path)),
              QStringLiteral("[27]\nvideo bitrate=4\nChannel=1\n[output]\npath=/tmp/ünï code/\n"
                             "[Bjoin]\nBjoin=1\n"));
}

// A folder name may hold a line break on Linux; written as it is, it would split the
// line and leave a second, foreign key behind.
TEST(IniFile, RefusesValuesThatWouldNotReadBackWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.ini"));
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString("output", "path", "/tmp/old/"));
    const QByteArray before = readAll(path);
    struct Case {
        const char *section, *key, *value;
    };
    for (const Case &c : {Case{"output", "path", "/tmp/a\n[Profiles]\nselcetsubindex=5/"},
                          Case{"output", "path", "/tmp/a\rb/"}, Case{"output", "pa\nth", "/tmp/"},
                          Case{"out\nput", "path", "/tmp/"}}) {
        EXPECT_FALSE(ini.writeString(c.section, c.key, c.value)) << c.value;
        EXPECT_EQ(readAll(path), before) << c.value;
    }
    EXPECT_EQ(ini.readString("output", "path", ""), QStringLiteral("/tmp/old/"));
    EXPECT_EQ(ini.readInt("Profiles", "selcetsubindex", -1), -1);
}

TEST(IniFile, AWriteThatFailsHalfwayLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.ini"));
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString("output", "path", "/short/"));
    const QByteArray before = readAll(path);

    // Let no file grow past 40 bytes: the new contents are cut off partway, as by a full disk.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.writeString("output", "path", QString(200, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.ini")});
}

TEST(IniFile, WritesGoThroughATemporaryFileAndARename)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.ini"));
    IniFile ini(path);
    ASSERT_TRUE(ini.writeInt("s", "k", 1));
    QFile original(path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly)); // a reader holding the old file
    ASSERT_TRUE(ini.writeInt("s", "k", 2));
    // The open reader still sees the complete old contents: the new file replaced it whole.
    EXPECT_EQ(original.readAll(), QByteArray("[s]\nk=1\n"));
    EXPECT_EQ(readAll(path), QByteArray("[s]\nk=2\n"));
}
