#include "platform/consoleprocessrunner.h"

#include "core/commandline.h"
#include "core/lineassembler.h"
#include "platform/qtuiposter.h"
#include "platform/runner_testing.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

using namespace runnertesting;

namespace
{

QString sh()
{
    return QStringLiteral("/bin/sh");
}

// The numbers from..to, one a line, as seq prints them.
QByteArray numberLines(int from, int to)
{
    QByteArray text;
    for (int i = from; i <= to; ++i)
        text += QByteArray::number(i) + '\n';
    return text;
}

struct ConsoleRunnerTest : ::testing::Test {
    QCoreApplication &application = app();
    QObject context;
    QtUiPoster poster{&context};
    QByteArray output;
    qsizetype largestPiece = 0;
    std::optional<int> ended;
    QByteArray outputAtEnd;
    std::unique_ptr<ConsoleProcessRunner> runner;

    ConsoleProcessRunner &make()
    {
        runner = std::make_unique<ConsoleProcessRunner>(poster);
        runner->setOnOutput([this](const QByteArray &piece) {
            output += piece;
            largestPiece = std::max(largestPiece, piece.size());
        });
        runner->setOnEnded([this](int code) {
            ended = code;
            outputAtEnd = output;
        });
        return *runner;
    }

    ConsoleProcessRunner &start(const QStringList &argv, const QString &workDir = QString())
    {
        ConsoleProcessRunner &r = make();
        QString error;
        EXPECT_TRUE(r.run(argv, workDir, &error)) << error.toStdString();
        return r;
    }

    bool waitForEnd(int ms = 20000)
    {
        return waitUntil([this] { return ended.has_value(); }, ms);
    }
    bool waitForOutput(const QByteArray &text)
    {
        return waitUntil([this, text] { return output.contains(text); });
    }
};

TEST_F(ConsoleRunnerTest, EveryByteArrivesBeforeTheEndIsReported)
{
    start({QStringLiteral("/usr/bin/seq"), QStringLiteral("1"), QStringLiteral("20000")});
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 0);
    EXPECT_EQ(outputAtEnd, numberLines(1, 20000));
    EXPECT_LE(largestPiece, ConsoleProcessRunner::kPieceSize);
    EXPECT_FALSE(runner->isRunning());
}

TEST_F(ConsoleRunnerTest, ReportsTheChildsExitCode)
{
    const struct {
        QStringList argv;
        int code;
    } cases[] = {
        {{QStringLiteral("/bin/true")}, 0},
        {{QStringLiteral("/bin/false")}, 1},
        {{sh(), QStringLiteral("-c"), QStringLiteral("exit 7")}, 7},
        {{sh(), QStringLiteral("-c"), QStringLiteral("kill -KILL $$")}, 128 + SIGKILL},
    };
    for (const auto &c : cases) {
        ended.reset();
        start(c.argv);
        ASSERT_TRUE(waitForEnd()) << c.argv.join(' ').toStdString();
        EXPECT_EQ(*ended, c.code) << c.argv.join(' ').toStdString();
    }
}

TEST_F(ConsoleRunnerTest, StandardErrorSharesThePipe)
{
    start({sh(), QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2; echo out2")});
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(output, QByteArray("out\nerr\nout2\n"));
}

TEST_F(ConsoleRunnerTest, CarriageReturnProgressLinesReachTheAssembler)
{
    QStringList lines;
    LineAssembler assembler([&lines](const QString &line) { lines << line; });
    ConsoleProcessRunner &r = make();
    r.setOnOutput([&assembler](const QByteArray &piece) { assembler.feed(piece); });
    QString error;
    ASSERT_TRUE(
        r.run({sh(), QStringLiteral("-c"),
               QStringLiteral("printf 'frame=  100 fps= 25 time=4.00 bitrate= 512.0kbits/s\\r';"
                              "sleep 0.5;"
                              "printf 'frame=  150 fps= 25 time=6.00 bitrate= 511.9kbits/s\\r'")},
              QString(), &error))
        << error.toStdString();
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(
        lines.contains(QStringLiteral("frame=  100 fps= 25 time=4.00 bitrate= 512.0kbits/s")))
        << lines.join('|').toStdString();
    EXPECT_EQ(lines.value(lines.size() - 1),
              QStringLiteral("frame=  150 fps= 25 time=6.00 bitrate= 511.9kbits/s"));
}

TEST_F(ConsoleRunnerTest, EncoderProgressOfARealClip)
{
    const QString clip = testenv::fixtureDir() + QStringLiteral("/clips/clip.avi");
    ASSERT_TRUE(QFileInfo::exists(clip)) << clip.toStdString();
    QStringList lines;
    LineAssembler assembler([&lines](const QString &line) { lines << line; });
    ConsoleProcessRunner &r = make();
    r.setOnOutput([&assembler](const QByteArray &piece) { assembler.feed(piece); });
    QString error;
    // A bare program name is looked up on PATH.
    ASSERT_TRUE(r.run({QStringLiteral("ffmpeg"), QStringLiteral("-nostdin"), QStringLiteral("-y"),
                       QStringLiteral("-i"), clip, QStringLiteral("-f"), QStringLiteral("null"),
                       QStringLiteral("-")},
                      QString(), &error))
        << error.toStdString();
    ASSERT_TRUE(waitForEnd(60000));
    EXPECT_EQ(*ended, 0);
    bool sawProgress = false;
    for (const QString &line : lines)
        sawProgress = sawProgress || (line.contains(QStringLiteral("time=00:00:0")) &&
                                      line.contains(QStringLiteral("bitrate=")));
    EXPECT_TRUE(sawProgress) << lines.join('\n').toStdString();
}

TEST_F(ConsoleRunnerTest, HostileArgumentsArriveUnchanged)
{
    const QStringList names = {
        QStringLiteral("with blank"),
        QStringLiteral("two  blanks"),
        QStringLiteral("quote\"d"),
        QStringLiteral("it's"),
        QStringLiteral("back\\slash"),
        QStringLiteral("/tmp/trailing blank\\"),
        QStringLiteral("-dash"),
        QStringLiteral("--"),
        QStringLiteral("ünïcødé 映像.mpg"),
        QStringLiteral("$HOME;`id`|&*"),
    };
    // The way the encoder's command travels: one text, split again into arguments.
    QString command = QStringLiteral("/usr/bin/printf %s\\n");
    for (const QString &name : names)
        command += QLatin1Char(' ') + quoteIfBlank(name);
    const QStringList argv = splitCommandLine(command);
    ASSERT_EQ(argv.mid(2), names);

    start(argv);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 0);
    EXPECT_EQ(QString::fromUtf8(output), names.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

TEST_F(ConsoleRunnerTest, WorkingFolderWithBlanksAndLetters)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/my vidéos 映像");
    ASSERT_TRUE(QDir().mkpath(folder));
    start({QStringLiteral("/bin/pwd")}, folder);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(QString::fromUtf8(output).trimmed(), QFileInfo(folder).canonicalFilePath());
}

TEST_F(ConsoleRunnerTest, ProgramThatCannotStartGivesTheSystemsReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainFile = dir.path() + QStringLiteral("/register.dat");
    {
        QFile f(plainFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a program\n");
    }
    const QString missing = dir.path() + QStringLiteral("/gone folder/register.dat");
    const struct {
        QStringList argv;
        QString workDir;
        QString named; // the text the error must hold
        int reason;    // its system text too; 0: any
    } cases[] = {
        {{missing}, QString(), missing, ENOENT},
        {{plainFile}, QString(), plainFile, EACCES},
        {{dir.path()}, QString(), dir.path(), EACCES},
        {{QStringLiteral("no-such-program-anywhere")},
         QString(),
         QStringLiteral("no-such-program-anywhere"),
         ENOENT},
        {{QStringLiteral("/bin/true")},
         dir.path() + QStringLiteral("/no folder"),
         dir.path() + QStringLiteral("/no folder"),
         0},
        {{}, QString(), QString(), 0},
    };
    for (const auto &c : cases) {
        ended.reset();
        ConsoleProcessRunner &r = make();
        QString error;
        EXPECT_FALSE(r.run(c.argv, c.workDir, &error)) << c.named.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(error.contains(c.named)) << error.toStdString();
        if (c.reason != 0) {
            EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(c.reason))))
                << error.toStdString();
        }
        EXPECT_FALSE(r.isRunning());
        handleEventsFor(50);
        EXPECT_FALSE(ended.has_value());
    }
}

TEST_F(ConsoleRunnerTest, SuspendStopsTheOutputAndResumeContinuesIt)
{
    ConsoleProcessRunner &r = start(
        {sh(), QStringLiteral("-c"),
         QStringLiteral("i=0; while [ $i -lt 600 ]; do echo $i; i=$((i+1)); sleep 0.05; done")});
    ASSERT_TRUE(waitForOutput("3\n"));
    r.suspend();
    EXPECT_TRUE(r.isSuspended());
    handleEventsFor(300); // what was in the pipe already still arrives
    const qsizetype whileStopped = output.size();
    handleEventsFor(500);
    EXPECT_EQ(output.size(), whileStopped);

    r.resume();
    EXPECT_FALSE(r.isSuspended());
    EXPECT_TRUE(waitUntil([&] { return output.size() > whileStopped + 8; }));
    r.terminate(99);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 99);
}

TEST_F(ConsoleRunnerTest, TerminateEndsTheGroupAndReportsTheGivenCode)
{
    for (const bool suspendedFirst : {false, true}) {
        ended.reset();
        output.clear();
        ConsoleProcessRunner &r = make();
        // Long enough that only the one SIGTERM can have ended the child in time.
        r.setGracePeriod(std::chrono::minutes(5));
        QString error;
        ASSERT_TRUE(r.run(
            {sh(), QStringLiteral("-c"), QStringLiteral("echo ready; /bin/sleep 60; echo never")},
            QString(), &error))
            << error.toStdString();
        const qint64 group = r.processId();
        ASSERT_TRUE(waitForOutput("ready\n"));
        if (suspendedFirst)
            r.suspend();
        r.terminate(99);
        ASSERT_TRUE(waitForEnd()) << "suspended first: " << suspendedFirst;
        EXPECT_EQ(*ended, 99);
        EXPECT_FALSE(output.contains("never"));
        EXPECT_TRUE(waitUntil([group] { return groupGone(group); }));
    }
}

TEST_F(ConsoleRunnerTest, ChildIgnoringSigtermIsKilledAfterTheGracePeriod)
{
    ConsoleProcessRunner &r = make();
    r.setGracePeriod(std::chrono::milliseconds(300));
    QString error;
    ASSERT_TRUE(
        r.run({sh(), QStringLiteral("-c"),
               QStringLiteral("trap '' TERM; echo ready; while :; do /bin/sleep 0.05; done")},
              QString(), &error))
        << error.toStdString();
    const qint64 group = r.processId();
    ASSERT_TRUE(waitForOutput("ready\n"));
    r.terminate(99);
    r.terminate(42); // a second request changes nothing
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 99);
    EXPECT_TRUE(waitUntil([group] { return groupGone(group); }));
}

TEST_F(ConsoleRunnerTest, DestroyingARunningRunnerKillsItsGroup)
{
    start({sh(), QStringLiteral("-c"), QStringLiteral("echo ready; /bin/sleep 60")});
    const qint64 group = runner->processId();
    ASSERT_TRUE(waitForOutput("ready\n"));
    runner->suspend();
    runner.reset();
    EXPECT_TRUE(waitUntil([group] { return groupGone(group); }));
    handleEventsFor(100); // calls posted before the end find no runner
    EXPECT_FALSE(ended.has_value());
}

TEST_F(ConsoleRunnerTest, EndHandlerMayDestroyTheRunner)
{
    ConsoleProcessRunner &r = make();
    r.setOnEnded([this](int code) {
        ended = code;
        runner.reset();
    });
    QString error;
    ASSERT_TRUE(r.run({QStringLiteral("/usr/bin/seq"), QStringLiteral("1"), QStringLiteral("500")},
                      QString(), &error));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 0);
    EXPECT_EQ(runner.get(), nullptr);
    EXPECT_EQ(output, numberLines(1, 500));
}

// While the user-interface thread is blocked, at most 128 KiB wait for it; the
// rest is dropped without error and the run still ends normally.
TEST_F(ConsoleRunnerTest, FloodWhileBlockedIsPartlyDropped)
{
    start({QStringLiteral("/usr/bin/seq"), QStringLiteral("1"), QStringLiteral("200000")});
    QThread::msleep(1500); // blocked: no event is handled meanwhile
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(*ended, 0);
    const QByteArray full = numberLines(1, 200000);
    EXPECT_LT(output.size(), full.size());
    EXPECT_TRUE(output.endsWith("200000\n"));
}

TEST_F(ConsoleRunnerTest, SecondRunOfTheSameRunnerIsRefused)
{
    ConsoleProcessRunner &r = start({QStringLiteral("/bin/true")});
    ASSERT_TRUE(waitForEnd());
    QString error;
    EXPECT_FALSE(r.run({QStringLiteral("/bin/true")}, QString(), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
