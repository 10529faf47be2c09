// Every profile of the catalogue converts through register.dat with the command line the
// converter builds for it, and gives a file of its container that decodes.
#include "common/encoderargs.h"
#include "support/testenv.h"
#include "tools/toolsupport.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

using namespace toolsupport;

namespace
{

struct CatalogueEntry {
    int number;
    const char *extension;
};

// Number and extension of every profile of the catalogue (fillers have none).
const CatalogueEntry kCatalogue[] = {
    {1, ".asf"},   {2, ".avi"},   {3, ".avi"},   {4, ".mp4"},    {5, ".mp4"},   {6, ".rm"},
    {7, ".wmv"},   {8, ".3gp"},   {9, ".3g2"},   {10, ".mov"},   {11, ".flv"},  {12, ".swf"},
    {13, ".rm"},   {14, ".wmv"},  {15, ".aac"},  {16, ".ac3"},   {17, ".mp3"},  {18, ".ogg"},
    {19, ".ra"},   {20, ".wav"},  {21, ".wma"},  {22, ".aiff"},  {23, ".m4a"},  {24, ".mp2"},
    {25, ".au"},   {27, ".mp4"},  {28, ".mp4"},  {29, ".mp4"},   {30, ".mp4"},  {31, ".mp4"},
    {32, ".mp4"},  {33, ".mp3"},  {34, ".mp4"},  {35, ".mp4"},   {36, ".mp4"},  {37, ".mp4"},
    {38, ".mp4"},  {39, ".mp4"},  {40, ".mp3"},  {41, ".mp4"},   {42, ".mp4"},  {43, ".mp4"},
    {44, ".mp4"},  {45, ".mp3"},  {46, ".mp4"},  {47, ".mp4"},   {48, ".mp4"},  {49, ".mp4"},
    {50, ".mp4"},  {51, ".mp4"},  {53, ".MP4"},  {54, ".MP4"},   {55, ".MP4"},  {56, ".mp4"},
    {57, ".mp4"},  {58, ".mp4"},  {59, ".mp3"},  {60, ".wmv"},   {61, ".wmv"},  {62, ".mp4"},
    {63, ".mp4"},  {64, ".mp4"},  {65, ".mp4"},  {66, ".mpeg"},  {68, ".3gp"},  {69, ".3g2"},
    {70, ".3gp"},  {71, ".amr"},  {72, ".avi"},  {73, ".mp4"},   {75, ".wmv"},  {76, ".wmv"},
    {77, ".wmv"},  {78, ".wmv"},  {79, ".wmv"},  {80, ".wma"},   {81, ".wmv"},  {83, ".avi"},
    {84, ".avi"},  {85, ".avi"},  {86, ".mp4"},  {87, ".mp4"},   {88, ".wmv"},  {89, ".avi"},
    {91, ".avi"},  {92, ".mp4"},  {93, ".mp4"},  {94, ".mov"},   {95, ".ts"},   {96, ".mpg"},
    {97, ".wmv"},  {99, ".flv"},  {100, ".swf"}, {102, ".avi"},  {103, ".avi"}, {104, ".avi"},
    {105, ".avi"}, {106, ".avi"}, {107, ".avi"}, {108, ".avi"},  {110, ".mpg"}, {111, ".mpg"},
    {112, ".mpg"}, {113, ".mpg"}, {114, ".vob"}, {115, ".mpeg"}, {116, ".ts"},  {118, ".mp4"},
    {119, ".mp4"}, {120, ".mp4"}, {121, ".mp4"}, {122, ".mp4"},  {123, ".MP4"}, {125, ".mkv"},
    {126, ".mkv"}, {127, ".mkv"}, {128, ".mkv"}, {129, ".mkv"},  {130, ".mkv"}, {131, ".mkv"},
};

// The demuxer libavformat names when it opens a file of the extension.
std::string demuxerFor(const std::string &extension)
{
    const std::string ext = tools::lowerAscii(extension.substr(1));
    const struct {
        const char *extension;
        const char *demuxer;
    } table[] = {
        {"asf", "asf"},  {"wmv", "asf"},   {"wma", "asf"},
        {"avi", "avi"},  {"rm", "rm"},     {"ra", "rm"},
        {"flv", "flv"},  {"swf", "swf"},   {"aac", "aac"},
        {"ac3", "ac3"},  {"mp3", "mp3"},   {"mp2", "mp3"},
        {"ogg", "ogg"},  {"wav", "wav"},   {"aiff", "aiff"},
        {"au", "au"},    {"mpg", "mpeg"},  {"mpeg", "mpeg"},
        {"vob", "mpeg"}, {"ts", "mpegts"}, {"mkv", "matroska,webm"},
        {"amr", "amr"},
    };
    for (const auto &row : table) {
        if (ext == row.extension)
            return row.demuxer;
    }
    return "mov,mp4,m4a,3gp,3g2,mj2"; // mp4, mov, m4a, 3gp, 3g2
}

struct ProfileGroup {
    bool found = false;
    std::string sizes;
    std::string videoRates;
    std::string options;
};

std::string profileListPath()
{
    const std::string staged = programDir() + "/profiles.pop";
    if (fileExists(staged))
        return staged;
    return testenv::sourceDir().toStdString() + "/data/profiles.pop";
}

// Group N is lines 4N-3 to 4N; the first line of a group is a label.
ProfileGroup readGroup(int number)
{
    ProfileGroup group;
    std::ifstream in(profileListPath(), std::ios::binary);
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const int first = 4 * number - 3;
        if (lineNumber == first + 1)
            group.sizes = line;
        else if (lineNumber == first + 2)
            group.videoRates = line;
        else if (lineNumber == first + 3) {
            group.options = line;
            group.found = true;
            break;
        }
    }
    return group;
}

std::vector<std::string> splitBlanks(const std::string &text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// The converter's command line for the profile (video rate, audio rate, channels, aspect,
// size, sample rate, options), with the first size of the list.
std::vector<std::string> commandFor(int number, const std::string &extension,
                                    const ProfileGroup &group, const std::string &input,
                                    const std::string &output)
{
    const std::string ext = extension;
    const bool amrRates = ext == ".3gp" || ext == ".amr";
    std::vector<std::string> args = {"-y", "-i", input};
    if (number >= 112 && number <= 114) {
        const char *target = number == 112 ? "pal-vcd" : number == 113 ? "pal-svcd" : "pal-dvd";
        args.insert(args.end(), {"-ac", "2", "-target", target, "-sn", output});
        return args;
    }
    const bool video = group.videoRates != "*";
    if (video)
        args.insert(args.end(), {"-r", "25", "-b", "800000"});
    args.insert(args.end(), {"-ab", amrRates ? "12200" : "128000", "-ac", amrRates ? "1" : "2"});
    const std::vector<std::string> sizes = splitBlanks(group.sizes);
    if (video && !sizes.empty() && sizes.front().find('x') != std::string::npos) {
        const std::string size = sizes.front().substr(0, sizes.front().find('('));
        const size_t x = size.find('x');
        char aspect[32];
        std::snprintf(aspect, sizeof aspect, "%.4f",
                      std::stod(size.substr(0, x)) / std::stod(size.substr(x + 1)));
        args.insert(args.end(), {"-aspect", aspect, "-s", size});
    }
    const char *sampleRate = amrRates                           ? "8000"
                             : (ext == ".flv" || ext == ".swf") ? "22050"
                                                                : "44100";
    args.insert(args.end(), {"-ar", sampleRate});
    for (const std::string &option : splitBlanks(group.options))
        args.push_back(option);
    args.insert(args.end(), {"-sn", output});
    return args;
}

class ProfileConversion : public ::testing::TestWithParam<CatalogueEntry>
{
};

} // namespace

TEST_P(ProfileConversion, ConvertsTheClipIntoAPlayableFile)
{
    const CatalogueEntry entry = GetParam();
    if (!fileExists(profileListPath()))
        GTEST_SKIP() << "no profiles.pop";
    const ProfileGroup group = readGroup(entry.number);
    ASSERT_TRUE(group.found) << "profiles.pop has no group " << entry.number;

    TempDir dir;
    const std::string output = dir.file("profile" + std::to_string(entry.number) + entry.extension);
    const std::vector<std::string> args =
        commandFor(entry.number, entry.extension, group, clip("clip.avi"), output);
    std::string line;
    for (const std::string &arg : args)
        line += " " + arg;
    SCOPED_TRACE("register.dat" + line);

    const auto run = runTool("register.dat", args);
    ASSERT_TRUE(run.started) << run.startError;
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("time="), std::string::npos) << "no progress line";

    std::string error;
    const auto media = inspectMedia(output, &error);
    ASSERT_TRUE(media) << error;
    EXPECT_EQ(media->format, demuxerFor(entry.extension));
    EXPECT_EQ(media->audioStreams, 1);
    EXPECT_GT(media->decodedAudioFrames, 0);
    const bool video = group.videoRates != "*" && entry.extension != std::string(".amr");
    EXPECT_EQ(media->videoStreams, video ? 1 : 0);
    if (video) {
        EXPECT_GT(media->decodedVideoFrames, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ProfileConversion, ::testing::ValuesIn(kCatalogue),
                         [](const ::testing::TestParamInfo<CatalogueEntry> &info) {
                             return "Profile" + std::to_string(info.param.number);
                         });
