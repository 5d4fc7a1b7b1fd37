#include "cli/frame_memory.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#if defined(__linux__)
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "cli/cli_error.h"
#include "hostsim/frames/host_world.h"

namespace cli {
using hostsim::HostWorld;

namespace {

// The writer's row buffers, allocator slack.
constexpr uint64_t kMargin = uint64_t{32} << 20;
// Rows the EXR writer premultiplies at a time.
constexpr uint64_t kWriterRows = 64;

uint64_t Megabytes(uint64_t bytes) {
    return (bytes + (uint64_t{1} << 20) - 1) >> 20;
}

int Bits(WorldDepth depth) {
    return depth == WorldDepth::k8 ? 8 : (depth == WorldDepth::k16 ? 16 : 32);
}

#if defined(__linux__)
void Consider(MemoryRoom& room, uint64_t bytes, const char* limit) {
    if (bytes < room.bytes) {
        room.bytes = bytes;
        room.limit = limit;
    }
}

uint64_t LeftUnder(rlim_t limit, uint64_t used) {
    return limit > used ? limit - used : 0;
}

// A line "Name: N kB" of /proc/meminfo, in bytes; 0 when absent.
uint64_t MemInfo(const std::string& text, const char* name) {
    const size_t at = text.find(name);
    if (at == std::string::npos) return 0;
    std::istringstream value(text.substr(at + std::char_traits<char>::length(name)));
    uint64_t kilobytes = 0;
    value >> kilobytes;
    return kilobytes << 10;
}

std::string FileText(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif

}  // namespace

uint64_t ThreadStackBytes() {
    size_t bytes = size_t{8} << 20;
#if defined(__linux__)
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) == 0) {
        pthread_attr_getstacksize(&attributes, &bytes);
        pthread_attr_destroy(&attributes);
    }
#endif
    return bytes;
}

uint64_t FrameMemoryNeeded(const FramePlan& plan) {
    const uint64_t pixels = static_cast<uint64_t>(plan.size.width) * plan.size.height;
    const uint64_t rows = static_cast<uint64_t>(plan.size.height);
    const uint64_t world = pixels * PixelBytes(plan.depth) + rows * HostWorld::kRowPaddingBytes;
    const uint64_t environment_pixels =
        static_cast<uint64_t>(plan.hdri_width) * static_cast<uint64_t>(plan.hdri_height);
    const uint64_t environment =
        environment_pixels * PixelBytes(plan.hdri_depth) +
        static_cast<uint64_t>(plan.hdri_height) * HostWorld::kRowPaddingBytes +
        environment_pixels * 3 * sizeof(float);
    const uint64_t output = pixels * 4 * sizeof(float) + pixels * PixelBytes(plan.depth);
    const uint64_t writer = kWriterRows * plan.size.width * 4 * sizeof(float);
    const uint64_t at_once = static_cast<uint64_t>(std::max(plan.frames_at_once, 1));
    // The thread that renders a frame has a stack of its own as well as its row threads.
    const uint64_t stacks =
        (static_cast<uint64_t>(std::max(plan.threads, 1)) + 1) * ThreadStackBytes();
    return at_once * (2 * world + environment + output + stacks) + writer + kMargin;
}

MemoryRoom AvailableMemory() {
    MemoryRoom room;
#if defined(__linux__)
    const uint64_t page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    uint64_t size_pages = 0, resident = 0, shared = 0, text = 0, library = 0, data_pages = 0;
    std::istringstream statm(FileText("/proc/self/statm"));
    statm >> size_pages >> resident >> shared >> text >> library >> data_pages;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && statm) {
        Consider(room, LeftUnder(limit.rlim_cur, size_pages * page), "the address-space limit");
    }
    if (getrlimit(RLIMIT_DATA, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && statm) {
        Consider(room, LeftUnder(limit.rlim_cur, data_pages * page), "the data-size limit");
    }
    const std::string meminfo = FileText("/proc/meminfo");
    if (const uint64_t available = MemInfo(meminfo, "MemAvailable:"); available > 0) {
        Consider(room, available + MemInfo(meminfo, "SwapFree:"), "the memory available");
    }
    // A container's limit, where the process runs in one with a limit.
    std::istringstream group_max(FileText("/sys/fs/cgroup/memory.max"));
    std::istringstream group_current(FileText("/sys/fs/cgroup/memory.current"));
    uint64_t max = 0, current = 0;
    if (group_max >> max && group_current >> current) {
        Consider(room, max > current ? max - current : 0, "the control group's memory limit");
    }
#endif
    return room;
}

void CheckFrameMemory(const FramePlan& plan, const MemoryRoom& room) {
    const uint64_t needed = FrameMemoryNeeded(plan);
    if (needed <= room.bytes) return;
    throw CliError(
        "a " + std::to_string(plan.size.width) + " x " + std::to_string(plan.size.height) +
        " frame at " + std::to_string(Bits(plan.depth)) + " bits" +
        (plan.frames_at_once > 1 ? " (" + std::to_string(plan.frames_at_once) + " at once)" : "") +
        (plan.hdri_width > 0 ? " with its environment image" : "") + " needs about " +
        std::to_string(Megabytes(needed)) + " MB, but only " + std::to_string(room.bytes >> 20) +
        " MB can be had (" + room.limit + ")");
}

}  // namespace cli
