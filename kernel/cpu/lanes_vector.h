// Lane types of SV_PACKET_WIDTH floats for the CPU packet units, built on the compilers' vector
// extension: a vector takes the scalar's operators and comparisons, so the generic core reads
// the same for one lane or sixteen. The only instruction-set intrinsics of the renderer live
// here. Every function computes each lane exactly as the one-lane version does.
#ifndef SPIROVAULT_KERNEL_CPU_LANES_VECTOR_H
#define SPIROVAULT_KERNEL_CPU_LANES_VECTOR_H

#include <immintrin.h>
#include <math.h>

#include "kernel/lanes.h"

#if !defined(SV_PACKET_WIDTH) || \
    (SV_PACKET_WIDTH != 4 && SV_PACKET_WIDTH != 8 && SV_PACKET_WIDTH != 16)
#error "SV_PACKET_WIDTH must be 4, 8 or 16"
#endif

typedef float SvLaneF __attribute__((vector_size(SV_PACKET_WIDTH * sizeof(float))));
typedef int SvLaneM __attribute__((vector_size(SV_PACKET_WIDTH * sizeof(int))));

static inline SvLaneF SvSelect(SvLaneM mask, SvLaneF a, SvLaneF b) {
    return mask ? a : b;
}

static inline int SvAnyLane(SvLaneM mask) {
#if SV_PACKET_WIDTH == 4
    return _mm_movemask_ps(reinterpret_cast<__m128>(mask)) != 0;
#elif SV_PACKET_WIDTH == 8
    return _mm256_movemask_ps(reinterpret_cast<__m256>(mask)) != 0;
#else
    const __m512i m = reinterpret_cast<__m512i>(mask);
    return _mm512_test_epi32_mask(m, m) != 0;
#endif
}

// Square roots are correctly rounded in every instruction set, so the lanes equal sqrtf.
static inline SvLaneF SvLaneSqrt(SvLaneF x) {
#if SV_PACKET_WIDTH == 4
    return reinterpret_cast<SvLaneF>(_mm_sqrt_ps(reinterpret_cast<__m128>(x)));
#elif SV_PACKET_WIDTH == 8
    return reinterpret_cast<SvLaneF>(_mm256_sqrt_ps(reinterpret_cast<__m256>(x)));
#else
    // The masked form with every lane set: the plain one trips a false uninitialised warning.
    const __m512 v = reinterpret_cast<__m512>(x);
    return reinterpret_cast<SvLaneF>(_mm512_mask_sqrt_ps(v, static_cast<__mmask16>(0xFFFF), v));
#endif
}

// Once per estimate: the scalar library function lane by lane, the very value of one lane.
static inline SvLaneF SvLaneLog(SvLaneF x) {
    SvLaneF out;
    for (int i = 0; i < SV_PACKET_WIDTH; ++i) out[i] = sv_log(x[i]);
    return out;
}

static inline SvLaneF SvMinLane(SvLaneF a, SvLaneF b) {
    return SvSelect(a < b, a, b);
}
static inline SvLaneF SvMaxLane(SvLaneF a, SvLaneF b) {
    return SvSelect(a > b, a, b);
}
static inline SvLaneF SvClampLane(SvLaneF x, SvLaneF lo, SvLaneF hi) {
    return SvSelect(x < lo, lo, SvSelect(x > hi, hi, x));
}

static inline SvLaneF SvSplatLane(float x) {
    return SvLaneF{} + x;
}

#endif
