// The memory a frame is known to need before it renders.
#include "cli/frame_memory.h"

#include <gtest/gtest.h>

namespace {

using namespace cli;

TEST(FrameMemory, CountsTheStacksOfTheFramesThreads) {
    // Under an address-space limit each thread's stack is taken whole when the thread starts.
    FramePlan plan;
    plan.size = FrameSize{64, 36};
    const uint64_t one_thread = FrameMemoryNeeded(plan);
    plan.threads = 48;
    const uint64_t many = FrameMemoryNeeded(plan);
    EXPECT_GE(ThreadStackBytes(), uint64_t{64} << 10);
    EXPECT_GE(many - one_thread, 47 * ThreadStackBytes());
    plan.frames_at_once = 2;
    EXPECT_GE(FrameMemoryNeeded(plan), 2 * 48 * ThreadStackBytes());
}

}  // namespace
