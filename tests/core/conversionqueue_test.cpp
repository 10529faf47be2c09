#include "core/conversionqueue.h"

#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "core/requestbuilder.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// A queue over fakes, with the AVI profile active and the output in a temporary folder.
struct QueueFixture : ::testing::Test {
    QTemporaryDir dir;
    JobList jobs;
    Edition edition;
    QueueSettings settings;
    ProfileState profile;
    FormatSettings format;
    FakeTexts texts;
    RequestBuilder builder{jobs, edition, profile, format, texts};
    intputrec request;
    FakeEncoder encoder;
    FakeMerge merge;
    RecordingBoxes boxes;
    CountingCommands commands;
    RecordingShell shell;
    FakeOutputField field;
    bool previewPlaying = false;
    std::unique_ptr<ConversionQueue> queue;

    void SetUp() override
    {
        edition.setExeFileName(QStringLiteral("marlo-video-converter"));
        profile.activeProfile = 2;
        profile.profileDescription = QStringLiteral("AVI-DivX Movie(*.avi)");
        format.cb_size.addItem(QStringLiteral("320x240"));
        format.cb_size.setSelected(0);
        field.value = dir.path() + QStringLiteral("/out");
        queue = std::make_unique<ConversionQueue>(
            QueueContext{jobs, edition, settings, profile, builder, request, encoder, merge, boxes,
                         texts, commands, shell, field, [this] { return previewPlaying; },
                         [this] { return dir.path() + QStringLiteral("/default/"); }});
    }

    int addRow(const QString &caption, bool checked = true)
    {
        const int row = jobs.appendRow(caption);
        jobs.originalInfo(row).sourcePath = QStringLiteral("/src/") + caption + ".mpg";
        jobs.originalInfo(row).durationText = QStringLiteral("00:01:40");
        jobs.originalInfo(row).resolution = QStringLiteral("640x480");
        jobs.setStatus(row, QStringLiteral("Status"));
        jobs.setChecked(row, checked);
        return row;
    }

    QString out(const QString &name) const { return dir.path() + QStringLiteral("/out/") + name; }

    QStringList outputsStarted() const
    {
        QStringList paths;
        for (const intputrec &r : encoder.started)
            paths << r.outputPath;
        return paths;
    }
};

} // namespace

TEST_F(QueueFixture, ConvertsCheckedRowsAndPassesOverUncheckedOnes)
{
    addRow(QStringLiteral("one"));
    addRow(QStringLiteral("two"), false);
    addRow(QStringLiteral("three"));
    queue->startConversion();
    ASSERT_TRUE(queue->converting());
    queue->JvCreateProcessTerminate(0);
    queue->JvCreateProcessTerminate(0);

    EXPECT_EQ(outputsStarted(), (QStringList{out("one.avi"), out("three.avi")}));
    EXPECT_EQ(encoder.started[0].inputPath, QStringLiteral("/src/one.mpg"));
    EXPECT_EQ(encoder.started[0].durationSeconds, 100);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(1), QStringLiteral("Status"));
    EXPECT_EQ(jobs.status(2), QStringLiteral("Finish"));
    EXPECT_FALSE(queue->converting());
    EXPECT_EQ(settings.outputFolder, dir.path() + QStringLiteral("/out/"));
    EXPECT_TRUE(QDir(out(QString())).exists());
}

TEST_F(QueueFixture, ExistingOutputsGetNumberedNames)
{
    QDir().mkpath(out(QString()));
    touch(out("clip.avi"));
    touch(out("clip_1.avi"));
    addRow(QStringLiteral("clip"));
    addRow(QStringLiteral("my.movie"));
    queue->startConversion();
    touch(encoder.started.back().outputPath); // the encoder wrote its file
    queue->JvCreateProcessTerminate(0);
    EXPECT_EQ(outputsStarted(), (QStringList{out("clip_2.avi"), out("my.movie.avi")}));
}

TEST_F(QueueFixture, TwoRowsOfTheSameNameDoNotOverwriteEachOther)
{
    addRow(QStringLiteral("clip"));
    addRow(QStringLiteral("clip"));
    queue->startConversion();
    touch(encoder.started.back().outputPath);
    queue->JvCreateProcessTerminate(0);
    EXPECT_EQ(outputsStarted(), (QStringList{out("clip.avi"), out("clip_1.avi")}));
}

TEST_F(QueueFixture, StopMidRunKeepsStopTextSkipsTheRestAndStillMerges)
{
    settings.mergeOn = true;
    settings.finishAction = 1;
    addRow(QStringLiteral("one"));
    addRow(QStringLiteral("two"));
    addRow(QStringLiteral("three"));
    queue->startConversion();
    queue->JvCreateProcessTerminate(0);
    queue->stopConversion();
    EXPECT_FALSE(queue->converting());
    EXPECT_TRUE(encoder.events.contains(QStringLiteral("terminate 99")));
    queue->JvCreateProcessTerminate(99); // the stopped encoder's end arrives later

    EXPECT_EQ(outputsStarted().size(), 2);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(1), QStringLiteral("Stop"));
    EXPECT_EQ(jobs.status(2), QStringLiteral("Status"));
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_EQ(merge.calls.last(), QStringLiteral("merge"));
}

TEST_F(QueueFixture, FailedRowIsMarkedAndTheQueueMovesOn)
{
    addRow(QStringLiteral("broken"));
    addRow(QStringLiteral("good"));
    addRow(QStringLiteral("last"));
    queue->startConversion();
    queue->JvCreateProcessTerminate(1);
    queue->JvCreateProcessTerminate(0);
    queue->JvCreateProcessTerminate(1);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Failed"));
    EXPECT_EQ(jobs.status(1), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(2), QStringLiteral("Failed"));
    EXPECT_EQ(outputsStarted().size(), 3);
}

TEST_F(QueueFixture, FinishActionsRunOnlyAfterACompleteRun)
{
    const struct {
        int action;
        QStringList expected;
    } cases[] = {
        {0, {}},
        {1, {QStringLiteral("open folder ") + out(QString())}},
        {2, {QStringLiteral("power off")}},
    };
    addRow(QStringLiteral("only"));
    for (const auto &c : cases) {
        shell.calls.clear();
        settings.finishAction = c.action;
        queue->startConversion();
        touch(encoder.started.back().outputPath);
        queue->JvCreateProcessTerminate(0);
        EXPECT_EQ(shell.calls, c.expected) << c.action;
    }
}

TEST_F(QueueFixture, RefusalsAndNothingToDo)
{
    queue->startConversion(); // empty list: nothing at all
    EXPECT_TRUE(boxes.calls.isEmpty());
    EXPECT_FALSE(queue->converting());

    addRow(QStringLiteral("a"), false);
    queue->startConversion();
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("information: Please select one file.")});

    jobs.setChecked(0, true);
    previewPlaying = true;
    queue->startConversion();
    EXPECT_EQ(boxes.calls.last(), QStringLiteral("warning: string 27"));
    EXPECT_FALSE(queue->converting());

    previewPlaying = false;
    queue->startConversion();
    queue->startConversion(); // a second start while running does nothing
    EXPECT_EQ(encoder.started.size(), 1u);
    jobs.selectOnly(0);
    queue->removeRows();
    EXPECT_EQ(boxes.calls.last(), QStringLiteral("warning: string 26"));
    EXPECT_EQ(jobs.rowCount(), 1);
}

TEST_F(QueueFixture, EmptyOutputFolderFallsBackToTheDefault)
{
    field.value.clear();
    addRow(QStringLiteral("clip"));
    queue->startConversion();
    EXPECT_EQ(field.value, dir.path() + QStringLiteral("/default/"));
    EXPECT_EQ(encoder.started.at(0).outputPath, dir.path() + QStringLiteral("/default/clip.avi"));
}

TEST_F(QueueFixture, MergeCollectsEveryStartedRowOfTheRun)
{
    settings.mergeOn = true;
    addRow(QStringLiteral("a"));
    addRow(QStringLiteral("b"));
    queue->startConversion();
    queue->JvCreateProcessTerminate(0);
    queue->JvCreateProcessTerminate(0);
    EXPECT_EQ(merge.calls,
              (QStringList{QStringLiteral("start"), QStringLiteral("input 0 ") + out("a.avi"),
                           QStringLiteral("input 1 ") + out("b.avi"), QStringLiteral("merge")}));
}

TEST_F(QueueFixture, DvdRowsNameOutputsAfterTheCaptionAndRunPreProgress)
{
    edition.setExeFileName(QStringLiteral("marlo-dvd-converter"));
    for (const char *caption : {"Title_01", "  Chapter_02"}) {
        const int row = jobs.appendRow(QString::fromLatin1(caption));
        jobs.convertInfos()[size_t(row)].ifoPath =
            QStringLiteral("/media/dvd/VIDEO_TS/VTS_01_0.IFO");
        jobs.convertInfos()[size_t(row)].audioId = QStringLiteral("0x80");
        jobs.convertInfos()[size_t(row)].subtitleId = QStringLiteral("0");
        jobs.dvdRanges()[size_t(row)].beginSector = 100;
        jobs.dvdRanges()[size_t(row)].endSector = 5000;
        jobs.originalInfo(row).durationText = QStringLiteral("00:00:30");
    }
    QDir().mkpath(out(QString()));
    touch(out("Chapter_02.avi"));
    queue->startConversion();
    EXPECT_EQ(encoder.started.at(0).inputPath,
              QStringLiteral("vts://01*100*5000*0x80*0*//media/dvd"));
    EXPECT_TRUE(encoder.events.contains(QStringLiteral("pre-progress on")));
    queue->JvCreateProcessTerminate(0);
    // A taken name is numbered after the caption as it stands, leading blanks included.
    EXPECT_EQ(encoder.started.at(1).outputPath, out("  Chapter_02_1.avi"));
    queue->JvCreateProcessTerminate(0);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
}

TEST_F(QueueFixture, RemoveSelectedRowsAndSelectTheNext)
{
    for (const char *name : {"r1", "r2", "r3", "r4"})
        addRow(QString::fromLatin1(name));
    jobs.setSelected(0, true);
    jobs.setSelected(1, true);
    queue->removeRows();
    ASSERT_EQ(jobs.rowCount(), 2);
    EXPECT_EQ(jobs.caption(0), QStringLiteral("r3"));
    EXPECT_EQ(jobs.originalInfo(0).sourcePath, QStringLiteral("/src/r3.mpg"));
    EXPECT_TRUE(jobs.isSelected(0));
    EXPECT_FALSE(jobs.isSelected(1));

    jobs.selectOnly(1);
    queue->removeRows();
    EXPECT_EQ(jobs.rowCount(), 1);
    EXPECT_TRUE(jobs.isSelected(0)); // the index fell off the end: the last row
}

TEST_F(QueueFixture, ClearAsksFirst)
{
    addRow(QStringLiteral("a"));
    boxes.answer = false;
    queue->clearRows();
    EXPECT_EQ(jobs.rowCount(), 1);
    EXPECT_EQ(boxes.calls.last(), QStringLiteral("question: string 29"));
    boxes.answer = true;
    queue->clearRows();
    EXPECT_TRUE(jobs.isEmpty());
}
