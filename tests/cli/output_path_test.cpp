#include "cli/output_path.h"

#include <gtest/gtest.h>

namespace {

using namespace cli;

TEST(OutputPath, FrameNumberReplacesTheLastRunOfHashes) {
    EXPECT_EQ(FrameOutputPath("frame_###.png", 7), "frame_007.png");
    EXPECT_EQ(FrameOutputPath("frame_#.png", 1234), "frame_1234.png");
    EXPECT_EQ(FrameOutputPath("a#b_##.exr", 3), "a#b_03.exr");
    // A '#' in a directory name is not the placeholder.
    EXPECT_EQ(FrameOutputPath("out#/x.png", 3), "out#/x.png");
    EXPECT_FALSE(HasFramePlaceholder("out#/x.png"));
    EXPECT_TRUE(HasFramePlaceholder("out/x###.png"));
}

TEST(OutputPath, ShortRunsWidenToTheLastFramesDigits) {
    EXPECT_EQ(WidenFrameRun("f_#.png", 200), "f_###.png");
    EXPECT_EQ(WidenFrameRun("f_##.png", 99), "f_##.png");
    EXPECT_EQ(WidenFrameRun("f_####.png", 200), "f_####.png");
    EXPECT_EQ(WidenFrameRun("a#/b#c_#.exr", 1000), "a#/b#c_####.exr");
    EXPECT_EQ(WidenFrameRun("out#/x.png", 1000), "out#/x.png");
}

}  // namespace
