// The title and chapter listing over a scripted IFO reader: which program chains
// and cells become rows, their captions, sectors, times and stream ids.
#include "dvd/dvdtables.h"
#include "dvd/titlelisting.h"

#include "core/joblist.h"
#include "core/textlookup.h"

#include "support/testenv.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

struct Cell {
    uint32_t first, last;
    uint8_t program;
    int seconds;
};

struct Pgc {
    int seconds;
    std::vector<Cell> cells;
};

class ScriptedIfo : public IfoSource
{
public:
    std::vector<Pgc> pgcs;
    QStringList audio{QStringLiteral("English AC3 6ch (0x80)"), QStringLiteral("German AC3 2ch (0x81)")};
    QStringList subs{QStringLiteral("English (0x20)")};
    QString video = QStringLiteral("MPEG-2 720x576 PAL 16:9");
    bool opens = true;

    bool open(const QString &) override { return opens; }
    int numPgci() override { return int(pgcs.size()); }
    int pgciInfo(int p, IfoPlayingTime &t) override
    {
        const int s = pgcs[size_t(p)].seconds;
        t = {uint8_t(s / 3600), uint8_t(s / 60 % 60), uint8_t(s % 60), 0};
        return int(pgcs[size_t(p)].cells.size());
    }
    std::vector<IfoCellRecord> cells(int p, int) override
    {
        std::vector<IfoCellRecord> out;
        for (const Cell &c : pgcs[size_t(p)].cells) {
            IfoCellRecord r{};
            r.firstSector = c.first;
            r.lastSector = c.last;
            r.programNumber = c.program;
            r.hours = uint8_t(c.seconds / 3600);
            r.minutes = uint8_t(c.seconds / 60 % 60);
            r.seconds = uint8_t(c.seconds % 60);
            out.push_back(r);
        }
        return out;
    }
    QString videoDesc() override { return video; }
    int numAudio() override { return int(audio.size()); }
    QString audioDesc(int i) override { return i < audio.size() ? audio[i] : QString(); }
    int numSubPic() override { return int(subs.size()); }
    QString subPicDesc(int i) override { return i < subs.size() ? subs[i] : QString(); }
};

class Texts : public TextLookup
{
public:
    QString LookUpText(const QString &, const QString &, const QString &def) const override
    {
        return def;
    }
    QString LoadInterfaceString(int) override { return {}; }
};

struct Rig {
    JobList jobs;
    DvdTables tables;
    Texts texts;
    ScriptedIfo ifo;
    TitleListing listing{{.jobs = jobs,
                          .tables = tables,
                          .texts = texts,
                          .reader = ifo,
                          .setEstimateRow = {},
                          .outputSize = [](int64_t s) { return QString::number(s) + " KB"; }}};
    void read(bool chapters)
    {
        tables.titleView = !chapters;
        tables.ifoFiles.push_back({});
        listing.readIfo(QStringLiteral("/dvd/VIDEO_TS/VTS_01_0.IFO"));
    }
    QStringList captions() const
    {
        QStringList out;
        for (int r = 0; r < jobs.rowCount(); ++r)
            out << jobs.caption(r);
        return out;
    }
};

} // namespace

TEST(TitleListing, SkipsEmptyAndShortTitlesAndNumbersWithoutGaps)
{
    Rig r;
    r.ifo.pgcs = {{0, {{0, 50000, 1, 10}}},              // no playing time
                  {600, {{0, 5000, 1, 300}, {5001, 9000, 1, 300}}},
                  {30, {{10000, 10400, 1, 20}, {10401, 10900, 1, 10}}}, // 600 sectors from its begin
                  {3661, {{20000, 90000, 1, 3661}}}};    // a single cell
    r.read(false);
    EXPECT_EQ(r.captions(), (QStringList{"Title_01", "Title_02"}));
    const TConvertInfo &first = r.jobs.convertInfos()[0];
    EXPECT_EQ(first.beginSector, 300) << "the first long cell followed by program 1, + 300";
    EXPECT_EQ(first.endSector, 9000);
    EXPECT_EQ(first.audioId, QStringLiteral("0x80"));
    EXPECT_EQ(first.subtitleId, QStringLiteral("0"));
    EXPECT_EQ(first.duration, 600);
    EXPECT_EQ(first.endTime, 600);
    EXPECT_EQ(r.jobs.dvdRanges()[0].isTitle, 1);
    // A single cell has no next cell: the title starts at sector 0.
    EXPECT_EQ(r.jobs.convertInfos()[1].beginSector, 0);
    EXPECT_EQ(r.jobs.cell(1, JobList::TimeColumn), QStringLiteral("01:01:01"));
    EXPECT_EQ(r.jobs.cell(1, JobList::SizeColumn), QStringLiteral("720x576"));
    EXPECT_EQ(r.jobs.cell(1, JobList::OutputSizeColumn), QStringLiteral("3661 KB"));
    EXPECT_EQ(r.jobs.status(1), QStringLiteral("Status"));
    const Toriginalinfo &facts = r.jobs.originalInfo(0);
    EXPECT_EQ(facts.videoFormat, QStringLiteral("MPEG-2 "));
    EXPECT_EQ(facts.audioFormat, QStringLiteral("German ")) << "the description of stream 1";
    const TIFOSelint &file = r.tables.ifoFiles.back();
    EXPECT_EQ(file.firstRow, 0);
    EXPECT_EQ(file.rowEnd, 2);
    EXPECT_EQ(file.audioCount, 2);
    EXPECT_EQ(file.subPicDescs, QStringList{"English (0x20)"});
    // A second file continues the numbering.
    r.read(false);
    EXPECT_EQ(r.captions().last(), QStringLiteral("Title_04"));
    EXPECT_EQ(r.tables.ifoFiles.back().firstRow, 2);
}

TEST(TitleListing, ChapterRowsStandForTheLastCellOfEachChapter)
{
    Rig r;
    r.ifo.pgcs = {{100, {{0, 2000, 1, 10}, {2001, 4000, 1, 20}, {4001, 6000, 2, 30},
                         {6001, 8000, 2, 25}, {8001, 8500, 3, 15}}}};
    r.read(true);
    EXPECT_EQ(r.captions(),
              (QStringList{"Title_01", "  Chapter_02", "  Chapter_04"}))
        << "the third chapter is under 1000 sectors";
    // The title row of the chapter view starts at its first cell.
    EXPECT_EQ(r.jobs.dvdRanges()[0].beginSector, 0);
    EXPECT_EQ(r.jobs.convertInfos()[0].beginSector, 300);
    const TConvertInfo &c2 = r.jobs.convertInfos()[1];
    EXPECT_EQ(c2.beginSector, 2001);
    EXPECT_EQ(c2.endSector, 4000);
    EXPECT_EQ(c2.beginTime, 10) << "only the cell just before is added";
    EXPECT_EQ(c2.endTime, 30);
    const TConvertInfo &c4 = r.jobs.convertInfos()[2];
    EXPECT_EQ(c4.beginTime, 10 + 30);
    EXPECT_EQ(c4.endTime, 40 + 25);
    EXPECT_EQ(r.jobs.dvdRanges()[2].isTitle, 0);
    EXPECT_EQ(r.jobs.dvdRanges()[2].beginTime, 40);
    EXPECT_TRUE(r.jobs.originalInfo(1).videoFormat.isEmpty());
}

TEST(TitleListing, RulesOfTheTexts)
{
    struct Case {
        const char *description, *id;
    };
    for (const Case &c : {Case{"English AC3 6ch (0x80)", "0x80"}, Case{"(1)", "(1"},
                          Case{"no parenthesis", "0"}, Case{"", "0"}, Case{"x (0x21) (0x22)", "0x21"}})
        EXPECT_EQ(TitleListing::streamIdOf(QString::fromLatin1(c.description)),
                  QString::fromLatin1(c.id))
            << c.description;
    EXPECT_EQ(TitleListing::twoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(TitleListing::twoDigits(123), QStringLiteral("123"));
    EXPECT_EQ(TitleListing::pictureSizeWord(QStringLiteral("MPEG-2 720x480 NTSC")),
              QStringLiteral("720x480"));
    EXPECT_EQ(TitleListing::pictureSizeWord(QStringLiteral("MPEG-2 720x480")), QString());

    // No audio streams: the id is "0"; the hundredth row is "Title_100".
    Rig r;
    r.ifo.audio.clear();
    for (int i = 0; i < 99; ++i)
        r.jobs.appendRow(QStringLiteral("earlier"));
    r.ifo.pgcs = {{60, {{0, 5000, 1, 60}}}};
    r.read(false);
    EXPECT_EQ(r.jobs.caption(99), QStringLiteral("Title_100"));
    EXPECT_EQ(r.jobs.convertInfos()[99].audioId, QStringLiteral("0"));
    // A file that cannot be opened adds nothing and keeps only its path.
    Rig broken;
    broken.ifo.opens = false;
    broken.read(false);
    EXPECT_EQ(broken.jobs.rowCount(), 0);
    EXPECT_EQ(broken.tables.ifoFiles.back().ifoPath, QStringLiteral("/dvd/VIDEO_TS/VTS_01_0.IFO"));
}

TEST(DvdTables, LongestRowAndReset)
{
    std::vector<TConvertInfo> infos(3);
    const int spans[] = {500, 900, 900};
    for (int i = 0; i < 3; ++i)
        infos[size_t(i)].endSector = spans[i];
    EXPECT_EQ(longestRow(infos, 3), 1);
    EXPECT_EQ(longestRow({}, 0), 0);
    EXPECT_EQ(longestRow(std::vector<TConvertInfo>(2), 2), 0);

    DvdTables t;
    t.setAudioChoice(600, 2); // beyond the old fixed table: the choices grow
    t.setSubtitleChoice(3, 1);
    t.store(1, false);
    t.ifoFiles.push_back({});
    resetDvdTables(t, infos);
    EXPECT_TRUE(t.ifoFiles.empty());
    EXPECT_TRUE(infos.empty());
    EXPECT_FALSE(t.titleChecks);
    EXPECT_EQ(t.audioChoiceOf(600), 0);
    EXPECT_EQ(t.subtitleChoiceOf(3), 0);
    EXPECT_EQ(t.audioChoiceOf(9999), 0);
}

namespace
{

QString fixtureVideoTs()
{
    return testenv::fixtureDir() + QStringLiteral("/dvd/VIDEO_TS");
}

} // namespace

// The library's reader on the generated test DVD: each view lists every title,
// the chapters of a title add up to it, and the ids are the reader's.
TEST(TitleListingDisc, BothViewsOfTheTestDisc)
{
    const QString ifo = fixtureVideoTs() + QStringLiteral("/VTS_01_0.IFO");
    ASSERT_TRUE(QFileInfo::exists(ifo)) << ifo.toStdString();
    for (bool chapters : {false, true}) {
        JobList jobs;
        DvdTables tables;
        tables.titleView = !chapters;
        Texts texts;
        const std::unique_ptr<IfoSource> reader = makeIfoReader();
        TitleListing listing({.jobs = jobs, .tables = tables, .texts = texts, .reader = *reader,
                              .setEstimateRow = {}, .outputSize = {}});
        tables.ifoFiles.push_back({});
        listing.readIfo(ifo);
        ASSERT_GT(jobs.rowCount(), 0) << chapters;
        int titles = 0;
        int64_t titleSeconds = 0, chapterSeconds = 0;
        for (int row = 0; row < jobs.rowCount(); ++row) {
            const TConvertInfo &info = jobs.convertInfos()[size_t(row)];
            EXPECT_GT(info.duration, 0);
            EXPECT_GE(info.endSector - info.beginSector, 1000);
            EXPECT_EQ(info.ifoPath, ifo);
            if (jobs.dvdRanges()[size_t(row)].isTitle) {
                ++titles;
                titleSeconds += info.duration;
                EXPECT_TRUE(jobs.caption(row).startsWith(QStringLiteral("Title_")));
                EXPECT_EQ(info.audioId, TitleListing::streamIdOf(tables.ifoFiles.back().audioDescs.value(0)));
            } else {
                chapterSeconds += info.duration;
                EXPECT_TRUE(jobs.caption(row).startsWith(QStringLiteral("  Chapter_")));
            }
        }
        if (!chapters) {
            EXPECT_EQ(titles, jobs.rowCount());
            continue;
        }
        EXPECT_GT(jobs.rowCount(), titles) << "the test disc's titles have chapters";
        // A chapter row stands for its chapter's last cell: its times lie inside the title.
        EXPECT_LE(chapterSeconds, titleSeconds);
        int64_t title = 0;
        for (int row = 0; row < jobs.rowCount(); ++row) {
            const TConvertInfo &info = jobs.convertInfos()[size_t(row)];
            if (jobs.dvdRanges()[size_t(row)].isTitle) {
                title = info.duration;
                continue;
            }
            EXPECT_GE(info.beginTime, 0);
            EXPECT_LE(info.endTime, title) << row;
        }
    }
}

#include "dvd/streamchoice.h"

TEST(StreamChoice, ListsShowTheRowsFileAndChangesSetTheIds)
{
    Rig r;
    r.ifo.audio = {QStringLiteral("English AC3 6ch (0x80)"), QStringLiteral("Unknown? AC3 2ch (0x81)"),
                   QStringLiteral("no name 0x82)")};
    r.ifo.subs = {QStringLiteral("French (0x21)")};
    r.ifo.pgcs = {{60, {{0, 5000, 1, 60}}}, {90, {{6000, 12000, 1, 90}}}};
    r.read(false);
    QStringList audio, subtitles;
    int audioAt = -1, subtitleAt = -1;
    StreamChoice choice({.jobs = r.jobs,
                         .tables = r.tables,
                         .texts = r.texts,
                         .showAudio = [&](const QStringList &items, int at) { audio = items; audioAt = at; },
                         .showSubtitles =
                             [&](const QStringList &items, int at) { subtitles = items; subtitleAt = at; }});
    r.jobs.selectOnly(0);
    choice.fillStreamLists(0);
    EXPECT_EQ(audio, (QStringList{"English AC3 6ch ", "Unknown Audio", ""}));
    EXPECT_EQ(subtitles, (QStringList{"No Subtitle", "French "}));
    EXPECT_EQ(audioAt, 0);
    EXPECT_EQ(subtitleAt, 0);
    choice.cb_audioChange(2);
    EXPECT_EQ(r.jobs.convertInfos()[0].audioId, QStringLiteral("0x82")) << "kept without a name";
    choice.cb_subtitleChange(1);
    EXPECT_EQ(r.jobs.convertInfos()[0].subtitleId, QStringLiteral("0x21"));
    choice.cb_subtitleChange(0);
    EXPECT_EQ(r.jobs.convertInfos()[0].subtitleId, QStringLiteral("0"));
    choice.cb_subtitleChange(1);
    // The other row of the file shows its own choices; the first keeps its own.
    r.jobs.selectOnly(1);
    choice.fillStreamLists(1);
    EXPECT_EQ(audioAt, 0);
    EXPECT_EQ(subtitleAt, 0);
    EXPECT_EQ(r.jobs.convertInfos()[1].audioId, QStringLiteral("0x80"));
    choice.fillStreamLists(0);
    EXPECT_EQ(audioAt, 2);
    EXPECT_EQ(subtitleAt, 1);
    // A row no file claims leaves the lists alone.
    audio.clear();
    choice.fillStreamLists(7);
    EXPECT_TRUE(audio.isEmpty());
}
