#include "kernel/cpu/cpu_frame.h"

CpuFrame MakeCpuFrame(const RenderSettings* settings) {
    CpuFrame frame{settings, {}};
    DeriveViewFrame(settings, &frame.view);
    return frame;
}
