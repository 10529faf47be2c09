#include "core/merger.h"

#include "core/commandline.h"
#include "core/joblist.h"
#include "core/pipedrunner.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct RecordingRunner : PipedRunner {
    std::vector<QStringList> runs;
    bool runPiped(const QStringList &args, const QString &) override
    {
        runs.push_back(args);
        return true;
    }
    std::optional<Result> runToEnd(const QStringList &args, const QString &) override
    {
        runs.push_back(args);
        return Result{0, {}};
    }
    bool busy() const override { return false; }
    void waitUntilDone() override {}
    QByteArray output() const override { return {}; }
    int exitCode() const override { return 0; }
};

struct MergeFixture : ::testing::Test {
    QTemporaryDir dir;
    JobList jobs;
    QueueSettings settings;
    ProfileState profile;
    intputrec request;
    RecordingRunner runner;
    std::unique_ptr<Merger> merger;

    void SetUp() override
    {
        settings.outputFolder = dir.path() + QStringLiteral("/out dir/");
        QDir().mkpath(settings.outputFolder);
        profile.profileDescription = QStringLiteral("MP4-MPEG-4 Video(*.mp4)");
        merger = std::make_unique<Merger>(
            Merger::Context{.jobs = jobs,
                            .settings = settings,
                            .profile = profile,
                            .request = request,
                            .runner = runner,
                            .programFolder = QStringLiteral("/opt/marlo")});
        for (int i = 0; i < 3; ++i)
            jobs.appendRow(QStringLiteral("r%1").arg(i));
    }
};

} // namespace

TEST_F(MergeFixture, CommandHoldsTheRunsOutputsInOrder)
{
    merger->startMergeCommand();
    merger->addMergeInput(0, settings.outputFolder + QStringLiteral("a.mp4"));
    merger->addMergeInput(1, QStringLiteral("/plain/b.mp4"));
    merger->mergeOutputs();
    ASSERT_EQ(runner.runs.size(), 1u);
    EXPECT_EQ(runner.runs[0],
              (QStringList{"/opt/marlo/join.dll", "-zarnix", "99999", "-kestrab",
                           settings.outputFolder + "a.mp4", "-kestrab", "/plain/b.mp4", "-acodec",
                           "copy", "-vcodec", "copy", settings.outputFolder + "join.mp4"}));
    EXPECT_EQ(request.outputPath, settings.outputFolder + QStringLiteral("join.mp4"));
    EXPECT_TRUE(merger->mergeCommand().startsWith(
        QStringLiteral("/opt/marlo/join.dll -zarnix 99999  -kestrab \"")));
}

TEST_F(MergeFixture, OneInputTakenNamesAndASecondRun)
{
    QFile taken(settings.outputFolder + QStringLiteral("join.mp4"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    merger->startMergeCommand();
    merger->addMergeInput(0, QStringLiteral("/o/first.mp4"));
    merger->mergeOutputs();
    EXPECT_EQ(runner.runs.back().last(), settings.outputFolder + QStringLiteral("join_1.mp4"));
    EXPECT_EQ(runner.runs.back().count(QStringLiteral("-kestrab")), 1);

    merger->startMergeCommand();
    merger->addMergeInput(2, QStringLiteral("/o/second.mp4"));
    merger->mergeOutputs();
    EXPECT_FALSE(runner.runs.back().contains(QStringLiteral("/o/first.mp4")));
    EXPECT_TRUE(runner.runs.back().contains(QStringLiteral("/o/second.mp4")));
}

TEST_F(MergeFixture, FailedRowsAreLeftOut)
{
    merger->startMergeCommand();
    merger->addMergeInput(0, QStringLiteral("/o/a.mp4"));
    merger->addMergeInput(1, QStringLiteral("/o/b.mp4"));
    jobs.setFailed(0, true);
    merger->mergeOutputs();
    ASSERT_EQ(runner.runs.size(), 1u);
    EXPECT_FALSE(runner.runs[0].contains(QStringLiteral("/o/a.mp4")));

    jobs.setFailed(1, true);
    merger->mergeOutputs(); // nothing left to join: the tool is not started
    EXPECT_EQ(runner.runs.size(), 1u);
}
