// Add DVD and Add IFO over a scripted IFO reader and real folders: which files
// the search reads, the refusals and messages, ticks and the longest row.
#include "dvd/dvddiscovery.h"
#include "dvd/dvdtables.h"
#include "dvd/titlelisting.h"

#include "core/fileimporter.h"
#include "core/joblist.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// Every file gives one title whose length is its name's number of letters, so
// each row tells which file it came from; "empty" files give none.
class NamedIfo : public IfoSource
{
public:
    QStringList opened;
    bool open(const QString &path) override
    {
        opened << QFileInfo(path).fileName();
        m_titles = QFileInfo(path).fileName().contains(QLatin1String("empty")) ? 0 : 1;
        m_length = int(QFileInfo(path).fileName().size());
        return true;
    }
    int numPgci() override { return m_titles; }
    int pgciInfo(int, IfoPlayingTime &t) override
    {
        t = {0, 0, uint8_t(m_length), 0};
        return 1;
    }
    std::vector<IfoCellRecord> cells(int, int) override
    {
        IfoCellRecord r{};
        r.lastSector = uint32_t(1000 * m_length);
        r.programNumber = 1;
        r.seconds = uint8_t(m_length);
        return {r};
    }
    QString videoDesc() override { return QStringLiteral("MPEG-2 720x576 PAL"); }
    int numAudio() override { return 0; }
    QString audioDesc(int) override { return {}; }
    int numSubPic() override { return 0; }
    QString subPicDesc(int) override { return {}; }

private:
    int m_titles = 1, m_length = 1;
};

struct ScriptedDialogs : FileDialogs {
    QString folder;
    QStringList ifos;
    QStringList chooseFiles() override { return {}; }
    QString chooseFolder(const QString &) override { return folder; }
    QStringList chooseIfoFiles() override { return ifos; }
};

struct Rig {
    JobList jobs;
    DvdTables tables;
    FakeTexts texts;
    NamedIfo ifo;
    RecordingBoxes boxes;
    CountingCommands commands;
    ScriptedDialogs dialogs;
    bool converting = false, previewing = false, optical = false;
    int waits = 0, clicks = 0;
    TitleListing listing{{.jobs = jobs, .tables = tables, .texts = texts, .reader = ifo,
                          .setEstimateRow = {}, .outputSize = {}}};
    DvdDiscovery discovery{{.jobs = jobs,
                            .tables = tables,
                            .listing = listing,
                            .dialogs = dialogs,
                            .boxes = boxes,
                            .texts = texts,
                            .commands = commands,
                            .converting = [this] { return converting; },
                            .previewPlaying = [this] { return previewing; },
                            .showJobList = {},
                            .setListEnabled = {},
                            .lvClick = [this] { ++clicks; },
                            .processEvents = {},
                            .onOpticalDrive = [this](const QString &) { return optical; },
                            .waitForDrive = [this](const QString &) { ++waits; }}};
};

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

} // namespace

TEST(DvdDiscovery, TheSearchReadsTheFolderAndItsVideoTsFolder)
{
    QTemporaryDir disc;
    touch(disc.filePath("00.ifo"));               // beside VIDEO_TS, before it: read
    touch(disc.filePath("Video_TS/VIDEO_TS.IFO")); // the menus: skipped in any case
    touch(disc.filePath("Video_TS/VTS_01_0.IFO"));
    touch(disc.filePath("Video_TS/VTS_02_0.ifo"));
    touch(disc.filePath("Video_TS/VTS_01_0.BUP"));
    touch(disc.filePath("other/VTS_09_0.IFO"));   // other folders are not entered
    touch(disc.filePath("zz.ifo"));               // after a VIDEO_TS that gave files: not read
    Rig r;
    r.dialogs.folder = disc.path();
    r.discovery.addDvd();
    EXPECT_EQ(r.ifo.opened, (QStringList{"00.ifo", "VTS_01_0.IFO", "VTS_02_0.ifo"}));
    ASSERT_EQ(r.jobs.rowCount(), 3);
    EXPECT_EQ(r.tables.ifoFiles.size(), 3u);
    EXPECT_EQ(r.waits, 0) << "a folder on a hard disk does not wait";
    // Every row ticked and remembered; the longest selected.
    EXPECT_EQ(r.tables.titleChecks, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(r.jobs.firstSelected(), 1);
    EXPECT_EQ(r.clicks, 1);
    EXPECT_TRUE(r.boxes.calls.isEmpty());

    // Choosing the VIDEO_TS folder itself reads its files directly; a disc drive waits.
    Rig direct;
    direct.optical = true;
    direct.dialogs.folder = disc.filePath("Video_TS");
    direct.discovery.addDvd();
    EXPECT_EQ(direct.ifo.opened, (QStringList{"VTS_01_0.IFO", "VTS_02_0.ifo"}));
    EXPECT_EQ(direct.waits, 1);
}

TEST(DvdDiscovery, RefusalsCancelAndMessages)
{
    QTemporaryDir nothing;
    Rig r;
    r.jobs.appendRow(QStringLiteral("kept"));
    r.converting = true;
    r.discovery.addDvd();
    r.discovery.addIfo();
    r.converting = false;
    r.previewing = true;
    r.discovery.addDvd();
    r.previewing = false;
    EXPECT_EQ(r.boxes.calls, (QStringList{"warning: string 26", "warning: string 26",
                                          "warning: string 27"}));
    // A cancelled dialog leaves everything as it was.
    r.dialogs.folder.clear();
    r.discovery.addDvd();
    r.discovery.addIfo();
    EXPECT_EQ(r.jobs.rowCount(), 1);
    EXPECT_EQ(r.jobs.caption(0), QStringLiteral("kept"));
    // Nothing found: message 33.
    r.boxes.calls.clear();
    r.dialogs.folder = nothing.path();
    r.discovery.addDvd();
    EXPECT_EQ(r.boxes.calls, QStringList{"information: string 33"});
    // An information file that gives no rows in an empty list: message 34, and the
    // files after it are not read.
    Rig ifo;
    ifo.dialogs.ifos = {QStringLiteral("/x/empty.ifo"), QStringLiteral("/x/VTS_01_0.IFO")};
    ifo.discovery.addIfo();
    EXPECT_EQ(ifo.boxes.calls, QStringList{"information: string 34"});
    EXPECT_EQ(ifo.ifo.opened, QStringList{"empty.ifo"});
}

TEST(DvdDiscovery, AddIfoTwiceAppendsAndTicksEveryRow)
{
    Rig r;
    r.dialogs.ifos = {QStringLiteral("/a/VTS_01_0.IFO")};
    r.discovery.addIfo();
    ASSERT_EQ(r.jobs.rowCount(), 1);
    r.jobs.setChecked(0, false);
    r.dialogs.ifos = {QStringLiteral("/b/VTS_02_0.IFO"), QStringLiteral("/b/VTS_03_0.IFO")};
    r.discovery.addIfo();
    ASSERT_EQ(r.jobs.rowCount(), 3);
    EXPECT_EQ(r.tables.ifoFiles.size(), 3u);
    EXPECT_EQ(r.tables.ifoFiles[1].firstRow, 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(r.jobs.isChecked(row)) << row;
    EXPECT_EQ(r.jobs.caption(2), QStringLiteral("Title_03"));
}

TEST(DvdDiscovery, OpticalDrivesByTheirMount)
{
    const QString mounts = QStringLiteral(
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "40 22 11:0 / /media/cdrom0 ro - udf /dev/sr0 ro\n"
        "41 22 8:17 / /media/my\\040disk rw - vfat /dev/sdb1 rw\n");
    EXPECT_TRUE(DvdDiscovery::isOnOpticalDrive(QStringLiteral("/media/cdrom0/VIDEO_TS"), mounts));
    EXPECT_TRUE(DvdDiscovery::isOnOpticalDrive(QStringLiteral("/media/cdrom0"), mounts));
    EXPECT_FALSE(DvdDiscovery::isOnOpticalDrive(QStringLiteral("/media/cdrom01"), mounts));
    EXPECT_FALSE(DvdDiscovery::isOnOpticalDrive(QStringLiteral("/media/my disk/VIDEO_TS"), mounts));
    EXPECT_FALSE(DvdDiscovery::isOnOpticalDrive(QStringLiteral("/home/me/dvd"), mounts));
}
