// Rows of the CPU render with the core built several ways: the trigonometric step on one lane
// (the earlier renderer, kept for comparison), the trigonometry-free step on one lane, and
// packets of 4, 8 and 16 adjacent pixels marched together in SIMD lanes. Each is its own unit
// with its own instruction-set flags; cpu_lanes.h picks one for the processor.
#ifndef SPIROVAULT_KERNEL_CPU_CPU_PACKET_ROWS_H
#define SPIROVAULT_KERNEL_CPU_CPU_PACKET_ROWS_H

#include "kernel/cpu/cpu_frame.h"
#include "kernel/pixel_sampling.h"

// Renders pixels [x0, x0 + count) of row y into out; `in`, when not null, holds their input
// pixels. Every variant gives each pixel exactly what RenderPixelInView gives it (the
// trigonometric one: with its own power step).
typedef void (*RenderRowSpanFn)(const CpuFrame* frame, int y, int x0, int count, const PixelF* in,
                                PixelF* out);

// Distance estimates at `count` points (coordinates in x, y, z) with the unit's lanes; each
// trap[i] comes in as the orbit trap so far and is lowered as EstimateDistance lowers it.
typedef void (*EstimateSpanFn)(const RenderSettings* s, const float* x, const float* y,
                               const float* z, int count, float* distance, float* trap);

#define SV_DECLARE_CPU_UNIT(suffix)                                                               \
    void RenderRowSpan##suffix(const CpuFrame* frame, int y, int x0, int count, const PixelF* in, \
                               PixelF* out);                                                      \
    void EstimateSpan##suffix(const RenderSettings* s, const float* x, const float* y,            \
                              const float* z, int count, float* distance, float* trap);

SV_DECLARE_CPU_UNIT(TrigStep)
SV_DECLARE_CPU_UNIT(Lanes1)
#if defined(SPIROVAULT_HAVE_PACKETS)
SV_DECLARE_CPU_UNIT(Lanes4)
SV_DECLARE_CPU_UNIT(Lanes8)
SV_DECLARE_CPU_UNIT(Lanes16)
#endif

#endif
