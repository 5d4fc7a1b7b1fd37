// Memory for a frame, known before it is rendered: what the frame will allocate, weighed against
// what the process can still have, so that a frame too large fails at once with the amount it
// needs instead of running out part-way.
#ifndef SPIROVAULT_CLI_FRAME_MEMORY_H
#define SPIROVAULT_CLI_FRAME_MEMORY_H

#include <cstdint>
#include <string>

#include "cli/value_parsing.h"
#include "hostsim/frames/host_image.h"

namespace cli {
using hostsim::WorldDepth;

struct FramePlan {
    FrameSize size;
    WorldDepth depth = WorldDepth::k8;
    int hdri_width = 0, hdri_height = 0;  // 0: no environment layer
    WorldDepth hdri_depth = WorldDepth::k32;
    int frames_at_once = 1;  // frames rendered at once, each with its own worlds and copies
    int threads = 1;         // row threads of each frame, the one rendering it included
};

// The address space a thread's stack takes: the system's default for a new thread.
uint64_t ThreadStackBytes();

// Bytes one frame allocates on top of what is held before it: the input and output worlds at
// the frame's depth, the environment layer's world and the effect's float copy of it, the
// output converted to floats and packed, the writer's buffers and the stacks of the frame's
// threads; times the frames at once.
uint64_t FrameMemoryNeeded(const FramePlan& plan);

struct MemoryRoom {
    uint64_t bytes = UINT64_MAX;  // UINT64_MAX: nothing known limits it
    std::string limit;            // what limits it, for messages
};

// The least of what the address-space and data limits leave above the present use, the
// memory the system has available and the control group's limit.
MemoryRoom AvailableMemory();

// Throws CliError "a W x H frame at D bits needs about N MB, but only M MB can be had (limit)"
// when the frame does not fit in `room`.
void CheckFrameMemory(const FramePlan& plan, const MemoryRoom& room);

}  // namespace cli

#endif
