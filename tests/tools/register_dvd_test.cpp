// register.dat on the test DVD: sectors read with libdvdread and fed to ffmpeg.
#include "tools/toolsupport.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

using namespace toolsupport;

namespace
{

struct Cell {
    long long first;
    long long last;
};

// The cells of the title set's first program chain, as the IFO reader numbers their sectors.
std::vector<Cell> cellsOf(int titleSet)
{
    std::vector<Cell> cells;
    dvd_reader_t *dvd = DVDOpen(dvdDir().c_str());
    if (!dvd)
        return cells;
    if (ifo_handle_t *ifo = ifoOpen(dvd, titleSet)) {
        if (ifo->vts_pgcit && ifo->vts_pgcit->nr_of_pgci_srp > 0) {
            const pgc_t *pgc = ifo->vts_pgcit->pgci_srp[0].pgc;
            for (int c = 0; c < pgc->nr_of_cells; ++c)
                cells.push_back(
                    {pgc->cell_playback[c].first_sector, pgc->cell_playback[c].last_sector});
        }
        ifoClose(ifo);
    }
    DVDClose(dvd);
    return cells;
}

std::string dvdInput(int titleSet, long long begin, long long end, const std::string &audio,
                     const std::string &subpicture, const std::string &root = dvdDir())
{
    char text[64];
    std::snprintf(text, sizeof text, "vts://%02d*%lld*%lld*", titleSet, begin, end);
    return text + audio + "*" + subpicture + "*/" + root;
}

std::string wholeTitle(int titleSet, const std::string &audio, const std::string &subpicture)
{
    const std::vector<Cell> cells = cellsOf(titleSet);
    EXPECT_FALSE(cells.empty());
    if (cells.empty())
        return {};
    return dvdInput(titleSet, cells.front().first, cells.back().last, audio, subpicture);
}

process::CapturedRun convert(const std::string &input, const std::string &output)
{
    return runTool("register.dat",
                   {"-y", "-i", input, "-r", "25", "-b", "800000", "-ab", "128000", "-ac", "2",
                    "-aspect", "1.3333", "-s", "320x240", "-ar", "44100", "-sn", output});
}

// Pixels that changed clearly (a burnt-in text), or -1 when the pictures are missing.
int changedPixels(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b)
{
    if (a.empty() || a.size() != b.size())
        return -1;
    int changed = 0;
    for (size_t i = 0; i < a.size(); ++i)
        changed += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i])) > 40 ? 1 : 0;
    return changed;
}

} // namespace

TEST(RegisterDvd, ConvertsATitleWithTheChosenAudioStream)
{
    struct Case {
        int titleSet;
        std::string audio;
        double tone;
        double duration;
    };
    const Case cases[] = {
        {1, "0x80", 440, 15}, // AC3
        {1, "0xc0", 880, 15}, // MPEG audio: 0x1c0 in the stream
        {2, "0xa0", 660, 8},  // LPCM
        {2, "0x88", 330, 8},  // DTS
        {1, "0", 440, 15},    // no choice: the first audio stream
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.titleSet) + " " + c.audio);
        const std::string output =
            dir.file("title" + std::to_string(c.titleSet) + c.audio + ".mp4");
        const auto run = convert(wholeTitle(c.titleSet, c.audio, "0"), output);
        ASSERT_TRUE(run.started);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("time="), std::string::npos) << run.out;
        const auto media = inspectMedia(output);
        ASSERT_TRUE(media);
        EXPECT_EQ(media->videoStreams, 1);
        EXPECT_EQ(media->audioStreams, 1);
        EXPECT_EQ(media->width, 320);
        EXPECT_NEAR(media->durationSeconds, c.duration, 1.0);
        EXPECT_NEAR(toneFrequency(output), c.tone, c.tone * 0.05);
    }
}

TEST(RegisterDvd, BurnsInASubtitleThatStartsLate)
{
    TempDir dir;
    const std::string plain = dir.file("plain.mp4");
    const std::string subtitled = dir.file("subtitled.mp4");
    ASSERT_EQ(convert(wholeTitle(1, "0x80", "0"), plain).exitCode, 0);
    const auto run = convert(wholeTitle(1, "0x80", "0x21"), subtitled);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("does not occur"), std::string::npos) << run.err;

    // Stream 0x21 is shown from 9 s on: the same before, different after.
    const int before = changedPixels(greyFrameAt(plain, 4), greyFrameAt(subtitled, 4));
    EXPECT_GE(before, 0);
    EXPECT_LE(before, 2);
    EXPECT_GE(changedPixels(greyFrameAt(plain, 10.5), greyFrameAt(subtitled, 10.5)), 10);
}

TEST(RegisterDvd, ConvertsOneChapterBySectors)
{
    const std::vector<Cell> cells = cellsOf(1);
    ASSERT_EQ(cells.size(), 5u);
    TempDir dir;
    const std::string output = dir.file("chapter3.mkv");
    // Chapter 3 is the fourth cell (9 to 12 s), where the late subtitle shows.
    const auto run = convert(dvdInput(1, cells[3].first, cells[3].last, "0xc0", "0x21"), output);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto media = inspectMedia(output);
    ASSERT_TRUE(media);
    EXPECT_NEAR(media->durationSeconds, 3, 0.8);
    EXPECT_NEAR(toneFrequency(output), 880, 44);
}

TEST(RegisterDvd, BadDvdInputsFailWithAMessage)
{
    const std::vector<Cell> cells = cellsOf(1);
    ASSERT_FALSE(cells.empty());
    TempDir dir;
    const std::string inputs[] = {
        dvdInput(1, cells.front().first, cells.back().last + 100000, "0x80", "0"),
        dvdInput(9, 0, 100, "0x80", "0"),
        dvdInput(1, 0, 100, "0x80", "0", dir.file("no disc here")),
        "vts://01*100*50*0x80*0*/" + dvdDir(),
        "vts://01*0*100*0x80*0*/",
    };
    for (const std::string &input : inputs) {
        SCOPED_TRACE(input);
        const auto run = convert(input, dir.file("out.mp4"));
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(fileExists(dir.file("out.mp4")));
    }
}
