#include "process/capturedrun.h"
#include "process/childprocess.h"
#include "process/fdio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

using process::ChildFd;
using process::ChildProcess;
using process::runCaptured;
using process::SpawnOptions;
using Source = process::ChildFd::Source;

namespace
{

std::string readToEnd(int fd)
{
    std::string all, piece;
    while (process::readPiece(fd, piece))
        all += piece;
    return all;
}

} // namespace

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
    EXPECT_FALSE(child.start({}, SpawnOptions{}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(child.waitForEnd(), -1);

    ChildProcess inMissingFolder;
    SpawnOptions missing;
    missing.workDir = "/no/such/folder";
    EXPECT_FALSE(inMissingFolder.start({"true"}, missing, &error));
    EXPECT_NE(error.find("/no/such/folder"), std::string::npos);
}

// A relative program path names a file of the parent's folder, even when the child
// starts in another one.
TEST(ChildProcess, RelativeProgramIsTakenFromTheParentsFolder)
{
    char here[4096];
    ASSERT_NE(::getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(::chdir("/usr"), 0);
    const auto run = runCaptured({"bin/pwd"}, false, "/tmp");
    ASSERT_EQ(::chdir(here), 0);
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_EQ(run.out, "/tmp\n");
}

TEST(ChildProcess, WiresEveryDescriptorOfTheTable)
{
    ChildProcess child;
    SpawnOptions options;
    options.fds = {{0, Source::ParentIn}, {1, Source::ParentOut}, {2, Source::SameAs, 1}};
    ASSERT_TRUE(child.start({"sh", "-c", "cat; echo err >&2"}, options));
    ASSERT_TRUE(process::writeAll(child.parentFd(0), std::string("through the pipe\n")));
    child.closeParentFd(0);
    EXPECT_EQ(readToEnd(child.parentFd(1)), "through the pipe\nerr\n");
    EXPECT_EQ(child.parentFd(2), -1);
    EXPECT_EQ(child.waitForEnd(), 0);

    // Descriptor 3 of the child is a pipe of its own (ffmpeg's -progress pipe:3), and
    // a descriptor the parent opened without close-on-exec does not reach the child.
    // Far above the table's descriptors, so that closing what the table leaves out is
    // what keeps it from the child.
    const int opened = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(opened, 0);
    const int leaked = ::fcntl(opened, F_DUPFD, 20);
    ::close(opened);
    ASSERT_GE(leaked, 20);
    ChildProcess writer;
    SpawnOptions progress;
    progress.fds = {{0, Source::Null}, {1, Source::Null}, {3, Source::ParentOut}};
    const std::string probe =
        "test -e /proc/self/fd/" + std::to_string(leaked) + " && echo leaked >&3; echo three >&3";
    ASSERT_TRUE(writer.start({"sh", "-c", probe}, progress));
    EXPECT_EQ(readToEnd(writer.parentFd(3)), "three\n");
    EXPECT_EQ(writer.waitForEnd(), 0);
    ::close(leaked);
}

TEST(ChildProcess, OwnProcessGroupTakesSignalsAsAWhole)
{
    ChildProcess child;
    ASSERT_TRUE(child.start({"sleep", "30"}, SpawnOptions{}));
    EXPECT_EQ(::getpgid(child.pid()), child.pid());
    EXPECT_TRUE(child.signal(SIGTERM));
    EXPECT_EQ(child.waitForEnd(), 128 + SIGTERM);
    EXPECT_EQ(child.waitForEnd(), 128 + SIGTERM);
    // Once reaped, the number could be a stranger's: nothing more is sent.
    EXPECT_FALSE(child.signal(SIGTERM));

    ChildProcess shared;
    SpawnOptions inOurGroup;
    inOurGroup.ownProcessGroup = false;
    ASSERT_TRUE(shared.start({"sleep", "30"}, inOurGroup));
    EXPECT_EQ(::getpgid(shared.pid()), ::getpgid(0));
    shared.killAfter(std::chrono::milliseconds(50));
    EXPECT_EQ(shared.waitForEnd(), 128 + SIGKILL);
}

// The parent may ignore SIGPIPE, catch SIGTERM or block it in a thread; its
// children start with the defaults and nothing blocked.
TEST(ChildProcess, ChildStartsWithDefaultSignalHandling)
{
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGTERM, &ignore, &previous), 0);
    ChildProcess child;
    const bool started = child.start({"sleep", "30"}, SpawnOptions{});
    ::sigaction(SIGTERM, &previous, nullptr);
    ASSERT_TRUE(started);
    child.signal(SIGTERM);
    EXPECT_EQ(child.waitForEnd(), 128 + SIGTERM);

    sigset_t blocked, old;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &blocked, &old), 0);
    ChildProcess fromBlocked;
    const bool startedBlocked = fromBlocked.start({"sleep", "30"}, SpawnOptions{});
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ASSERT_TRUE(startedBlocked);
    fromBlocked.signal(SIGTERM);
    EXPECT_EQ(fromBlocked.waitForEnd(), 128 + SIGTERM);
}

// A helper the child leaves behind in its group would keep the output pipe open and
// run on unseen: it goes when the child has ended.
TEST(ChildProcess, WhatTheChildLeavesInItsGroupEndsWithIt)
{
    ChildProcess child;
    SpawnOptions options;
    options.fds = {{0, Source::Null}, {1, Source::ParentOut}};
    ASSERT_TRUE(child.start({"sh", "-c", "sleep 30 & echo $!"}, options));
    EXPECT_EQ(child.waitForEnd(), 0);
    std::string piece;
    ASSERT_TRUE(process::readPiece(child.parentFd(1), piece));
    const std::string helper = piece.substr(0, piece.find('\n'));
    // Dead (a zombie until someone reaps it, or gone), not sleeping.
    const auto state = [&helper] {
        std::ifstream stat("/proc/" + helper + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const size_t close = text.rfind(')');
        return close == std::string::npos || close + 2 >= text.size() ? 'X' : text[close + 2];
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto dead = [&state] { return state() == 'Z' || state() == 'X'; };
    while (!dead() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(dead()) << "helper " << helper << " is in state " << state();
    // The helper held the pipe's write end; with it gone the read reaches its end.
    EXPECT_EQ(readToEnd(child.parentFd(1)), "");
}

TEST(ChildProcess, BadTablesAndPathsAreRefused)
{
    std::string error;
    ChildProcess child;
    SpawnOptions badAlias;
    badAlias.fds = {{2, Source::SameAs, 7}};
    EXPECT_FALSE(child.start({"true"}, badAlias, &error));
    EXPECT_FALSE(error.empty());

    // Found, but not a program: the reason says so.
    EXPECT_FALSE(child.start({"/etc/passwd"}, SpawnOptions{}, &error));
    EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
}

TEST(ChildProcess, DestroyingAChildThatRunsKillsIt)
{
    pid_t pid = -1;
    {
        ChildProcess child;
        ASSERT_TRUE(child.start({"sleep", "30"}, SpawnOptions{}));
        pid = child.pid();
    }
    EXPECT_EQ(::kill(pid, 0), -1);
}
