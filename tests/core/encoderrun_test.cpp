#include "core/encoderrun.h"

#include "core/joblist.h"
#include "support/fakes.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace
{

// An encoder process the test drives by hand.
struct ScriptedProcess : EncoderProcess {
    QStringList *log;
    bool startOk = true;
    explicit ScriptedProcess(QStringList *l) : log(l) {}
    bool run(const QStringList &args, const QString &, QString *error) override
    {
        *log << QStringLiteral("run ") + args.join('|');
        if (!startOk && error)
            *error = QStringLiteral("Cannot start");
        return startOk;
    }
    void suspend() override { *log << QStringLiteral("suspend"); }
    void resume() override { *log << QStringLiteral("resume"); }
    void terminate(int code) override { *log << QStringLiteral("terminate %1").arg(code); }
};

struct RunFixture : ::testing::Test {
    JobList jobs;
    FakeSkin skin;
    FakeTexts texts;
    RecordingBoxes boxes;
    QStringList log;
    ScriptedProcess *process = nullptr;
    int rowPointer = 0;
    bool converting = true;
    QString pauseCaption;
    std::vector<int> ends;
    std::unique_ptr<EncoderRun> run;
    intputrec request;

    void makeRun(bool startOk)
    {
        run = std::make_unique<EncoderRun>(
            EncoderRun::Context{.jobs = jobs,
                                .skin = skin,
                                .texts = texts,
                                .boxes = boxes,
                                .makeProcess =
                                    [this, startOk] {
                                        auto p = std::make_unique<ScriptedProcess>(&log);
                                        p->startOk = startOk;
                                        process = p.get();
                                        return p;
                                    },
                                .rowPointer = [this] { return rowPointer; },
                                .converting = [this] { return converting; },
                                .setPauseCaption = [this](const QString &c) { pauseCaption = c; },
                                .ended = [this](int c) { ends.push_back(c); }});
    }

    void SetUp() override
    {
        jobs.appendRow(QStringLiteral("row"));
        makeRun(true);
        request.encoderPath = QStringLiteral("/prog/register.dat");
        request.inputPath = QStringLiteral("/v/my clip.avi");
        request.outputPath = QStringLiteral("/out/my clip.mp4");
        request.durationSeconds = 100;
    }

    void line(const char *text) { process->onLine(QString::fromLatin1(text)); }
    // A whole line, as the console process reports it: written, then complete.
    void say(const char *text)
    {
        line(text);
        process->onCompletedLine(QString::fromLatin1(text));
    }
};

} // namespace

TEST(EncoderSeconds, ParsesOnlyProgressLines)
{
    const struct {
        const char *line;
        int32_t seconds;
    } cases[] = {
        {"frame=  100 fps= 25 q=2.0 size=     512kB time=4.00 bitrate= 512.0kbits/s", 4},
        {"size=     512kB time=83.40 bitrate= 812.3kbits/s", 83},
        {"time=12 bitrate= 1.0kbits/s", 0},
        {"bitrate= 1.0 time=4.00", 0},
        {"time=4.00", 0},
        {"time=100001.00 bitrate=", 0},
        {"time=100000.99 bitrate=", 100000},
        {"time=ab.00 bitrate=", 0},
        {"Press [q] to stop", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseEncoderSeconds(QString::fromLatin1(c.line)), c.seconds) << c.line;
}

TEST_F(RunFixture, ProgressOfAFileRow)
{
    run->startEncoder(request);
    EXPECT_EQ(log.first(),
              QStringLiteral("run /prog/register.dat|-y|-i|/v/my clip.avi|-sn|/out/my clip.mp4"));
    EXPECT_TRUE(skin.visible.value(QStringLiteral("convertinfo")));
    EXPECT_TRUE(run->convertUsedTimer().isActive());

    line("frame=  100 fps= 25 q=2.0 size=     512kB time=50.00 bitrate= 512.0kbits/s");
    EXPECT_EQ(jobs.status(0), QStringLiteral("50.00%"));
    EXPECT_EQ(skin.bars.value(QStringLiteral("convertpos")), 5000);
    EXPECT_EQ(skin.texts.value(QStringLiteral("filename")), QStringLiteral("my clip.mp4"));
    line("Some message without progress");
    EXPECT_EQ(jobs.status(0), QStringLiteral("50.00%"));
    line("size= 999kB time=100.00 bitrate= 512.0kbits/s");
    EXPECT_EQ(jobs.status(0), QStringLiteral("99.99%"));
    EXPECT_EQ(skin.bars.value(QStringLiteral("convertpos")), 9999);

    // Elapsed and remaining time: 9999 after four seconds leaves about no time.
    for (int i = 0; i < 4; ++i)
        run->Convert_usedTimer();
    EXPECT_EQ(run->elapsedSeconds(), 4);
    EXPECT_EQ(run->remainingSeconds(), 0);
    EXPECT_EQ(run->outputSizeKB(), 1); // the output does not exist here

    process->onEnded(0);
    EXPECT_EQ(ends, std::vector<int>{0});
    run->endRowDisplay();
    EXPECT_FALSE(run->convertUsedTimer().isActive());
    EXPECT_FALSE(skin.visible.value(QStringLiteral("convertinfo")));
    EXPECT_EQ(skin.bars.value(QStringLiteral("convertpos")), 0);
}

// A new row's panel shows its own file from the start, not the previous row's figures.
TEST_F(RunFixture, TheInformationPanelNamesTheNewRowAtOnce)
{
    run->startEncoder(request);
    run->Convert_usedTimer();
    line("time=50.00 bitrate= 1kbits/s");
    request.outputPath = QStringLiteral("/out/next.mp4");
    run->startEncoder(request);
    EXPECT_EQ(skin.texts.value(QStringLiteral("filename")), QStringLiteral("next.mp4"));
    EXPECT_EQ(skin.texts.value(QStringLiteral("filepath")), QStringLiteral("/out/next.mp4"));
    EXPECT_EQ(skin.texts.value(QStringLiteral("usedtime")), QStringLiteral("00:00:00"));
    EXPECT_EQ(skin.texts.value(QStringLiteral("resttime")), QStringLiteral("00:00:00"));
    EXPECT_EQ(skin.texts.value(QStringLiteral("filesize")), QStringLiteral("0 KB"));
}

TEST_F(RunFixture, RemainingTimeFromTheRate)
{
    run->startEncoder(request);
    line("time=25.00 bitrate= 1kbits/s"); // 2500
    run->Convert_usedTimer();
    run->Convert_usedTimer(); // 1250 per second: 7500 left
    EXPECT_EQ(run->remainingSeconds(), 6);
    EXPECT_EQ(skin.texts.value(QStringLiteral("usedtime")), QStringLiteral("00:00:00"));
    line("time=26.00 bitrate= 1kbits/s");
    EXPECT_EQ(skin.texts.value(QStringLiteral("usedtime")), QStringLiteral("00:00:02"));
    EXPECT_EQ(skin.texts.value(QStringLiteral("resttime")), QStringLiteral("00:00:06"));
}

TEST_F(RunFixture, DvdPreProgressThenRealProgressFillsTheRest)
{
    run->resetPreProgressTicks();
    run->resetProgressDisplay();
    run->startEncoder(request);
    run->startPreProgress();
    for (int i = 0; i < 30; ++i)
        run->Timer2Timer();
    EXPECT_EQ(jobs.status(0), QStringLiteral("00.30%"));
    run->togglePause(); // no pause while the disc is prepared
    EXPECT_TRUE(log.filter(QStringLiteral("suspend")).isEmpty());

    line("time=50.00 bitrate= 1kbits/s");
    EXPECT_FALSE(run->preProgressTimer().isActive());
    // 0.30% + 50% of the remaining 99.70%
    EXPECT_EQ(run->progressValue(), 4985);
    EXPECT_EQ(jobs.status(0), QStringLiteral("50.15%"));
}

TEST_F(RunFixture, PauseAndContinue)
{
    run->startEncoder(request);
    run->togglePause();
    EXPECT_EQ(log.last(), QStringLiteral("suspend"));
    EXPECT_EQ(pauseCaption, QStringLiteral("Continue"));
    run->togglePause();
    EXPECT_EQ(log.last(), QStringLiteral("resume"));
    EXPECT_EQ(pauseCaption, QStringLiteral("Pause"));
    converting = false;
    run->togglePause();
    EXPECT_EQ(log.last(), QStringLiteral("resume"));
}

TEST_F(RunFixture, NoDurationShowsTheEncoderTime)
{
    request.durationSeconds = 0;
    run->startEncoder(request);
    line("time=75.00 bitrate= 1kbits/s");
    EXPECT_EQ(jobs.status(0), QStringLiteral("00:01:15"));
    EXPECT_EQ(run->progressValue(), 0);
}

TEST_F(RunFixture, StartFailureIsReportedAndStopStillEndsTheRow)
{
    makeRun(false);
    run->startEncoder(request);
    EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("error: Cannot start")});
    EXPECT_TRUE(ends.empty());
    run->terminateEncoder(99);
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, std::vector<int>{99});
}

// A stopped encoder may go on writing while it finishes its file: its lines move
// neither the row nor the bar any more, but its end still closes the row. Once a
// later row has started, even its end belongs to no row.
TEST_F(RunFixture, AStoppedOrRetiredProcessReachesNoRow)
{
    jobs.appendRow(QStringLiteral("second"));
    run->startEncoder(request);
    say("time=10.00 bitrate= 1kbits/s");
    ScriptedProcess *stopped = process;
    run->terminateEncoder(99);
    skin.bars.clear();
    say("time=50.00 bitrate= 1kbits/s");
    say("Exiting normally, received signal 15.");
    EXPECT_EQ(jobs.status(0), QStringLiteral("10.00%"));
    EXPECT_TRUE(skin.bars.isEmpty());
    EXPECT_TRUE(jobs.encoderLines(0).isEmpty());

    rowPointer = 1;
    run->startEncoder(request);
    ASSERT_NE(process, stopped);
    stopped->onLine(QStringLiteral("time=50.00 bitrate= 1kbits/s"));
    stopped->onCompletedLine(QStringLiteral("Exiting normally, received signal 15."));
    stopped->onEnded(99);
    EXPECT_EQ(jobs.status(1), QString());
    EXPECT_TRUE(jobs.encoderLines(1).isEmpty());
    EXPECT_TRUE(ends.empty());
    line("time=25.00 bitrate= 1kbits/s");
    EXPECT_EQ(jobs.status(1), QStringLiteral("25.00%"));
}

// A failed row keeps why: the encoder's lines other than progress, the newest of
// them within the bounds, and the exit code.
TEST_F(RunFixture, KeepsTheEncoderReportOfTheRow)
{
    run->startEncoder(request);
    say("Input #0, avi, from '/v/my clip.avi':");
    say("time=10.00 bitrate= 1kbits/s");
    say("");
    // A line still being written is not kept before it is complete.
    line("/v/my clip.avi: Invalid");
    say("/v/my clip.avi: Invalid data found when processing input");
    process->onEnded(1);
    EXPECT_EQ(
        jobs.encoderLines(0),
        (QStringList{QStringLiteral("Input #0, avi, from '/v/my clip.avi':"),
                     QStringLiteral("/v/my clip.avi: Invalid data found when processing input")}));
    EXPECT_EQ(jobs.exitCode(0), 1);

    // Many lines: only the newest are kept, within the line and the byte bounds.
    for (int i = 0; i < 100; ++i)
        jobs.addEncoderLine(0, QStringLiteral("line %1").arg(i));
    QStringList lines = jobs.encoderLines(0);
    ASSERT_EQ(lines.size(), JobList::kReportLines);
    EXPECT_EQ(lines.last(), QStringLiteral("line 99"));
    jobs.addEncoderLine(0, QString(5000, QLatin1Char('a')));
    jobs.addEncoderLine(0, QString(5000, QChar(0x6620)) + QStringLiteral("reason")); // 3 bytes each
    lines = jobs.encoderLines(0);
    EXPECT_LE(lines.join(QString()).toUtf8().size(), JobList::kReportBytes);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("reason")));

    // A new run of the row starts with an empty report.
    run->startEncoder(request);
    EXPECT_TRUE(jobs.encoderLines(0).isEmpty());
    EXPECT_EQ(jobs.exitCode(0), -1);
}

TEST(MulDiv, RoundsToNearest)
{
    EXPECT_EQ(mulDiv(50, 10000, 100), 5000);
    EXPECT_EQ(mulDiv(1, 10000, 3), 3333);
    EXPECT_EQ(mulDiv(2, 10000, 3), 6667);
    EXPECT_EQ(mulDiv(1, 1, 2), 1);
}
