// join.dll end to end: the built merge tool on the generated clips.
#include "tools/toolsupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace toolsupport;

namespace
{

process::CapturedRun join(const std::vector<std::string> &inputs, const std::string &output)
{
    std::vector<std::string> args = {"", "-zarnix", "99999", ""};
    for (const std::string &input : inputs)
        args.insert(args.end(), {"-kestrab", input});
    args.insert(args.end(), {"-acodec", "copy", "-vcodec", "copy", "", output});
    return runTool("join.dll", args);
}

// Makes a short part of the given container with ffmpeg itself.
std::string makePart(const TempDir &dir, const std::string &name,
                     const std::vector<std::string> &options)
{
    std::vector<std::string> argv = {
        "ffmpeg", "-nostdin", "-v", "error", "-y", "-i", "file:" + clip("clip.avi")};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back("file:" + dir.file(name));
    const auto run = process::runCaptured(argv);
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
    return dir.file(name);
}

void expectOnlyFiles(const std::string &folder, std::vector<std::string> names)
{
    std::vector<std::string> present = listDir(folder);
    std::sort(present.begin(), present.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(present, names) << "a temporary file was left behind";
}

} // namespace

TEST(Join, JoinsEachContainerInOrderIntoOnePlayableFile)
{
    struct Case {
        std::string extension;
        std::vector<std::string> partOptions;
        bool video;
    };
    const Case cases[] = {
        {"avi", {"-c", "copy"}, true},
        {"mp4",
         {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"},
         true},
        {"mov", {"-c:v", "mpeg4", "-c:a", "aac"}, true},
        {"m4a", {"-vn", "-c:a", "aac"}, false},
        {"mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "libvorbis"}, true},
        {"mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}, true},
        {"vob", {"-c:v", "mpeg2video", "-c:a", "ac3", "-f", "dvd"}, true},
        {"ts", {"-c:v", "mpeg2video", "-c:a", "mp2"}, true},
        {"flv", {"-c:v", "flv", "-c:a", "libmp3lame", "-ar", "22050"}, true},
        {"wmv", {"-c:v", "wmv2", "-c:a", "wmav2"}, true},
        {"rm", {"-c:v", "rv10", "-c:a", "ac3"}, true},
        {"swf", {"-c:v", "flv", "-c:a", "libmp3lame", "-ar", "22050"}, true},
        {"mp3", {"-vn", "-c:a", "libmp3lame"}, false},
        {"wav", {"-vn"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.extension);
        TempDir dir;
        const std::string first = makePart(dir, "first." + c.extension, c.partOptions);
        const std::string second = makePart(dir, "second part." + c.extension, c.partOptions);
        const std::string third = makePart(dir, "third." + c.extension, c.partOptions);
        const auto part = inspectMedia(first);
        ASSERT_TRUE(part);

        const std::string output = dir.file("join." + c.extension);
        const auto run = join({first, second, third}, output);
        ASSERT_TRUE(run.started) << run.startError;
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        std::string error;
        const auto joined = inspectMedia(output, &error);
        ASSERT_TRUE(joined) << error;
        EXPECT_NEAR(joined->durationSeconds, 3 * part->durationSeconds, 0.5);
        EXPECT_EQ(joined->videoStreams > 0, c.video);
        EXPECT_EQ(joined->audioStreams, 1);
        EXPECT_GT(joined->decodedAudioFrames, 0);
        if (c.video) {
            EXPECT_GT(joined->decodedVideoFrames, 0);
        }
        expectOnlyFiles(dir.path(), {"first." + c.extension, "second part." + c.extension,
                                     "third." + c.extension, "join." + c.extension});
    }
}

TEST(Join, NamesAndSkipsMissingOrEmptyInputs)
{
    TempDir dir;
    const std::string empty = dir.file("empty.avi");
    {
        std::ofstream(empty).flush();
    }
    const std::string missing = dir.file("missing.avi");
    const std::string output = dir.file("join.avi");
    const auto run = join({clip("clip.avi"), missing, empty, clip("clip with blanks.avi")}, output);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(missing), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(empty), std::string::npos) << run.out;
    const auto joined = inspectMedia(output);
    ASSERT_TRUE(joined);
    EXPECT_NEAR(joined->durationSeconds, 6, 0.5);

    const std::string none = dir.file("none.avi");
    const auto nothing = join({missing, empty}, none);
    EXPECT_NE(nothing.exitCode, 0);
    EXPECT_FALSE(fileExists(none));
    expectOnlyFiles(dir.path(), {"empty.avi", "join.avi"});
}

TEST(Join, NeverReplacesAnExistingOutput)
{
    TempDir dir;
    const std::string output = dir.file("join.mp4");
    copyFile(clip("audio_only.mp3"), output);
    const std::string before = readFile(output);
    const auto run = join({clip("clip.mp4"), clip("quote\"d.mp4")}, output);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(readFile(output), before);
    expectOnlyFiles(dir.path(), {"join.mp4"});
}

TEST(Join, AFailedMergeLeavesNoHalfFile)
{
    TempDir dir;
    const std::string output = dir.file("join.avi");
    const auto run = join({clip("broken.avi"), clip("broken.avi")}, output);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_LT(run.exitCode, 128);
    expectOnlyFiles(dir.path(), {});
}

TEST(Join, HandlesAwkwardNamesInPathsAndFolders)
{
    TempDir dir;
    // A folder with a "|" (the concat protocol's separator) and a quote.
    const std::string folder = dir.file("a|b 'c' ü");
    std::filesystem::create_directory(folder);
    const std::string quoted = folder + "/it's \"q\".mp4";
    copyFile(clip("quote\"d.mp4"), quoted);
    for (const std::string extension : {"mp4", "avi"}) {
        SCOPED_TRACE(extension);
        const std::string output = folder + "/join 'x'." + extension;
        const std::vector<std::string> inputs =
            extension == std::string("mp4")
                ? std::vector<std::string>{quoted, clip("clip.mp4")}
                : std::vector<std::string>{clip("back\\slash.avi"), clip("-dash.avi")};
        const auto run = join(inputs, output);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto joined = inspectMedia(output);
        ASSERT_TRUE(joined);
        EXPECT_NEAR(joined->durationSeconds, 6, 0.5);
    }
}

TEST(Join, RejectsCommandLinesWithoutInputsOrOutput)
{
    const std::vector<std::vector<std::string>> commandLines = {
        {},
        {"-zarnix", "99999"},
        {"-kestrab"},
        {"-zarnix", "99999", "-acodec", "copy", "-vcodec", "copy", "/tmp/x.avi"},
    };
    for (const std::vector<std::string> &args : commandLines) {
        const auto run = runTool("join.dll", args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.err.empty());
    }
}
