// The file edition end to end without a window: real register.dat and join.dll on
// generated clips, driven through the queue, the encoder run and the importer.

#include "core/consoleencoderprocess.h"
#include "core/conversionqueue.h"
#include "core/edition.h"
#include "core/encoderrun.h"
#include "core/fileimporter.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/merger.h"
#include "core/pipedprocess.h"
#include "core/probereport.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "core/requestbuilder.h"
#include "core/timetext.h"
#include "platform/inifile.h"
#include "platform/qtuiposter.h"
#include "profiles/profileselector.h"
#include "profiles/rememberedchoices.h"
#include "support/fakes.h"
#include "support/profilerig.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

QString clip(const QString &name)
{
    return testenv::fixtureDir() + QStringLiteral("/clips/") + name;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Seconds of a media file as ffprobe reads it; -1 when it cannot be read.
double mediaSeconds(const QString &path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=duration"), QStringLiteral("-of"),
                 QStringLiteral("csv=p=0"), QStringLiteral("file:") + path});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return -1;
    bool ok = false;
    const double s = probe.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? s : -1;
}

struct FakeDialogs : FileDialogs {
    QStringList files;
    QString folder;
    QStringList chooseFiles() override { return files; }
    QString chooseFolder(const QString &) override { return folder; }
};

struct Runtime : ::testing::Test, ProfileRig {
    QTemporaryDir dir;
    QueueSettings settings;
    intputrec request;
    CountingCommands commands;
    RecordingShell shell;
    FakeOutputField field;
    FakeDialogs dialogs;
    QObject context;
    QtUiPoster poster{&context};
    PipedProcess piped{poster};
    IniFile choices{dir.filePath(QStringLiteral("pro test.ini"))};
    std::unique_ptr<Merger> merge;
    std::unique_ptr<EncoderRun> encoder;
    std::unique_ptr<ConversionQueue> queue;
    std::unique_ptr<FileImporter> importer;
    QString pauseCaption;
    std::vector<int> bestProgress; // highest percentage in hundredths seen per row

    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(testenv::toolPath(QStringLiteral("register.dat"))));
        request.encoderPath = testenv::toolPath(QStringLiteral("register.dat"));
        request.workDir = testenv::programDir();
        field.value = dir.path() + QStringLiteral("/out folder ü");
        remembered.setFile(&choices);
        merge = std::make_unique<Merger>(Merger::Context{.jobs = jobs,
                                                         .settings = settings,
                                                         .profile = profile,
                                                         .request = request,
                                                         .runner = piped,
                                                         .programFolder = testenv::programDir()});
        encoder = std::make_unique<EncoderRun>(EncoderRun::Context{
            .jobs = jobs,
            .skin = skin,
            .texts = texts,
            .boxes = boxes,
            .makeProcess = [this] { return std::make_unique<ConsoleEncoderProcess>(poster); },
            .rowPointer = [this] { return queue->rowPointer(); },
            .converting = [this] { return queue->converting(); },
            .setPauseCaption = [this](const QString &c) { pauseCaption = c; },
            .ended = [this](int code) { queue->JvCreateProcessTerminate(code); }});
        queue = std::make_unique<ConversionQueue>(QueueContext{
            .jobs = jobs,
            .edition = edition,
            .settings = settings,
            .profile = profile,
            .builder = builder,
            .request = request,
            .encoder = *encoder,
            .merge = *merge,
            .boxes = boxes,
            .texts = texts,
            .commands = commands,
            .shell = shell,
            .outputField = field,
            .previewPlaying = [] { return false; },
            .defaultOutputFolder = [this] { return dir.path() + QStringLiteral("/default/"); },
            .importing = [this] { return importer && importer->importing(); }});
        importer = std::make_unique<FileImporter>(
            FileImporter::Context{.jobs = jobs,
                                  .builder = builder,
                                  .runner = piped,
                                  .dialogs = dialogs,
                                  .boxes = boxes,
                                  .texts = texts,
                                  .commands = commands,
                                  .encoderPath = request.encoderPath,
                                  .workDir = request.workDir,
                                  .converting = [this] { return queue->converting(); },
                                  .showJobList = [] {},
                                  .lvClick = [] {},
                                  .processEvents = [] { QCoreApplication::processEvents(); }});
        QObject::connect(&jobs, &JobList::rowChanged, &context, [this](int row) {
            const QString status = jobs.status(row);
            if (!status.endsWith(QLatin1Char('%')))
                return;
            if (bestProgress.size() <= size_t(row))
                bestProgress.resize(size_t(row) + 1, -1);
            const int value = QString(status).remove('.').remove('%').toInt();
            bestProgress[size_t(row)] = std::max(bestProgress[size_t(row)], value);
        });

        selector.selectProfile(2); // AVI, DivX
        format.cb_size.setTypedText(QStringLiteral("320x240"));
        format.cb_videobitrate.setSelected(3);
        format.cb_audiobitrate.setSelected(3);
    }

    void TearDown() override
    {
        if (queue->converting())
            queue->stopConversion();
        waitUntil([this] { return !piped.busy(); }, 30000);
    }

    int addClip(const QString &name, bool checked = true)
    {
        const int before = jobs.rowCount();
        EXPECT_TRUE(importer->addOneFile(clip(name))) << name.toStdString();
        if (jobs.rowCount() == before)
            return -1;
        jobs.setChecked(before, checked);
        return before;
    }

    bool runToEnd(int timeoutMs = 120000)
    {
        queue->startConversion();
        return waitUntil([this] { return !queue->converting(); }, timeoutMs);
    }

    QString out(const QString &name) const { return settings.outputFolder + name; }
};

} // namespace

TEST_F(Runtime, ConvertsCheckedRowsWithProgressAndNumberedNames)
{
    addClip(QStringLiteral("clip.avi"));
    addClip(QStringLiteral("clip.mpg"), false);
    addClip(QStringLiteral("odd_322x242.avi"));
    addClip(QStringLiteral("clip.mp4"));
    QDir().mkpath(field.value);
    QFile existing(field.value + QStringLiteral("/clip.avi"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(boxes.calls.isEmpty()) << boxes.calls.join('\n').toStdString();
    // Three checked rows share two captions; the existing clip.avi stays untouched.
    EXPECT_EQ(QFileInfo(out("clip.avi")).size(), 0);
    for (const char *name : {"clip_1.avi", "odd_322x242.avi", "clip_2.avi"})
        EXPECT_GT(mediaSeconds(out(QString::fromUtf8(name))), 1.5) << name;
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("clip_3.avi"))));
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(1), QStringLiteral("Status"));
    EXPECT_EQ(jobs.status(2), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(3), QStringLiteral("Finish"));
    for (int row : {0, 2, 3}) {
        ASSERT_GT(bestProgress.size(), size_t(row));
        EXPECT_GT(bestProgress[size_t(row)], 9900) << row;
    }
    EXPECT_FALSE(skin.visible.value(QStringLiteral("convertinfo")));
}

TEST_F(Runtime, HostileFileNamesConvertEndToEnd)
{
    const QStringList names = {QStringLiteral("clip with blanks.avi"),
                               QStringLiteral("quote\"d.mp4"), QStringLiteral("back\\slash.avi"),
                               QStringLiteral("-dash.avi"), QStringLiteral("ünïcødé 映像.mpg")};
    for (const QString &name : names)
        addClip(name);
    ASSERT_EQ(jobs.rowCount(), names.size());
    ASSERT_TRUE(runToEnd());
    for (int row = 0; row < jobs.rowCount(); ++row) {
        EXPECT_EQ(jobs.status(row), QStringLiteral("Finish")) << names[row].toStdString();
        EXPECT_GT(mediaSeconds(out(jobs.caption(row) + QStringLiteral(".avi"))), 1.5)
            << names[row].toStdString();
    }
}

TEST_F(Runtime, StopDuringTheSecondRowLeavesAPlayablePartAndStillMerges)
{
    settings.mergeOn = true;
    settings.finishAction = 1;
    addClip(QStringLiteral("clip.avi"));
    addClip(QStringLiteral("long_640x480.mp4"));
    addClip(QStringLiteral("clip.mpg"));
    // A large picture keeps the second row busy long enough to stop it halfway.
    format.cb_size.setTypedText(QStringLiteral("1920x1440"));
    format.cb_videobitrate.setSelected(0);
    queue->startConversion();
    ASSERT_TRUE(waitUntil(
        [this] {
            return queue->rowPointer() == 1 && jobs.status(1).endsWith('%') &&
                   jobs.status(1) > QStringLiteral("05.00%");
        },
        120000));
    queue->stopConversion();
    EXPECT_FALSE(queue->converting());
    EXPECT_EQ(jobs.status(1), QStringLiteral("Stop"));
    // The stopped encoder's end closes the run and starts the merge.
    ASSERT_TRUE(
        waitUntil([this] { return !request.outputPath.endsWith("long_640x480.avi"); }, 30000));
    ASSERT_TRUE(waitUntil([this] { return !piped.busy(); }, 60000));
    const double part = mediaSeconds(out(QStringLiteral("long_640x480.avi")));
    EXPECT_GT(part, 0.5);
    EXPECT_LT(part, 19.0);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
    EXPECT_EQ(jobs.status(2), QStringLiteral("Status"));
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("clip.mpg.avi"))));
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_NEAR(mediaSeconds(out(QStringLiteral("join.avi"))),
                mediaSeconds(out(QStringLiteral("clip.avi"))) + part, 1.0);
}

// The stopped encoder may take a while to finish its file. Start meanwhile must not
// begin a second encoder, nor take the stopped run's merge away.
TEST_F(Runtime, StartAfterStopWaitsForTheStoppedEncoder)
{
    settings.mergeOn = true;
    addClip(QStringLiteral("long_640x480.mp4"));
    format.cb_size.setTypedText(QStringLiteral("1920x1440"));
    format.cb_videobitrate.setSelected(0);
    queue->startConversion();
    ASSERT_TRUE(waitUntil([this] { return jobs.status(0).endsWith('%'); }, 60000));
    queue->stopConversion();
    ASSERT_TRUE(queue->stopping());
    queue->startConversion();
    EXPECT_FALSE(queue->converting());
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("warning: string 26")});
    EXPECT_EQ(jobs.status(0), QStringLiteral("Stop"));

    // Once the stopped encoder has ended, the run closes with its merge.
    ASSERT_TRUE(waitUntil([this] { return !queue->stopping(); }, 30000));
    EXPECT_TRUE(merge->mergeCommand().contains(QStringLiteral("long_640x480.avi")));
    ASSERT_TRUE(waitUntil([this] { return !piped.busy(); }, 60000));
    EXPECT_GT(mediaSeconds(out(QStringLiteral("join.avi"))), 0.1);
    EXPECT_EQ(jobs.status(0), QStringLiteral("Stop"));

    format.cb_size.setTypedText(QStringLiteral("320x240"));
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish"));
    EXPECT_GT(mediaSeconds(out(QStringLiteral("long_640x480_1.avi"))), 19.0);
}

// The events handled while a probe waits may start another probe (Add Files clicked
// again, say); each file must get the facts of its own probe.
TEST_F(Runtime, AProbeStartedWhileAnotherWaitsKeepsItsOwnReport)
{
    bool nestedAdded = false;
    QTimer::singleShot(0, &context, [&] {
        nestedAdded = importer->addOneFile(clip(QStringLiteral("odd_322x242.avi")));
    });
    ASSERT_TRUE(importer->addOneFile(clip(QStringLiteral("clip.mp4"))));
    ASSERT_TRUE(nestedAdded);
    ASSERT_EQ(jobs.rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const bool odd = jobs.caption(row) == QLatin1String("odd_322x242");
        EXPECT_EQ(jobs.cell(row, JobList::SizeColumn),
                  odd ? QStringLiteral("322x242") : QStringLiteral("320x240"));
        EXPECT_EQ(jobs.originalInfo(row).sourcePath.endsWith(QStringLiteral(".avi")), odd);
        EXPECT_EQ(jobs.originalInfo(row).audioFormat,
                  odd ? QStringLiteral("mp3") : QStringLiteral("aac"));
    }
}

TEST_F(Runtime, AddCommandsAreRefusedWhileAnImportRuns)
{
    dialogs.files = {clip(QStringLiteral("clip.avi")), clip(QStringLiteral("clip.mp4"))};
    dialogs.folder = QFileInfo(clip(QStringLiteral("clip.avi"))).absolutePath();
    bool sawImporting = false;
    QTimer::singleShot(0, &context, [&] {
        sawImporting = importer->importing();
        importer->addFiles();
        importer->addFolder();
    });
    importer->addFiles();
    EXPECT_TRUE(sawImporting);
    EXPECT_FALSE(importer->importing());
    ASSERT_EQ(jobs.rowCount(), 2);
    EXPECT_EQ(jobs.caption(0), QStringLiteral("clip"));
    EXPECT_TRUE(jobs.originalInfo(0).sourcePath.endsWith(QStringLiteral("clip.avi")));
    EXPECT_TRUE(jobs.originalInfo(1).sourcePath.endsWith(QStringLiteral("clip.mp4")));
}

TEST_F(Runtime, PauseFreezesTheOutputAndContinueResumesIt)
{
    addClip(QStringLiteral("long_640x480.mp4"));
    // A large picture keeps the encoder busy long enough to pause it halfway.
    format.cb_size.setTypedText(QStringLiteral("1920x1440"));
    format.cb_videobitrate.setSelected(0);
    queue->startConversion();
    const QString output = out(QStringLiteral("long_640x480.avi"));
    ASSERT_TRUE(waitUntil(
        [&] { return QFileInfo(output).size() > 0 && jobs.status(0).endsWith('%'); }, 60000));
    ASSERT_LT(jobs.status(0), QStringLiteral("60.00%"));
    encoder->togglePause();
    EXPECT_EQ(pauseCaption, QStringLiteral("Continue"));
    EXPECT_FALSE(encoder->encoderRunning());
    QThread::msleep(300);
    const qint64 frozen = QFileInfo(output).size();
    waitUntil([] { return false; }, 1500);
    EXPECT_EQ(QFileInfo(output).size(), frozen);
    encoder->togglePause();
    EXPECT_EQ(pauseCaption, QStringLiteral("Pause"));
    EXPECT_TRUE(waitUntil([&] { return QFileInfo(output).size() > frozen || !queue->converting(); },
                          30000));
    EXPECT_GT(QFileInfo(output).size(), frozen);
}

TEST_F(Runtime, CorruptSourceFailsAndTheQueueGoesOn)
{
    const int broken = jobs.appendRow(QStringLiteral("broken"));
    jobs.originalInfo(broken).sourcePath = clip(QStringLiteral("broken.avi"));
    jobs.originalInfo(broken).durationText = QStringLiteral("00:00:03");
    addClip(QStringLiteral("clip.avi"));
    settings.mergeOn = true;
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(jobs.status(0), QStringLiteral("Failed"));
    EXPECT_EQ(jobs.status(1), QStringLiteral("Finish"));
    // The failed row keeps why, in the encoder's words.
    const QString report = jobs.encoderLines(0).join(QLatin1Char('\n'));
    EXPECT_TRUE(report.contains(QStringLiteral("Invalid data"))) << report.toStdString();
    EXPECT_NE(jobs.exitCode(0), 0);
    EXPECT_EQ(jobs.exitCode(1), 0);
    ASSERT_TRUE(waitUntil([this] { return !piped.busy(); }, 60000));
    // Only the good output is joined.
    EXPECT_FALSE(merge->mergeCommand().contains(QStringLiteral("broken.avi")));
    EXPECT_NEAR(mediaSeconds(out(QStringLiteral("join.avi"))),
                mediaSeconds(out(QStringLiteral("clip.avi"))), 0.5);
}

TEST_F(Runtime, MergedFileOfAThreeRowRunHasTheSummedDuration)
{
    settings.mergeOn = true;
    addClip(QStringLiteral("clip.avi"));
    addClip(QStringLiteral("clip with blanks.avi"));
    addClip(QStringLiteral("odd_322x242.avi"));
    QDir().mkpath(field.value);
    QFile taken(field.value + QStringLiteral("/join.avi"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    ASSERT_TRUE(runToEnd());
    ASSERT_TRUE(waitUntil([this] { return !piped.busy(); }, 60000));
    double sum = 0;
    for (int row = 0; row < 3; ++row)
        sum += mediaSeconds(out(jobs.caption(row) + QStringLiteral(".avi")));
    EXPECT_EQ(QFileInfo(out(QStringLiteral("join.avi"))).size(), 0);
    EXPECT_NEAR(mediaSeconds(out(QStringLiteral("join_1.avi"))), sum, 0.6);
}

TEST_F(Runtime, AddFolderProbesEachTakenFileAndSkipsUnreadableOnes)
{
    const QString folder = dir.path() + QStringLiteral("/mixed ü");
    QDir().mkpath(folder + QStringLiteral("/sub.mpg"));
    for (const char *name : {"clip.avi", "clip.mp4", "broken.avi", "video_only.mkv"})
        QFile::copy(clip(QString::fromUtf8(name)), folder + '/' + QString::fromUtf8(name));
    QFile::copy(clip(QStringLiteral("clip.mpg")), folder + QStringLiteral("/Holiday.2009.MPG"));
    QFile notes(folder + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a video");
    notes.close();

    dialogs.folder = folder;
    importer->addFolder();
    QStringList captions;
    for (int row = 0; row < jobs.rowCount(); ++row)
        captions << jobs.caption(row);
    // .mkv is not in the folder list, sub.mpg is a folder and broken.avi does not probe.
    EXPECT_EQ(captions, (QStringList{"Holiday.2009", "clip", "clip"}));
    EXPECT_TRUE(jobs.isSelected(0));

    const Toriginalinfo &mpg = jobs.originalInfo(0);
    EXPECT_EQ(mpg.sourcePath, folder + QStringLiteral("/Holiday.2009.MPG"));
    EXPECT_EQ(mpg.resolution, QStringLiteral("320x240"));
    EXPECT_EQ(mpg.videoFormat, QStringLiteral("mpeg1video"));
    EXPECT_EQ(mpg.audioFormat, QStringLiteral("mp2"));
    EXPECT_EQ(mpg.audioBitrate, QStringLiteral("128"));
    EXPECT_EQ(mpg.durationText.left(7), QStringLiteral("00:00:0"));
    EXPECT_EQ(jobs.cell(0, JobList::SizeColumn), QStringLiteral("320x240"));
    EXPECT_EQ(jobs.cell(0, JobList::TimeColumn), mpg.durationText);
    EXPECT_TRUE(jobs.cell(0, JobList::OutputSizeColumn).endsWith(QStringLiteral("MB")));
    EXPECT_EQ(jobs.status(0), QStringLiteral("Status"));
    const Toriginalinfo &mp4 = jobs.originalInfo(2);
    EXPECT_EQ(mp4.videoFormat, QStringLiteral("h264"));
    EXPECT_EQ(mp4.audioFormat, QStringLiteral("aac"));
    EXPECT_EQ(mp4.channels, QStringLiteral(" stereo"));
    EXPECT_EQ(mp4.sampleRate, QStringLiteral(" 44100 Hz"));
}

TEST_F(Runtime, AMissingEncoderIsReportedAndStopClosesTheRun)
{
    addClip(QStringLiteral("clip.avi"));
    request.encoderPath = dir.path() + QStringLiteral("/no such/register.dat");
    queue->startConversion();
    ASSERT_EQ(boxes.calls.size(), 1);
    EXPECT_TRUE(boxes.calls[0].startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(boxes.calls[0].contains(QStringLiteral("register.dat")));
    EXPECT_TRUE(queue->converting()); // the run stays open until the user stops it
    queue->stopConversion();
    EXPECT_TRUE(waitUntil([this] { return !encoder->convertUsedTimer().isActive(); }, 5000));
    EXPECT_EQ(jobs.status(0), QStringLiteral("Stop"));
}

// The probe report of each clip, read back by the program's own parse rules, agrees
// with what ffprobe finds in the file.
TEST_F(Runtime, ProbeReportsReadBackAsFfprobeSeesTheClips)
{
    const QStringList names = {"clip.avi",       "clip.mp4",         "clip.mpg",
                               "video_only.mkv", "audio_only.mp3",   "odd_322x242.avi",
                               "cover_art.mp3",  "long_640x480.mp4", "ünïcødé 映像.mpg"};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(piped.runPiped({request.encoderPath, QStringLiteral("-i"), clip(name)},
                                   request.workDir));
        piped.waitUntilDone();
        const ProbeReport report = parseProbeReport(QString::fromUtf8(piped.output()));

        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"),
                      {"-v", "error", "-show_entries",
                       "format=duration:stream=codec_type,codec_name,width,height,sample_rate,"
                       "channels:stream_disposition=attached_pic",
                       "-of", "flat", QStringLiteral("file:") + clip(name)});
        ASSERT_TRUE(ffprobe.waitForFinished(30000));
        QHash<QString, QString> facts;
        QString videoPrefix, audioPrefix;
        for (const QByteArray &line : ffprobe.readAllStandardOutput().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq < 0)
                continue;
            const QString key = QString::fromUtf8(line.left(eq));
            const QString value = QString::fromUtf8(line.mid(eq + 1)).remove('"');
            facts[key] = value;
            // "streams.stream.N." for every key of stream N
            const QString prefix = key.section('.', 0, 2) + '.';
            if (key.endsWith(".codec_type") && value == "video" && videoPrefix.isEmpty() &&
                facts.value(prefix + "disposition.attached_pic") != "1")
                videoPrefix = prefix;
            if (key.endsWith(".codec_type") && value == "audio" && audioPrefix.isEmpty())
                audioPrefix = prefix;
            if (key.endsWith(".disposition.attached_pic") && value == "1" && videoPrefix == prefix)
                videoPrefix.clear();
        }
        const int seconds = int(facts.value("format.duration").toDouble());
        EXPECT_EQ(timeTextToSeconds(report.duration), seconds);
        bool ok = false;
        report.bitrate.toInt(&ok);
        EXPECT_TRUE(ok) << report.bitrate.toStdString();
        if (videoPrefix.isEmpty()) {
            EXPECT_TRUE(report.videoFormat.isEmpty()) << report.videoFormat.toStdString();
        } else {
            EXPECT_EQ(report.videoFormat, facts.value(videoPrefix + "codec_name"));
            EXPECT_EQ(report.size, facts.value(videoPrefix + "width") + 'x' +
                                       facts.value(videoPrefix + "height"));
        }
        if (audioPrefix.isEmpty()) {
            EXPECT_TRUE(report.audioFormat.isEmpty());
        } else {
            EXPECT_EQ(report.audioFormat, facts.value(audioPrefix + "codec_name"));
            EXPECT_EQ(report.sampleRate,
                      QStringLiteral(" ") + facts.value(audioPrefix + "sample_rate") + " Hz");
            const QString channels = facts.value(audioPrefix + "channels");
            EXPECT_EQ(report.channels, channels == "1"   ? QStringLiteral(" mono")
                                       : channels == "2" ? QStringLiteral(" stereo")
                                                         : report.channels);
        }
    }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
