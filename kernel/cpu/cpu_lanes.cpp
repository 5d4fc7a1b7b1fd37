#include "kernel/cpu/cpu_lanes.h"

#include <cstdlib>
#include <cstring>

namespace {

CpuRowPath DetectWidest() {
#if defined(SPIROVAULT_HAVE_PACKETS)
    // The compiler's check includes the operating system's support for the wider registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return CpuRowPath::kLanes16;
    if (__builtin_cpu_supports("avx2")) return CpuRowPath::kLanes8;
    return CpuRowPath::kLanes4;  // SSE2 is part of x86-64
#else
    return CpuRowPath::kLanes1;
#endif
}

}  // namespace

CpuRowPath WidestCpuRowPath() {
    static const CpuRowPath widest = DetectWidest();
    return widest;
}

int LanesOf(CpuRowPath path) {
    switch (path) {
        case CpuRowPath::kLanes4:
            return 4;
        case CpuRowPath::kLanes8:
            return 8;
        case CpuRowPath::kLanes16:
            return 16;
        default:
            return 1;
    }
}

CpuRowPath ChooseCpuRowPath() {
    const CpuRowPath widest = WidestCpuRowPath();
    const char* value = std::getenv("SPIROVAULT_CPU_LANES");
    if (value == nullptr || *value == '\0') return widest;
    if (std::strcmp(value, "trig") == 0) return CpuRowPath::kTrigStep;
    const int lanes = std::atoi(value);
    CpuRowPath wanted = widest;
    if (lanes == 1) wanted = CpuRowPath::kLanes1;
    if (lanes == 4) wanted = CpuRowPath::kLanes4;
    if (lanes == 8) wanted = CpuRowPath::kLanes8;
    if (lanes == 16) wanted = CpuRowPath::kLanes16;
    return LanesOf(wanted) <= LanesOf(widest) ? wanted : widest;
}

RenderRowSpanFn RowSpanFor(CpuRowPath path) {
    switch (path) {
        case CpuRowPath::kTrigStep:
            return RenderRowSpanTrigStep;
#if defined(SPIROVAULT_HAVE_PACKETS)
        case CpuRowPath::kLanes4:
            return RenderRowSpanLanes4;
        case CpuRowPath::kLanes8:
            return RenderRowSpanLanes8;
        case CpuRowPath::kLanes16:
            return RenderRowSpanLanes16;
#endif
        default:
            return RenderRowSpanLanes1;
    }
}

EstimateSpanFn EstimateSpanFor(CpuRowPath path) {
    switch (path) {
        case CpuRowPath::kTrigStep:
            return EstimateSpanTrigStep;
#if defined(SPIROVAULT_HAVE_PACKETS)
        case CpuRowPath::kLanes4:
            return EstimateSpanLanes4;
        case CpuRowPath::kLanes8:
            return EstimateSpanLanes8;
        case CpuRowPath::kLanes16:
            return EstimateSpanLanes16;
#endif
        default:
            return EstimateSpanLanes1;
    }
}
