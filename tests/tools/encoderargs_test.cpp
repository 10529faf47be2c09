#include "common/encoderargs.h"

#include <gtest/gtest.h>

using tools::EncoderArgs;

namespace
{

std::vector<std::string> optionTexts(const std::vector<tools::EncoderOption> &options)
{
    std::vector<std::string> texts;
    for (const auto &option : options) {
        texts.push_back(option.name);
        if (option.hasValue)
            texts.push_back(option.value);
    }
    return texts;
}

} // namespace

TEST(EncoderArgs, TakesTheConvertersCommandLineWithItsDoubledBlanks)
{
    // The runner splits "-y  -i clip.mpg ... 44100   -sn out.avi"; doubled blanks leave "".
    const auto args = EncoderArgs::parse({"-y",      "",       "-i",           "/video/clip.mpg",
                                          "-r",      "25",     "-b",           "1500000",
                                          "-ab",     "128000", "-ac",          "2",
                                          "-aspect", "1.3333", "-s",           "320x240",
                                          "",        "-ar",    "44100",        "",
                                          "",        "-sn",    "/out/clip.avi"});
    ASSERT_TRUE(args);
    EXPECT_TRUE(args->overwrite());
    EXPECT_FALSE(args->isProbe());
    EXPECT_EQ(args->input(), "/video/clip.mpg");
    EXPECT_EQ(args->output(), "/out/clip.avi");
    EXPECT_EQ(args->outputExtension(), "avi");
    EXPECT_TRUE(args->inputOptions().empty());
    const std::vector<std::string> expected = {"-r",     "25",      "-b",  "1500000", "-ab",
                                               "128000", "-ac",     "2",   "-aspect", "1.3333",
                                               "-s",     "320x240", "-ar", "44100",   "-sn"};
    EXPECT_EQ(optionTexts(args->outputOptions()), expected);
    EXPECT_EQ(args->lastValue("-s"), "320x240");
}

TEST(EncoderArgs, ReadsTheOutputAndTheProbeFromTheLastArgument)
{
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string output; // empty: a probe
    };
    const Case cases[] = {
        {{"-i", "/v/a.avi"}, "/v/a.avi", ""},
        {{"-i", "-dash.avi"}, "-dash.avi", ""},
        {{"-i", "a.avi", "-sn", "-dash.avi"}, "a.avi", "-dash.avi"},
        {{"-i", "a.avi", "-sn"}, "a.avi", ""},
        {{"-i", "a b.avi", "-vcodec", "mpeg4", "out put.MP4"}, "a b.avi", "out put.MP4"},
        {{"-i", "vts://01*1*2*0x80*0*//media/dvd", "o.vob"},
         "vts://01*1*2*0x80*0*//media/dvd",
         "o.vob"},
    };
    for (const Case &c : cases) {
        std::string error;
        const auto args = EncoderArgs::parse(c.args, &error);
        ASSERT_TRUE(args) << error;
        EXPECT_EQ(args->input(), c.input);
        EXPECT_EQ(args->output(), c.output);
        EXPECT_EQ(args->isProbe(), c.output.empty());
    }
}

TEST(EncoderArgs, OptionsBeforeTheInputStayInputOptions)
{
    const auto args = EncoderArgs::parse({"-ss", "5", "-y", "-i", "a.avi", "-t", "3", "b.avi"});
    ASSERT_TRUE(args);
    EXPECT_EQ(optionTexts(args->inputOptions()), (std::vector<std::string>{"-ss", "5"}));
    EXPECT_EQ(optionTexts(args->outputOptions()), (std::vector<std::string>{"-t", "3"}));
    EXPECT_FALSE(EncoderArgs::parse({"-i", "a.avi", "b.avi"})->overwrite());
}

TEST(EncoderArgs, RejectsCommandLinesItCannotRead)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"", ""},
        {"-i"},
        {"-y", "out.avi"},
        {"-i", "a.avi", "-b", "out.avi"},
        {"-i", "a.avi", "stray", "out.avi"},
        {"-i", "a.avi", "-i", "b.avi", "out.avi"},
    };
    for (const auto &args : bad) {
        std::string error;
        EXPECT_FALSE(EncoderArgs::parse(args, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(EncoderArgs, ExtensionIsLowerCasedAndTakenFromTheFileName)
{
    EXPECT_EQ(tools::extensionOf("/a/b/c.MP4"), "mp4");
    EXPECT_EQ(tools::extensionOf("/a.b/c"), "");
    EXPECT_EQ(tools::extensionOf("c"), "");
}
