// What every pixel of a CPU frame reads: the record and the view values derived from it once.
#ifndef SPIROVAULT_KERNEL_CPU_CPU_FRAME_H
#define SPIROVAULT_KERNEL_CPU_CPU_FRAME_H

#include "kernel/settings.h"
#include "kernel/view_frame.h"

struct CpuFrame {
    const RenderSettings* settings;
    ViewFrame view;
};

// Out of line: the packet units each build the core with their own instruction set, and none of
// them may lend it to the others.
CpuFrame MakeCpuFrame(const RenderSettings* settings);

#endif
