#include "childprocess.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using tools::ChildProcess;
using tools::ChildSetup;
using tools::ChildStream;
using tools::runCaptured;

TEST(ChildProcess, PassesArgumentsAsTheyAreWithoutAShell)
{
    const auto run = runCaptured({"printf", "%s|", "a b", "it's", "\"q\"", "back\\slash", "$HOME",
                                  "*", "ünï 映像", ";echo no"});
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "a b|it's|\"q\"|back\\slash|$HOME|*|ünï 映像|;echo no|");
}

TEST(ChildProcess, ReportsExitCodesAndStreams)
{
    const auto failing = runCaptured({"false"});
    EXPECT_TRUE(failing.started);
    EXPECT_EQ(failing.exitCode, 1);

    const auto separate = runCaptured({"ls", "/nonexistent-folder-of-the-test"});
    EXPECT_NE(separate.exitCode, 0);
    EXPECT_TRUE(separate.out.empty());
    EXPECT_FALSE(separate.err.empty());

    const auto merged = runCaptured({"ls", "/nonexistent-folder-of-the-test"}, true);
    EXPECT_FALSE(merged.out.empty());
    EXPECT_TRUE(merged.err.empty());

    const auto inFolder = runCaptured({"pwd"}, false, "/");
    EXPECT_EQ(inFolder.out, "/\n");
}

TEST(ChildProcess, AMissingProgramIsAMessageNotACrash)
{
    const auto run = runCaptured({"no-such-program-of-the-test"});
    EXPECT_FALSE(run.started);
    EXPECT_NE(run.startError.find("no-such-program-of-the-test"), std::string::npos);

    ChildProcess child;
    std::string error;
    EXPECT_FALSE(child.start({}, ChildSetup{}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(child.wait(), -1);
}

TEST(ChildProcess, FeedsStandardInputAndReadsTheProgressDescriptor)
{
    ChildProcess child;
    ChildSetup setup;
    setup.in = ChildStream::Pipe;
    setup.out = ChildStream::Pipe;
    ASSERT_TRUE(child.start({"cat"}, setup));
    ASSERT_TRUE(tools::writeAll(child.stdinFd(), std::string("through the pipe")));
    child.closeStdin();
    std::string got;
    char buffer[256];
    for (ssize_t n; (n = ::read(child.stdoutFd(), buffer, sizeof buffer)) > 0;)
        got.append(buffer, static_cast<size_t>(n));
    EXPECT_EQ(got, "through the pipe");
    EXPECT_EQ(child.wait(), 0);

    // Descriptor 3 of the child is the progress pipe (ffmpeg's -progress pipe:3).
    ChildProcess writer;
    ChildSetup progress;
    progress.progressPipe = true;
    ASSERT_TRUE(
        writer.start({"dd", "if=/proc/self/cmdline", "of=/dev/fd/3", "status=none"}, progress));
    std::string fromThree;
    for (ssize_t n; (n = ::read(writer.progressFd(), buffer, sizeof buffer)) > 0;)
        fromThree.append(buffer, static_cast<size_t>(n));
    EXPECT_EQ(writer.wait(), 0);
    EXPECT_NE(fromThree.find("of=/dev/fd/3"), std::string::npos);
}

TEST(ChildProcess, OwnProcessGroupTakesSignalsAsAWhole)
{
    ChildProcess child;
    ChildSetup setup;
    setup.newProcessGroup = true;
    ASSERT_TRUE(child.start({"sleep", "30"}, setup));
    EXPECT_EQ(::getpgid(child.pid()), child.pid());
    ASSERT_EQ(::kill(-child.pid(), SIGTERM), 0);
    EXPECT_EQ(child.wait(), 128 + SIGTERM);
    EXPECT_EQ(child.wait(), 128 + SIGTERM);
}
