// The lane-generic integer-power estimate with one float per lane: the GPU kernels and the scalar
// CPU build take it as it is; CPU packet units include the generic files again with their own
// lane types.
#ifndef SPIROVAULT_KERNEL_ONE_LANE_H
#define SPIROVAULT_KERNEL_ONE_LANE_H

#include "kernel/lanes.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

#define SV_LANE float
#define SV_MASK int
#define SV_SPLAT(x) (x)
#include "kernel/estimate_lanes.h"

#endif
