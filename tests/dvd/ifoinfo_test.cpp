#include "dvd/ifoinfo.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// The test DVD comes from tests/fixtures/make_dvd.sh: VTS_01 holds a 16:9 title with four
// chapters (the first of two cells), AC3 + MPEG audio and two subpictures; VTS_02 a 4:3 title
// with LPCM + DTS audio and one subpicture without language.

namespace
{

QString dvdRoot()
{
    return testenv::fixtureDir() + QStringLiteral("/dvd");
}

QString videoTs()
{
    return dvdRoot() + QStringLiteral("/VIDEO_TS");
}

QString ifoName(int titleSet)
{
    return QStringLiteral("VTS_%1_0.IFO").arg(titleSet, 2, 10, QLatin1Char('0'));
}

IfoFilePtr openIfo(const QString &path)
{
    return IfoFilePtr(ifoOpen(QFile::encodeName(path).constData(), 0));
}

// Runs a helper program and returns its standard output; empty when it could not run.
QByteArray runTool(const QString &program, const QStringList &arguments)
{
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty()) {
        ADD_FAILURE() << program.toStdString() << " is not installed";
        return {};
    }
    QProcess process;
    process.start(executable, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    return process.readAllStandardOutput();
}

// lsdvd -Oy prints a Python literal (after libdvdread's banner on stdout); turned into JSON.
QJsonObject lsdvdReport(const QString &root)
{
    const QByteArray output =
        runTool(QStringLiteral("lsdvd"), {QStringLiteral("-x"), QStringLiteral("-Oy"), root});
    const qsizetype start = output.indexOf("lsdvd = {");
    if (start < 0) {
        ADD_FAILURE() << "no lsdvd report in: " << output.toStdString();
        return {};
    }
    QString text = QString::fromUtf8(output.mid(start + 8));
    text.replace(QLatin1Char('\''), QLatin1Char('"'));
    text.replace(QRegularExpression(QStringLiteral(",(\\s*[\\]}])")), QStringLiteral("\\1"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        ADD_FAILURE() << "lsdvd report is not readable: " << error.errorString().toStdString();
    return document.object();
}

QJsonArray ffprobeStreams(const QString &vob)
{
    // The late subpicture is only found when the whole file is probed.
    const QByteArray output = runTool(
        QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-probesize"),
         QStringLiteral("200M"), QStringLiteral("-analyzeduration"), QStringLiteral("200M"),
         QStringLiteral("-show_entries"), QStringLiteral("stream=id,codec_type,width,height"),
         QStringLiteral("-of"), QStringLiteral("json"), vob});
    return QJsonDocument::fromJson(output).object().value(QStringLiteral("streams")).toArray();
}

int wholeSeconds(double seconds)
{
    return static_cast<int>(std::floor(seconds + 1e-6));
}

int secondsOf(uint8_t hours, uint8_t minutes, uint8_t seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

// The id in a description: the four characters before its first ")".
QString streamIdOf(const char *description)
{
    const QString text = QString::fromLatin1(description);
    const qsizetype close = text.indexOf(QLatin1Char(')'));
    return close < 4 ? QString() : text.mid(close - 4, 4);
}

// Everything the reader says about one file, for comparing two readings.
struct Snapshot {
    std::string video;
    std::vector<std::string> audio;
    std::vector<std::string> subPictures;
    std::vector<int> chainSeconds;
    std::vector<std::string> chainCells; // the raw 17-byte records of each chain

    bool operator==(const Snapshot &) const = default;
};

void PrintTo(const Snapshot &snapshot, std::ostream *out)
{
    *out << "{" << snapshot.video << "; " << snapshot.audio.size() << " audio; "
         << snapshot.subPictures.size() << " subpictures; " << snapshot.chainSeconds.size()
         << " chains}";
}

Snapshot snapshotOf(IfoHandle handle)
{
    Snapshot snapshot;
    snapshot.video = ifoGetVideoDesc(handle);
    for (int i = 0; i < ifoGetNumAudio(handle); ++i)
        snapshot.audio.emplace_back(ifoGetAudioDesc(handle, i));
    for (int i = 0; i < ifoGetNumSubPic(handle); ++i)
        snapshot.subPictures.emplace_back(ifoGetSubPicDesc(handle, i));
    for (int p = 0; p < ifoGetNumPGCI(handle); ++p) {
        IfoPlayingTime time{};
        const int cells = ifoGetPGCIInfo(handle, p, &time);
        std::string records(static_cast<std::size_t>(cells) * kIfoCellRecordSize, '\0');
        ifoGetPGCICells(handle, p, records.data());
        snapshot.chainSeconds.push_back(secondsOf(time.hours, time.minutes, time.seconds));
        snapshot.chainCells.push_back(records);
    }
    return snapshot;
}

Snapshot snapshotOfFile(const QString &path)
{
    const IfoFilePtr file = openIfo(path);
    EXPECT_NE(file.get(), nullptr) << path.toStdString();
    return file ? snapshotOf(file.get()) : Snapshot{};
}

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Copies the information files (IFO and BUP; the reader needs no VOB) into folder.
void copyInformationFiles(const QString &folder, bool lowerCaseNames)
{
    ASSERT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    const QStringList names =
        QDir(videoTs()).entryList({QStringLiteral("*.IFO"), QStringLiteral("*.BUP")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        const QString target = folder + QLatin1Char('/') + (lowerCaseNames ? name.toLower() : name);
        ASSERT_TRUE(copyFile(videoTs() + QLatin1Char('/') + name, target)) << target.toStdString();
    }
}

class IfoReaderDisc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(videoTs() + QStringLiteral("/VTS_01_0.IFO")))
            << "the test DVD is missing; run the dvd fixture (tests/fixtures/make_dvd.sh)";
    }
};

using IfoReaderPaths = IfoReaderDisc;
using IfoReaderBadInput = IfoReaderDisc;

TEST_F(IfoReaderDisc, TitlesCellsSectorsAndTimesAgreeWithLsdvd)
{
    const QJsonArray tracks = lsdvdReport(dvdRoot()).value(QStringLiteral("track")).toArray();
    ASSERT_FALSE(tracks.isEmpty());

    // lsdvd numbers titles across the disc; the reader lists the program chains of one title
    // set. dvdauthor gives title n of a set its chain n, so title ttn is chain ttn - 1.
    QMap<int, int> titlesPerSet;
    for (const QJsonValue &value : tracks) {
        const QJsonObject track = value.toObject();
        const int titleSet = track.value(QStringLiteral("vts")).toInt();
        const int chain = track.value(QStringLiteral("ttn")).toInt() - 1;
        ++titlesPerSet[titleSet];
        SCOPED_TRACE("title set " + std::to_string(titleSet) + ", chain " + std::to_string(chain));

        const IfoFilePtr file = openIfo(videoTs() + QLatin1Char('/') + ifoName(titleSet));
        ASSERT_NE(file.get(), nullptr);
        ASSERT_LT(chain, ifoGetNumPGCI(file.get()));

        IfoPlayingTime time{};
        const int cellCount = ifoGetPGCIInfo(file.get(), chain, &time);
        EXPECT_EQ(secondsOf(time.hours, time.minutes, time.seconds),
                  wholeSeconds(track.value(QStringLiteral("length")).toDouble()));

        const QJsonArray cells = track.value(QStringLiteral("cell")).toArray();
        ASSERT_EQ(cellCount, cells.size());
        QByteArray records(cellCount * static_cast<int>(kIfoCellRecordSize), '\x5a');
        ASSERT_EQ(ifoGetPGCICells(file.get(), chain, records.data()), cellCount);

        // A cell belongs to the last chapter that starts at or before it.
        const QJsonArray chapters = track.value(QStringLiteral("chapter")).toArray();
        auto chapterOfCell = [&chapters](int cellNumber) {
            int chapter = 0;
            for (const QJsonValue &c : chapters) {
                if (c.toObject().value(QStringLiteral("startcell")).toInt() <= cellNumber)
                    chapter = c.toObject().value(QStringLiteral("ix")).toInt();
            }
            return chapter;
        };

        // Read at the byte offsets of the record layout, as the title listing reads them.
        for (int c = 0; c < cellCount; ++c) {
            SCOPED_TRACE("cell " + std::to_string(c + 1));
            const QJsonObject cell = cells.at(c).toObject();
            const auto *record =
                reinterpret_cast<const uchar *>(records.constData()) + c * kIfoCellRecordSize;
            EXPECT_EQ(qFromLittleEndian<quint32>(record + 0),
                      cell.value(QStringLiteral("first_sector")).toInteger());
            EXPECT_EQ(qFromLittleEndian<quint32>(record + 4),
                      cell.value(QStringLiteral("last_sector")).toInteger());
            EXPECT_EQ(record[12], chapterOfCell(c + 1));
            EXPECT_EQ(secondsOf(record[13], record[14], record[15]),
                      wholeSeconds(cell.value(QStringLiteral("length")).toDouble()));
        }

        EXPECT_EQ(ifoGetNumAudio(file.get()),
                  track.value(QStringLiteral("audio")).toArray().size());
        EXPECT_EQ(ifoGetNumSubPic(file.get()),
                  track.value(QStringLiteral("subp")).toArray().size());
    }

    // Every program chain of a set is one of lsdvd's titles.
    for (auto it = titlesPerSet.cbegin(); it != titlesPerSet.cend(); ++it) {
        const IfoFilePtr file = openIfo(videoTs() + QLatin1Char('/') + ifoName(it.key()));
        EXPECT_EQ(ifoGetNumPGCI(file.get()), it.value()) << "title set " << it.key();
    }
}

TEST_F(IfoReaderDisc, StreamIdsAndPictureSizeAgreeWithFfprobe)
{
    for (int titleSet : {1, 2}) {
        SCOPED_TRACE("title set " + std::to_string(titleSet));
        const IfoFilePtr file = openIfo(videoTs() + QLatin1Char('/') + ifoName(titleSet));
        ASSERT_NE(file.get(), nullptr);

        std::set<std::string> readerAudio;
        for (int i = 0; i < ifoGetNumAudio(file.get()); ++i) {
            QString id = streamIdOf(ifoGetAudioDesc(file.get(), i));
            // MPEG audio 0xc0+n is the MPEG-PS stream 0x1c0+n.
            if (id.startsWith(QStringLiteral("0xc")))
                id = QStringLiteral("0x1c") + id.right(1);
            readerAudio.insert(id.toStdString());
        }
        std::set<std::string> readerSubPictures;
        for (int i = 0; i < ifoGetNumSubPic(file.get()); ++i)
            readerSubPictures.insert(streamIdOf(ifoGetSubPicDesc(file.get(), i)).toStdString());

        std::set<std::string> probedAudio;
        std::set<std::string> probedSubPictures;
        std::string probedSize;
        const QString vob =
            videoTs() + QStringLiteral("/VTS_%1_1.VOB").arg(titleSet, 2, 10, QLatin1Char('0'));
        for (const QJsonValue &value : ffprobeStreams(vob)) {
            const QJsonObject stream = value.toObject();
            const QString type = stream.value(QStringLiteral("codec_type")).toString();
            const std::string id = stream.value(QStringLiteral("id")).toString().toStdString();
            if (type == QLatin1String("audio"))
                probedAudio.insert(id);
            else if (type == QLatin1String("subtitle"))
                probedSubPictures.insert(id);
            else if (type == QLatin1String("video"))
                probedSize = std::to_string(stream.value(QStringLiteral("width")).toInt()) + 'x' +
                             std::to_string(stream.value(QStringLiteral("height")).toInt());
        }

        EXPECT_EQ(readerAudio, probedAudio);
        EXPECT_EQ(readerSubPictures, probedSubPictures);
        const QStringList videoWords =
            QString::fromLatin1(ifoGetVideoDesc(file.get())).split(QLatin1Char(' '));
        ASSERT_GE(videoWords.size(), 2);
        EXPECT_EQ(videoWords.at(1).toStdString(), probedSize);
    }
}

TEST_F(IfoReaderDisc, DescriptionsNameLanguageFormatChannelsAndId)
{
    struct Expected {
        int titleSet;
        std::string video;
        std::vector<std::string> audio;
        std::vector<std::string> subPictures;
    };
    // The MPEG track is the second in the list but the first MPEG stream (0xc0); dvdauthor
    // records the stereo DTS track as six channels.
    const Expected cases[] = {
        {1,
         "MPEG-2 720x576 PAL 16:9",
         {"English AC3 2ch (0x80)", "French MPEG-1 2ch (0xc0)"},
         {"English (0x20)", "French (0x21)"}},
        {2,
         "MPEG-2 352x288 PAL 4:3",
         {"German LPCM 2ch (0xa0)", "Unknown? DTS 6ch (0x88)"},
         {"Unknown? (0x20)"}},
    };
    for (const Expected &expected : cases) {
        SCOPED_TRACE("title set " + std::to_string(expected.titleSet));
        const Snapshot snapshot =
            snapshotOfFile(videoTs() + QLatin1Char('/') + ifoName(expected.titleSet));
        EXPECT_EQ(snapshot.video, expected.video);
        EXPECT_EQ(snapshot.audio, expected.audio);
        EXPECT_EQ(snapshot.subPictures, expected.subPictures);
    }
}

TEST_F(IfoReaderDisc, TextsAndCellsStayUntilClosed)
{
    const IfoFilePtr file = openIfo(videoTs() + QLatin1Char('/') + ifoName(1));
    ASSERT_NE(file.get(), nullptr);
    const char *video = ifoGetVideoDesc(file.get());
    const char *audio = ifoGetAudioDesc(file.get(), 0);
    const Snapshot before = snapshotOf(file.get());
    // Further calls must neither move nor rewrite texts already handed out.
    EXPECT_EQ(snapshotOf(file.get()), before);
    EXPECT_EQ(std::string(video), before.video);
    EXPECT_EQ(std::string(audio), before.audio.at(0));
}

TEST_F(IfoReaderPaths, OpensCopiesInAnyFolderLayout)
{
    struct Layout {
        const char *name;
        QString folder; // where the information files go, below a temporary folder
        bool lowerCaseNames;
    };
    const Layout layouts[] = {
        {"blanks, quotes and non-ASCII letters",
         QString::fromUtf8("my DVD 'x' \"y\" \xc3\xa4\xc3\xb6\xc3\xbc \xc3\x9f/VIDEO_TS"), false},
        {"mixed-case VIDEO_TS folder", QStringLiteral("disc/Video_Ts"), false},
        {"lower-case folder and files", QStringLiteral("disc/video_ts"), true},
        {"no VIDEO_TS folder", QString::fromUtf8("r\xc3\xa9pertoire plat"), false},
    };
    const Snapshot original[] = {snapshotOfFile(videoTs() + QLatin1Char('/') + ifoName(1)),
                                 snapshotOfFile(videoTs() + QLatin1Char('/') + ifoName(2))};

    for (const Layout &layout : layouts) {
        SCOPED_TRACE(layout.name);
        QTemporaryDir temporary;
        ASSERT_TRUE(temporary.isValid());
        const QString folder = temporary.path() + QLatin1Char('/') + layout.folder;
        ASSERT_NO_FATAL_FAILURE(copyInformationFiles(folder, layout.lowerCaseNames));
        for (int titleSet : {1, 2}) {
            const QString name =
                layout.lowerCaseNames ? ifoName(titleSet).toLower() : ifoName(titleSet);
            EXPECT_EQ(snapshotOfFile(folder + QLatin1Char('/') + name), original[titleSet - 1]);
        }
    }
}

TEST_F(IfoReaderBadInput, GivesNoHandle)
{
    const QByteArray validIfo = readFile(videoTs() + QLatin1Char('/') + ifoName(1));
    ASSERT_FALSE(validIfo.isEmpty());
    QByteArray randomBytes(12288, '\0');
    QRandomGenerator generator(20240611);
    for (char &byte : randomBytes)
        byte = static_cast<char>(generator.bounded(256));

    struct Case {
        const char *name;
        QString file;       // relative to a temporary folder; empty: the empty path
        QByteArray content; // written as the file unless writeAsFolder or leaveMissing
        bool writeAsFolder;
        bool leaveMissing;
    };
    const QString vts = QStringLiteral("VIDEO_TS/") + ifoName(1);
    const Case cases[] = {
        {"empty path", QString(), {}, false, false},
        {"missing file", vts, {}, false, true},
        {"folder instead of file", QStringLiteral("VIDEO_TS"), {}, true, false},
        {"folder named like the IFO", vts, {}, true, false},
        {"empty file", vts, QByteArray(), false, false},
        {"random bytes", vts, randomBytes, false, false},
        {"truncated inside the header", vts, validIfo.left(100), false, false},
        {"truncated after the first sector", vts, validIfo.left(2048), false, false},
        {"truncated inside the tables", vts, validIfo.left(5000), false, false},
        {"last byte missing", vts, validIfo.left(validIfo.size() - 1), false, false},
        {"menu information file", QStringLiteral("VIDEO_TS/VIDEO_TS.IFO"),
         readFile(videoTs() + QStringLiteral("/VIDEO_TS.IFO")), false, false},
        {"name without title set number", QStringLiteral("VIDEO_TS/movie.ifo"), validIfo, false,
         false},
        {"title set 00", QStringLiteral("VIDEO_TS/VTS_00_0.IFO"), validIfo, false, false},
    };

    EXPECT_EQ(ifoOpen(nullptr, 0), nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        ASSERT_TRUE(temporary.isValid());
        ASSERT_TRUE(QDir(temporary.path()).mkpath(QStringLiteral("VIDEO_TS")));
        QString path;
        if (!c.file.isEmpty()) {
            path = temporary.path() + QLatin1Char('/') + c.file;
            if (c.writeAsFolder) {
                ASSERT_TRUE(QDir().mkpath(path));
            } else if (!c.leaveMissing) {
                ASSERT_TRUE(writeFile(path, c.content));
            }
        }
        const IfoFilePtr file = openIfo(path);
        EXPECT_EQ(file.get(), nullptr);
    }
}

TEST_F(IfoReaderBadInput, DamagedIfoIsReadFromItsBackup)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString folder = temporary.path() + QStringLiteral("/VIDEO_TS");
    ASSERT_NO_FATAL_FAILURE(copyInformationFiles(folder, false));
    const QString ifo = folder + QLatin1Char('/') + ifoName(1);
    ASSERT_TRUE(writeFile(ifo, readFile(ifo).left(5000)));

    EXPECT_EQ(snapshotOfFile(ifo), snapshotOfFile(videoTs() + QLatin1Char('/') + ifoName(1)));
}

TEST_F(IfoReaderBadInput, CorruptedCopiesNeverCrash)
{
    const QByteArray validIfo = readFile(videoTs() + QLatin1Char('/') + ifoName(1));
    ASSERT_FALSE(validIfo.isEmpty());
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString path = temporary.path() + QLatin1Char('/') + ifoName(1);

    // Random bytes changed in the header attributes and in the tables after the first sector;
    // whatever opens must answer every call within the sizes it reports.
    QRandomGenerator generator(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = validIfo;
        const int changes = generator.bounded(1, 16);
        for (int i = 0; i < changes; ++i) {
            const int position = generator.bounded(2)
                                     ? generator.bounded(0x100, 0x400)
                                     : generator.bounded(0x800, static_cast<int>(damaged.size()));
            damaged[position] = static_cast<char>(generator.bounded(256));
        }
        ASSERT_TRUE(writeFile(path, damaged));
        const IfoFilePtr file = openIfo(path);
        if (!file)
            continue;
        const Snapshot snapshot = snapshotOf(file.get());
        for (const std::string &description : snapshot.audio)
            EXPECT_EQ(streamIdOf(description.c_str()).size(), 4) << description;
        for (const std::string &description : snapshot.subPictures)
            EXPECT_EQ(streamIdOf(description.c_str()).size(), 4) << description;
    }
}

TEST(IfoReaderCalls, NullHandleAndBadIndicesGiveZeroAndEmptyTexts)
{
    IfoPlayingTime time{1, 2, 3, 4};
    char cells[kIfoCellRecordSize] = {};
    EXPECT_EQ(ifoGetNumPGCI(nullptr), 0);
    EXPECT_EQ(ifoGetPGCIInfo(nullptr, 0, &time), 0);
    EXPECT_EQ(secondsOf(time.hours, time.minutes, time.seconds), 0);
    EXPECT_EQ(ifoGetPGCICells(nullptr, 0, cells), 0);
    EXPECT_STREQ(ifoGetVideoDesc(nullptr), "");
    EXPECT_EQ(ifoGetNumAudio(nullptr), 0);
    EXPECT_STREQ(ifoGetAudioDesc(nullptr, 0), "");
    EXPECT_EQ(ifoGetNumSubPic(nullptr), 0);
    EXPECT_STREQ(ifoGetSubPicDesc(nullptr, 0), "");
    ifoClose(nullptr);

    const IfoFilePtr file = openIfo(videoTs() + QLatin1Char('/') + ifoName(1));
    ASSERT_NE(file.get(), nullptr) << "the test DVD is missing";
    const IfoHandle handle = file.get();
    EXPECT_GT(ifoGetPGCIInfo(handle, 0, nullptr), 0);
    EXPECT_EQ(ifoGetPGCICells(handle, 0, nullptr), 0);
    for (int pgc : {-1, ifoGetNumPGCI(handle), 1000}) {
        time = IfoPlayingTime{1, 2, 3, 4};
        QByteArray untouched(64, '\x5a');
        EXPECT_EQ(ifoGetPGCIInfo(handle, pgc, &time), 0) << pgc;
        EXPECT_EQ(secondsOf(time.hours, time.minutes, time.seconds), 0) << pgc;
        EXPECT_EQ(ifoGetPGCICells(handle, pgc, untouched.data()), 0) << pgc;
        EXPECT_EQ(untouched, QByteArray(64, '\x5a')) << pgc;
    }
    for (int index : {-1, ifoGetNumAudio(handle)})
        EXPECT_STREQ(ifoGetAudioDesc(handle, index), "") << index;
    for (int index : {-1, ifoGetNumSubPic(handle)})
        EXPECT_STREQ(ifoGetSubPicDesc(handle, index), "") << index;
}

} // namespace
