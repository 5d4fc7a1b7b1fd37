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

}  // namespace
