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
#include <QFileInfo>
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
    bool importing = false;
    std::unique_ptr<ConversionQueue> queue;

    void SetUp() override
    {
        edition.setExeFileName(QStringLiteral("marlo-video-converter"));
        profile.activeProfile = 2;
        profile.profileDescription = QStringLiteral("AVI-DivX Movie(*.avi)");
        format.cb_size.addItem(QStringLiteral("320x240"));
        format.cb_size.setSelected(0);
        field.value = dir.path() + QStringLiteral("/out");
        queue = std::make_unique<ConversionQueue>(QueueContext{
            .jobs = jobs,
            .edition = edition,
            .settings = settings,
            .profile = profile,
            .builder = builder,
            .request = request,
            .encoder = encoder,
            .merge = merge,
            .boxes = boxes,
            .texts = texts,
            .commands = commands,
            .shell = shell,
            .outputField = field,
            .previewPlaying = [this] { return previewPlaying; },
            .defaultOutputFolder = [this] { return dir.path() + QStringLiteral("/default/"); },
            .importing = [this] { return importing; }});
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

namespace
{

// What a complete run of one row ends with, by finish action; "<out>" stands for the
// output folder.
struct FinishCase {
    int action;
    const char *call; // nullptr: nothing is called
};

struct FinishActionQueue : QueueFixture, ::testing::WithParamInterface<FinishCase> {
};

} // namespace

TEST_P(FinishActionQueue, RunsOnlyAfterACompleteRun)
{
    const FinishCase c = GetParam();
    QStringList expected;
    if (c.call)
        expected << QString::fromLatin1(c.call).replace(QStringLiteral("<out>"), out(QString()));
    addRow(QStringLiteral("only"));
    settings.finishAction = c.action;
    queue->startConversion();
    touch(encoder.started.back().outputPath);
    queue->JvCreateProcessTerminate(0);
    EXPECT_EQ(shell.calls, expected) << c.action;
}

INSTANTIATE_TEST_SUITE_P(FinishActions, FinishActionQueue,
                         ::testing::Values(FinishCase{0, nullptr},
                                           FinishCase{1, "open folder <out>"},
                                           FinishCase{2, "power off"}),
                         [](const ::testing::TestParamInfo<FinishCase> &info) {
                             return "Action" + std::to_string(info.param.action);
                         });

TEST_F(QueueFixture, StartWithAnEmptyListDoesNothing)
{
    queue->startConversion();
    EXPECT_TRUE(boxes.calls.isEmpty());
    EXPECT_FALSE(queue->converting());
}

namespace
{

// One row, "a", checked.
struct OneRowQueue : QueueFixture {
    void SetUp() override
    {
        QueueFixture::SetUp();
        addRow(QStringLiteral("a"));
    }
};

} // namespace

TEST_F(OneRowQueue, StartWithNoCheckedRowAsksForOne)
{
    jobs.setChecked(0, false);
    queue->startConversion();
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("information: Please select one file.")});
}

TEST_F(OneRowQueue, StartWhileThePreviewPlaysIsRefused)
{
    previewPlaying = true;
    queue->startConversion();
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("warning: string 27")});
    EXPECT_FALSE(queue->converting());
}

TEST_F(OneRowQueue, ASecondStartWhileRunningDoesNothing)
{
    queue->startConversion();
    queue->startConversion();
    EXPECT_EQ(encoder.started.size(), 1u);
}

TEST_F(OneRowQueue, RemoveWhileRunningIsRefused)
{
    queue->startConversion();
    jobs.selectOnly(0);
    queue->removeRows();
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("warning: string 26")});
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

namespace
{

// Rows r1 to r4, none selected.
struct FourRowQueue : QueueFixture {
    void SetUp() override
    {
        QueueFixture::SetUp();
        for (const char *name : {"r1", "r2", "r3", "r4"})
            addRow(QString::fromLatin1(name));
    }
};

} // namespace

TEST_F(FourRowQueue, RemoveSelectedRowsAndSelectTheNext)
{
    jobs.setSelected(0, true);
    jobs.setSelected(1, true);
    queue->removeRows();
    ASSERT_EQ(jobs.rowCount(), 2);
    EXPECT_EQ(jobs.caption(0), QStringLiteral("r3"));
    EXPECT_EQ(jobs.originalInfo(0).sourcePath, QStringLiteral("/src/r3.mpg"));
    EXPECT_TRUE(jobs.isSelected(0));
    EXPECT_FALSE(jobs.isSelected(1));
}

TEST_F(FourRowQueue, RemovingTheLastRowSelectsTheNewLastRow)
{
    jobs.selectOnly(3);
    queue->removeRows();
    EXPECT_EQ(jobs.rowCount(), 3);
    EXPECT_TRUE(jobs.isSelected(2)); // the index fell off the end: the last row
}

TEST_F(OneRowQueue, ClearAsksFirst)
{
    boxes.answer = false;
    queue->clearRows();
    EXPECT_EQ(jobs.rowCount(), 1);
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("question: string 29")});
}

TEST_F(OneRowQueue, ClearEmptiesTheListOnYes)
{
    boxes.answer = true;
    queue->clearRows();
    EXPECT_TRUE(jobs.isEmpty());
}

// The stopped encoder may take seconds to finish its file: until its end arrives a
// new run (or a change of the list) is refused, so two encoders never run at once
// and the stopped run still closes with its merge.
TEST_F(OneRowQueue, StartAfterStopWaitsForTheStoppedEncodersEnd)
{
    settings.mergeOn = true;
    queue->startConversion();
    queue->stopConversion();
    EXPECT_TRUE(queue->stopping());
    queue->startConversion();
    queue->removeRows();
    queue->clearRows();
    EXPECT_EQ(outputsStarted().size(), 1);
    EXPECT_EQ(boxes.calls, QStringList(3, QStringLiteral("warning: string 26")));
    EXPECT_EQ(jobs.rowCount(), 1);

    queue->JvCreateProcessTerminate(99);
    EXPECT_FALSE(queue->stopping());
    EXPECT_EQ(merge.calls.last(), QStringLiteral("merge"));
    queue->startConversion();
    EXPECT_EQ(outputsStarted().size(), 2);
}

TEST(OutputFolder, RelativeTextsAndTheTildeAreTakenFromTheHomeFolder)
{
    const QString home = QStringLiteral("/home/ünï");
    struct Case {
        const char *text, *folder;
    };
    for (const Case &c : {Case{"/srv/out", "/srv/out"}, Case{"My Video/", "/home/ünï/My Video/"},
                          Case{"~", "/home/ünï"}, Case{"~/Videos", "/home/ünï/Videos"},
                          Case{"~user", "/home/ünï/~user"}}) {
        EXPECT_EQ(ConversionQueue::absoluteOutputFolder(QString::fromUtf8(c.text), home),
                  QString::fromUtf8(c.folder))
            << c.text;
    }
}

// The encoder runs in the program folder: a relative output folder must not reach it
// as it stands, or the outputs would land among the program's files.
TEST_F(OneRowQueue, ARelativeOutputFolderIsShownAndUsedAsAnAbsolutePath)
{
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir.path()));
    field.value = QStringLiteral("out rel");
    queue->startConversion();
    qputenv("HOME", savedHome);
    const QString folder = dir.path() + QStringLiteral("/out rel");
    EXPECT_EQ(field.value, folder);
    EXPECT_EQ(settings.outputFolder, folder + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(outputsStarted(), QStringList{folder + QStringLiteral("/a.avi")});
}

// A folder name may hold a line break on Linux; the settings file could not keep it.
TEST_F(QueueFixture, AChosenFolderWithALineBreakIsRefused)
{
    field.value = settings.outputFolder = QStringLiteral("/srv/old/");
    for (const QString &name : {QStringLiteral("/srv/a\nb"), QStringLiteral("/srv/a\rb")}) {
        EXPECT_FALSE(queue->chooseOutputFolder(name));
        EXPECT_EQ(settings.outputFolder, QStringLiteral("/srv/old/"));
        EXPECT_EQ(field.value, QStringLiteral("/srv/old/"));
    }
    ASSERT_EQ(boxes.calls.size(), 2);
    EXPECT_TRUE(boxes.calls[0].startsWith(QStringLiteral("warning: ")));
    EXPECT_TRUE(boxes.calls[0].contains(QStringLiteral("line break")));

    EXPECT_TRUE(queue->chooseOutputFolder(QStringLiteral("/srv/new")));
    EXPECT_EQ(settings.outputFolder, QStringLiteral("/srv/new/"));
    EXPECT_EQ(field.value, QStringLiteral("/srv/new/"));
}

// A menu command reaches the queue even while files are probed into the list: the
// run and any change of the list wait until the import has ended.
TEST_F(OneRowQueue, NothingStartsOrChangesTheListWhileAnImportRuns)
{
    importing = true;
    jobs.setSelected(0, true);
    queue->startConversion();
    queue->removeRows();
    queue->clearRows();
    EXPECT_FALSE(queue->converting());
    EXPECT_TRUE(encoder.started.empty());
    EXPECT_EQ(jobs.rowCount(), 1);
    EXPECT_TRUE(boxes.calls.isEmpty());

    importing = false;
    queue->startConversion();
    EXPECT_TRUE(queue->converting());
}

// The default output folder lies inside the videos folder, which a fresh account may
// lack: every missing level is made, or every row would fail to write.
TEST_F(OneRowQueue, MissingLevelsOfTheOutputFolderAreMade)
{
    field.value = dir.path() + QStringLiteral("/Videos/My Video/");
    queue->startConversion();
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/Videos/My Video")).isDir());
    EXPECT_EQ(outputsStarted(), QStringList{dir.path() + QStringLiteral("/Videos/My Video/a.avi")});
}
