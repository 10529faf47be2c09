#include "common/joinplan.h"

#include <gtest/gtest.h>

using tools::JoinPlan;
using tools::JoinRoute;

TEST(JoinPlan, ChoosesTheRouteThatKeepsEachContainerClean)
{
    const struct {
        const char *extension;
        JoinRoute route;
    } cases[] = {
        {"avi", JoinRoute::ConcatCopy},      {"mkv", JoinRoute::ConcatCopy},
        {"mpg", JoinRoute::ConcatCopy},      {"ts", JoinRoute::ConcatCopy},
        {"mp3", JoinRoute::ConcatCopy},      {"wmv", JoinRoute::ConcatCopy},
        {"mp4", JoinRoute::TransportStream}, {"MP4", JoinRoute::TransportStream},
        {"mov", JoinRoute::TransportStream}, {"m4a", JoinRoute::TransportStream},
        {"3gp", JoinRoute::TransportStream}, {"3g2", JoinRoute::TransportStream},
        {"vob", JoinRoute::DvdCopy},         {"rm", JoinRoute::Reencode},
        {"ra", JoinRoute::Reencode},         {"swf", JoinRoute::Reencode},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JoinPlan::routeFor(c.extension), c.route) << c.extension;
}

TEST(JoinPlan, QuotesPathsForTheConcatList)
{
    const struct {
        const char *path;
        const char *token;
    } cases[] = {
        {"/out/a.avi", "'/out/a.avi'"},
        {"/out/it's.avi", "'/out/it'\\''s.avi'"},
        {"/out/''.avi", "'/out/'\\'''\\''.avi'"},
        {"/out/back\\slash \"q\".avi", "'/out/back\\slash \"q\".avi'"},
        {"/out/ünï 映像.mpg", "'/out/ünï 映像.mpg'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JoinPlan::quoted(c.path), c.token);

    EXPECT_EQ(JoinPlan::listFile({"/a/1.avi", "/a/it's.avi"}),
              "ffconcat version 1.0\nfile '/a/1.avi'\nfile '/a/it'\\''s.avi'\n");
    EXPECT_FALSE(JoinPlan::listable("/a/line\nbreak.avi"));
    EXPECT_TRUE(JoinPlan::listable("/a/b.avi"));
}
