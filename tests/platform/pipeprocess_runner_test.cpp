#include "platform/pipeprocessrunner.h"

#include "platform/qtuiposter.h"
#include "platform/runner_testing.h"

#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

using namespace runnertesting;

namespace
{

QByteArray numberLines(int from, int to)
{
    QByteArray text;
    for (int i = from; i <= to; ++i)
        text += QByteArray::number(i) + '\n';
    return text;
}

struct Finished {
    int exitCode;
    QByteArray output;
};

struct PipeRunnerTest : ::testing::Test {
    QCoreApplication &application = app();
    QObject context;
    QtUiPoster poster{&context};
    std::vector<Finished> finished;
    std::unique_ptr<PipeProcessRunner> runner = std::make_unique<PipeProcessRunner>(poster);

    PipeRunnerTest()
    {
        runner->setOnFinished([this](int code, const QByteArray &output) {
            finished.push_back({code, output});
        });
    }

    void run(const QStringList &argv)
    {
        QString error;
        EXPECT_TRUE(runner->runPiped(argv, QString(), &error)) << error.toStdString();
    }
};

// The probe's and the merge tool's output is kept whole, however long.
TEST_F(PipeRunnerTest, CollectsTheWholeOutput)
{
    run({QStringLiteral("/usr/bin/seq"), QStringLiteral("1"), QStringLiteral("100000")});
    EXPECT_TRUE(runner->busy());
    runner->waitUntilDone();
    EXPECT_FALSE(runner->busy());
    const QByteArray expected = numberLines(1, 100000);
    EXPECT_EQ(runner->output(), expected);
    EXPECT_EQ(runner->exitCode(), 0);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].output, expected);
    EXPECT_EQ(finished[0].exitCode, 0);
}

TEST_F(PipeRunnerTest, StandardErrorAndExitCodeOfAFailingChild)
{
    run({QStringLiteral("/bin/sh"), QStringLiteral("-c"),
         QStringLiteral("echo Duration: N/A >&2; exit 1")});
    runner->waitUntilDone();
    EXPECT_EQ(runner->output(), QByteArray("Duration: N/A\n"));
    EXPECT_EQ(runner->exitCode(), 1);
}

// A child that reads its standard input finds it empty and closed, not waiting.
TEST_F(PipeRunnerTest, StandardInputIsClosed)
{
    run({QStringLiteral("/bin/cat")});
    runner->waitUntilDone();
    EXPECT_EQ(runner->output(), QByteArray());
    EXPECT_EQ(runner->exitCode(), 0);
}

// Serving one child at a time: a second run asked for while the first (say the
// merge) still runs waits for it, and only then starts.
TEST_F(PipeRunnerTest, SecondRunWaitsForTheFirst)
{
    run({QStringLiteral("/bin/sh"), QStringLiteral("-c"),
         QStringLiteral("/bin/sleep 0.3; echo first")});
    ASSERT_TRUE(runner->busy());
    run({QStringLiteral("/bin/echo"), QStringLiteral("second")});
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].output, QByteArray("first\n"));
    runner->waitUntilDone();
    ASSERT_EQ(finished.size(), 2u);
    EXPECT_EQ(finished[1].output, QByteArray("second\n"));
    EXPECT_EQ(runner->output(), QByteArray("second\n"));
}

// The events handled while one child is waited for may ask for other children (a
// second probe, a merge). Each run to its end returns what its own child printed.
TEST_F(PipeRunnerTest, EachRunToItsEndKeepsItsOwnOutput)
{
    std::optional<PipeProcessRunner::Result> inner;
    bool backgroundStarted = false;
    QTimer::singleShot(0, &context, [&] {
        inner = runner->runToEnd({QStringLiteral("/bin/echo"), QStringLiteral("inner")}, QString());
        backgroundStarted = runner->runPiped(
            {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("sleep 0.2; echo bg")},
            QString());
    });
    const auto outer = runner->runToEnd(
        {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("sleep 0.3; echo outer")},
        QString());
    ASSERT_TRUE(outer);
    ASSERT_TRUE(inner);
    EXPECT_EQ(outer->output, QByteArray("outer\n"));
    EXPECT_EQ(outer->exitCode, 0);
    EXPECT_EQ(inner->output, QByteArray("inner\n"));
    ASSERT_TRUE(backgroundStarted);
    runner->waitUntilDone();
    EXPECT_EQ(runner->output(), QByteArray("bg\n"));
    // One child at a time, in the order they could start.
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished[0].output, QByteArray("outer\n"));
    EXPECT_EQ(finished[1].output, QByteArray("inner\n"));
    EXPECT_EQ(finished[2].output, QByteArray("bg\n"));
}

TEST_F(PipeRunnerTest, ProgramThatCannotStartLeavesTheRunnerIdle)
{
    const QString missing = QStringLiteral("/nonexistent folder/join.dll");
    QString error;
    EXPECT_FALSE(runner->runPiped({missing, QStringLiteral("-zarnix"), QStringLiteral("99999")},
                                  QString(), &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOENT))))
        << error.toStdString();
    EXPECT_FALSE(runner->busy());
    runner->waitUntilDone();
    EXPECT_TRUE(runner->output().isEmpty());
    EXPECT_EQ(runner->exitCode(), -1);
    handleEventsFor(50);
    EXPECT_TRUE(finished.empty());

    // The runner serves the next child as usual.
    run({QStringLiteral("/bin/echo"), QStringLiteral("next")});
    runner->waitUntilDone();
    EXPECT_EQ(runner->output(), QByteArray("next\n"));
}

TEST_F(PipeRunnerTest, DestroyingABusyRunnerKillsItsChild)
{
    run({QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("/bin/sleep 60")});
    ASSERT_TRUE(runner->busy());
    const qint64 group = runner->processId();
    ASSERT_GT(group, 0);
    runner.reset();
    EXPECT_TRUE(waitUntil([group] { return groupGone(group); }));
    handleEventsFor(100); // calls posted before the end find no runner
    EXPECT_TRUE(finished.empty());
}

} // namespace
