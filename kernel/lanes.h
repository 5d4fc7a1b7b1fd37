// The lane type of the core's generic maths. The GPU kernels and the scalar CPU build use one
// float per lane; CPU packet units bring their own wider types (kernel/cpu/lanes_vector.h) and
// re-include the generic files with them. Generic code writes lane-dependent control flow as
// masks: a comparison gives a mask, SvSelect picks per lane, SvAnyLane asks whether a mask
// holds anywhere. Under one lane these reduce to plain branches.
#ifndef SPIROVAULT_KERNEL_LANES_H
#define SPIROVAULT_KERNEL_LANES_H

#include "kernel/portable.h"

SV_FN float SvSelect(int mask, float a, float b) {
    return mask ? a : b;
}
SV_FN int SvAnyLane(int mask) {
    return mask != 0;
}
SV_FN float SvLaneSqrt(float x) {
    return sv_sqrt(x);
}
SV_FN float SvLaneLog(float x) {
    return sv_log(x);
}
SV_FN float SvMinLane(float a, float b) {
    return SvMinF(a, b);
}
SV_FN float SvMaxLane(float a, float b) {
    return SvMaxF(a, b);
}
SV_FN float SvClampLane(float x, float lo, float hi) {
    return SvClampF(x, lo, hi);
}

#endif
