#include "common/ffmpegcommand.h"

#include <algorithm>
#include <gtest/gtest.h>

using tools::DvdStreamPlan;
using tools::EncoderArgs;
using tools::FfmpegCommand;
using tools::FfmpegPlan;

namespace
{

using Args = std::vector<std::string>;

FfmpegPlan build(const Args &args, const DvdStreamPlan &dvd = {})
{
    std::string error;
    const auto parsed = EncoderArgs::parse(args, &error);
    EXPECT_TRUE(parsed) << error;
    return parsed ? FfmpegCommand::build(*parsed, dvd) : FfmpegPlan{};
}

// Position of the run of arguments, or -1.
long findRun(const Args &argv, const Args &run)
{
    const auto it = std::search(argv.begin(), argv.end(), run.begin(), run.end());
    return it == argv.end() ? -1 : static_cast<long>(it - argv.begin());
}

std::string joined(const Args &argv)
{
    std::string text;
    for (const auto &arg : argv)
        text += "[" + arg + "]";
    return text;
}

} // namespace

TEST(FfmpegCommand, TranslatesOldOptionsAndKeepsTheirOrder)
{
    struct Case {
        Args args;
        std::vector<Args> present; // in this order
        std::vector<Args> absent;
    };
    const Case cases[] = {
        // The converter's own line: -b and -ab become per-stream rates.
        {{"-y", "-i", "in.mpg", "-r", "25", "-b", "1500000", "-ab", "128000", "-ac", "2", "-aspect",
          "1.3333", "-s", "320x240", "-ar", "44100", "-sn", "out.avi"},
         {{"-nostdin"},
          {"-progress", "pipe:3"},
          {"-y"},
          {"-i", "file:in.mpg"},
          {"-r", "25"},
          {"-b:v", "1500000"},
          {"-b:a", "128000"},
          {"-ac", "2"},
          {"-aspect", "1.3333"},
          {"-s", "320x240"},
          {"-ar", "44100"},
          {"-sn"},
          {"file:out.avi"}},
         {{"-b"}, {"-ab"}, {"-n"}}},
        // Without -y nothing is overwritten, and no prompt waits for a key.
        {{"-i", "in.avi", "out.avi"}, {{"-nostdin"}, {"-n"}}, {{"-y"}}},
        // Profile options placed later override the size; both stay, in order.
        {{"-i", "a.avi", "-s", "320x240", "-s", "640x480", "o.avi"},
         {{"-s", "320x240"}, {"-s", "640x480"}},
         {}},
        // Codecs and options that ffmpeg no longer knows under their old names.
        {{"-i", "a.avi", "-vcodec", "xvid", "-acodec", "libfaac", "-flags", "+4mv+aic", "-qscale",
          "3", "o.avi"},
         {{"-vcodec", "libxvid"}, {"-acodec", "aac"}, {"-flags", "+mv4+aic"}, {"-q:v", "3"}},
         {}},
        {{"-i", "a.avi", "-acodec", "vorbis", "-acodec", "mp3", "-vcodec", "h264", "o.mkv"},
         {{"-acodec", "libvorbis"}, {"-acodec", "libmp3lame"}, {"-vcodec", "libx264"}},
         {}},
        {{"-i", "a.avi", "-acodec", "amr_nb", "o.3gp"}, {{"-acodec", "aac"}}, {}},
        {{"-i", "a.avi", "-title", "My clip", "-author", "Me", "o.mp4"},
         {{"-metadata", "title=My clip"}, {"-metadata", "artist=Me"}},
         {{"-title"}}},
        {{"-i", "a.avi", "-vpre", "hq", "-vpre", "ipod640", "o.mp4"},
         {{"-preset", "slow"}, {"-profile:v", "baseline"}},
         {{"-vpre"}}},
        {{"-i", "a.avi", "-deinterlace", "-croptop", "8", "-cropbottom", "8", "-vf", "hflip",
          "o.avi"},
         {{"-vf", "yadif,crop=iw-0:ih-16:0:8,hflip"}},
         {{"-deinterlace"}, {"-croptop"}, {"hflip"}}},
        // 4:4:4 sources must not give 4:4:4 outputs; copied or audio-only streams are left be.
        {{"-i", "a.mov", "-vcodec", "libx264", "o.mp4"}, {{"-pix_fmt", "yuv420p"}}, {}},
        {{"-i", "a.mov", "-vcodec", "copy", "o.mp4"}, {}, {{"-pix_fmt"}}},
        {{"-i", "a.avi", "-ab", "128000", "o.mp3"}, {{"-vn"}}, {{"-pix_fmt"}}},
        {{"-i", "a.avi", "-vn", "o.mkv"}, {{"-vn"}}, {{"-pix_fmt"}}},
        // .vob needs the DVD muxer for its NAV packs.
        {{"-i", "a.avi", "-target", "pal-dvd", "o.vob"},
         {{"-target", "pal-dvd"}, {"-f", "dvd", "file:o.vob"}},
         {}},
        {{"-i", "a.avi", "-f", "mpeg", "o.vob"}, {{"-f", "mpeg", "file:o.vob"}}, {{"-f", "dvd"}}},
        // Paths are always files, whatever they start with.
        {{"-i", "-dash.avi", "-sn", "-out.avi"}, {{"-i", "file:-dash.avi"}, {"file:-out.avi"}}, {}},
    };
    for (const Case &c : cases) {
        const FfmpegPlan plan = build(c.args);
        long last = -1;
        for (const Args &run : c.present) {
            const long at = findRun(plan.argv, run);
            EXPECT_GE(at, 0) << joined(run) << " missing in " << joined(plan.argv);
            EXPECT_GT(at, last) << joined(run) << " out of order in " << joined(plan.argv);
            last = std::max(last, at);
        }
        for (const Args &run : c.absent)
            EXPECT_EQ(findRun(plan.argv, run), -1) << joined(run) << " in " << joined(plan.argv);
        EXPECT_EQ(plan.argv.front(), "ffmpeg");
        EXPECT_EQ(std::count(plan.argv.begin(), plan.argv.end(), ""), 0);
    }
}

TEST(FfmpegCommand, PictureSizesAreFittedToTheCodec)
{
    const struct {
        Args args;
        std::string size;
    } cases[] = {
        {{"-i", "a.avi", "-s", "321x241", "-vcodec", "mpeg4", "o.avi"}, "320x240"},
        {{"-i", "a.avi", "-s", "320x240", "-vcodec", "mpeg4", "o.avi"}, "320x240"},
        {{"-i", "a.avi", "-s", "321x241", "-vcodec", "rv10", "o.rm"}, "320x240"},
        {{"-i", "a.avi", "-s", "330x250", "-vcodec", "rv10", "o.rm"}, "320x240"},
        {{"-i", "a.avi", "-s", "330x250", "-vcodec", "rv20", "o.rm"}, "328x248"},
        {{"-i", "a.avi", "-s", "hd720", "o.mp4"}, "hd720"},
    };
    for (const auto &c : cases) {
        const FfmpegPlan plan = build(c.args);
        EXPECT_GE(findRun(plan.argv, {"-s", c.size}), 0) << joined(plan.argv);
    }
}

TEST(FfmpegCommand, OutputPathComesLast)
{
    const FfmpegPlan plan = build({"-i", "a.avi", "-vcodec", "mpeg4", "-sn", "/out/b c.avi"});
    EXPECT_EQ(plan.argv.back(), "file:/out/b c.avi");
}

TEST(FfmpegCommand, ObsoleteOptionsAreDroppedWithANote)
{
    const FfmpegPlan plan = build({"-i", "a.avi", "-sameq", "-padtop", "8", "o.avi"});
    EXPECT_EQ(findRun(plan.argv, {"-sameq"}), -1);
    EXPECT_EQ(findRun(plan.argv, {"-padtop"}), -1);
    EXPECT_EQ(plan.notes.size(), 2u);
}

TEST(FfmpegCommand, DvdInputIsReadFromThePipeWithTheChosenStreams)
{
    struct Case {
        Args args;
        DvdStreamPlan dvd;
        std::vector<Args> present;
        std::vector<Args> absent;
    };
    const std::string dvd = "vts://01*100*900*0x80*0x21*//media/dvd";
    const Case cases[] = {
        // Interlaced DVD video is deinterlaced before the subtitle is burnt in.
        {{"-y", "-i", dvd, "-s", "320x240", "o.mp4"},
         {true, "0:i:0x80", "0:i:0x21", 12000000},
         {{"-f", "mpeg", "-probesize", "12000000"},
          {"-i", "pipe:0"},
          {"-filter_complex", "[0:v:0]yadif[base];[base][0:i:0x21]overlay=eof_action=pass[v]",
           "-map", "[v]"},
          {"-map", "0:i:0x80"},
          {"-s", "320x240"}},
         {{"-vf"}}},
        // Disc targets keep the interlaced picture; profile filters follow the overlay.
        {{"-i", dvd, "-target", "pal-dvd", "-vf", "hflip", "o.vob"},
         {true, "0:i:0x1c0", "0:i:0x20", 0},
         {{"-filter_complex", "[0:v:0][0:i:0x20]overlay=eof_action=pass,hflip[v]"},
          {"-map", "0:i:0x1c0"}},
         {{"-probesize"}, {"yadif"}}},
        {{"-i", dvd, "-vf", "hflip", "o.avi"},
         {true, "0:a:0?", "", 0},
         {{"-map", "0:v:0"}, {"-vf", "yadif,hflip"}, {"-map", "0:a:0?"}},
         {{"-filter_complex"}}},
        // Sound only: no picture is mapped.
        {{"-i", dvd, "o.mp3"},
         {true, "0:i:0xa0", "0:i:0x21", 0},
         {{"-vn"}, {"-map", "0:i:0xa0"}},
         {{"-map", "0:v:0"}, {"-filter_complex"}}},
    };
    for (const Case &c : cases) {
        const FfmpegPlan plan = build(c.args, c.dvd);
        for (const Args &run : c.present)
            EXPECT_GE(findRun(plan.argv, run), 0)
                << joined(run) << " missing in " << joined(plan.argv);
        for (const Args &run : c.absent)
            EXPECT_EQ(findRun(plan.argv, run), -1) << joined(run) << " in " << joined(plan.argv);
    }
}

TEST(FfmpegCommand, AmrOutputHandsRawSamplesToTheOwnEncoder)
{
    const FfmpegPlan plan = build({"-y", "-i", "a.mp4", "-r", "25", "-b", "800000", "-ab", "7400",
                                   "-ac", "1", "-s", "176x144", "-ar", "8000", "-sn", "o.amr"});
    EXPECT_TRUE(plan.amrOutput);
    EXPECT_EQ(plan.amrBitrate, 7400);
    EXPECT_GE(findRun(plan.argv, {"-vn", "-sn", "-ac", "1", "-ar", "8000", "-c:a", "pcm_s16le",
                                  "-f", "s16le", "pipe:1"}),
              0)
        << joined(plan.argv);
    for (const Args &run : std::vector<Args>{{"-b:v"}, {"-s"}, {"-b:a"}, {"file:o.amr"}})
        EXPECT_EQ(findRun(plan.argv, run), -1) << joined(run);

    EXPECT_EQ(build({"-i", "a.mp4", "o.AMR"}).amrBitrate, 12200);
    EXPECT_EQ(build({"-i", "a.mp4", "-ab", "10.2k", "o.amr"}).amrBitrate, 10200);
    EXPECT_FALSE(build({"-i", "a.mp4", "o.3gp"}).amrOutput);
}
