#include "core/lineassembler.h"

#include <QByteArray>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace
{

QStringList assemble(const std::vector<QByteArray> &pieces)
{
    QStringList lines;
    LineAssembler assembler([&lines](const QString &line) { lines << line; });
    for (const QByteArray &piece : pieces)
        assembler.feed(piece);
    return lines;
}

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(LineAssembler, ConsoleRules)
{
    const struct {
        const char *name;
        std::vector<QByteArray> pieces;
        QStringList lines;
    } cases[] = {
        {"line feed completes, the empty rest is reported at the piece end",
         {"abc\n"},
         {"abc", ""}},
        {"several lines in one piece", {"one\ntwo\nthr"}, {"one", "two", "thr"}},
        {"unfinished line reported after every piece", {"ab", "c", "\n"}, {"ab", "abc", "abc", ""}},
        {"carriage return overwrites and keeps the tail", {"abcdef\rXY"}, {"XYcdef"}},
        {"shorter text after a carriage return, completed later",
         {"long line\r", "short\n"},
         {"long line", "shortline", ""}},
        {"NUL and BEL become blanks", {QByteArray("a\0b\ac\n", 6)}, {"a b c", ""}},
        {"backspace moves left and is overwritten", {"abc\b\bX\n"}, {"aXc", ""}},
        {"backspace stops at column 0", {"\b\bab\n"}, {"ab", ""}},
        {"tab writes eight blanks", {"a\tb\n"}, {"a        b", ""}},
        {"tab overwrites after a carriage return", {"0123456789\r\tX\n"}, {"        X9", ""}},
        {"encoder progress pieces ending in carriage returns",
         {"frame=  100 fps= 25 time=4.00 bitrate= 512.0kbits/s\r",
          "frame=  150 fps= 25 time=6.00 bitrate= 511.9kbits/s\r"},
         {"frame=  100 fps= 25 time=4.00 bitrate= 512.0kbits/s",
          "frame=  150 fps= 25 time=6.00 bitrate= 511.9kbits/s"}},
        {"carriage return then line feed ends a progress run",
         {"size=  10kB time=1.00\r", "Lsize= 20kB\n"},
         {"size=  10kB time=1.00", "Lsize= 20kB time=1.00", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(assemble(c.pieces), c.lines) << c.name;
}

TEST(LineAssembler, Utf8SplitAcrossPieces)
{
    const struct {
        const char *name;
        std::vector<QByteArray> pieces;
        QStringList lines;
    } cases[] = {
        {"two-byte letter", {"\xc3", "\xa4x\n"}, {"", u("\xc3\xa4x"), ""}},
        {"three-byte letter between pieces",
         {"a\xe6\x98", "\xa0", "b\n"},
         {"a", u("a\xe6\x98\xa0"),
          u("a\xe6\x98\xa0"
            "b"),
          ""}},
        // A four-byte character is one column: backspace steps over all of it.
        {"four-byte character counts as one column", {"\xf0\x9f", "\x8e\xac\b!\n"}, {"", "!", ""}},
        {"carriage return over letters", {"vid\xc3\xa9o\rab\n"}, {u("abd\xc3\xa9o"), ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(assemble(c.pieces), c.lines) << c.name;
}

TEST(LineAssembler, UnfinishedLineStaysCurrent)
{
    QStringList lines;
    LineAssembler assembler([&lines](const QString &line) { lines << line; });
    assembler.feed("time=1.00 bitrate=\rtime=2");
    EXPECT_EQ(assembler.currentLine(), QStringLiteral("time=2.00 bitrate="));
    EXPECT_EQ(assembler.cursor(), 6);
    assembler.feed(QByteArray());
    EXPECT_EQ(lines, QStringList{QStringLiteral("time=2.00 bitrate=")});
    assembler.feed(".50\n");
    EXPECT_EQ(assembler.currentLine(), QString());
    EXPECT_EQ(assembler.cursor(), 0);
    EXPECT_EQ(lines.value(1), QStringLiteral("time=2.50 bitrate="));
}

} // namespace

// Pieces are cut anywhere; lines are kept by the completion handler, which hears
// each line once, whole, and the last one without a line feed at the end.
TEST(LineAssembler, CompletedLinesArriveOnceAndWhole)
{
    QStringList completed;
    LineAssembler assembler({}, [&completed](const QString &line) { completed << line; });
    for (const QByteArray &piece :
         {QByteArray("Input #0, av"), QByteArray("i\nframe=1 time=00:00:01.00"),
          QByteArray(" bitrate=1\rframe=2 time=00:00:02.00 bitrate=1\r"),
          QByteArray("\nclip.avi: Invalid da"), QByteArray("ta")})
        assembler.feed(piece);
    EXPECT_EQ(completed, (QStringList{QStringLiteral("Input #0, avi"),
                                      QStringLiteral("frame=2 time=00:00:02.00 bitrate=1")}));
    assembler.finish();
    EXPECT_EQ(completed.last(), QStringLiteral("clip.avi: Invalid data"));
    assembler.finish();
    EXPECT_EQ(completed.size(), 3);
}
