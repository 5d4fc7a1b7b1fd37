// Which row renderer the CPU render uses: the widest packet the processor runs, unless the
// environment variable SPIROVAULT_CPU_LANES names another ("trig": the trigonometric power
// step one pixel at a time; "1", "4", "8", "16": lanes per packet). A width the processor cannot
// run is never chosen; a request beyond it gets the widest it can.
#ifndef SPIROVAULT_KERNEL_CPU_CPU_LANES_H
#define SPIROVAULT_KERNEL_CPU_CPU_LANES_H

#include "kernel/cpu/cpu_packet_rows.h"

enum class CpuRowPath { kTrigStep, kLanes1, kLanes4, kLanes8, kLanes16 };

// From the processor's instruction sets, determined once.
CpuRowPath WidestCpuRowPath();
// The environment's choice, bounded by the processor, else the widest. Read on every call.
CpuRowPath ChooseCpuRowPath();
RenderRowSpanFn RowSpanFor(CpuRowPath path);
EstimateSpanFn EstimateSpanFor(CpuRowPath path);
int LanesOf(CpuRowPath path);

#endif
