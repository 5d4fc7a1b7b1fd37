// The one header that lets the render core compile unchanged as C++ (CPU), CUDA C++ and
// OpenCL C 1.2. Everything below this header is plain structs and free functions.
#ifndef SPIROVAULT_KERNEL_PORTABLE_H
#define SPIROVAULT_KERNEL_PORTABLE_H

#if defined(__OPENCL_VERSION__)
#define SV_OPENCL 1
#if defined(cl_khr_fp64)
#pragma OPENCL EXTENSION cl_khr_fp64 : enable
#define SV_HAS_DOUBLE 1
#endif
// OpenCL C has no inline linkage worth trusting; the program is one translation unit.
#define SV_FN
#define SV_GLOBAL __global
#define sv_sqrt(x) sqrt(x)
#define sv_pow(x, y) pow(x, y)
#define sv_sin(x) sin(x)
#define sv_cos(x) cos(x)
#define sv_atan2(y, x) atan2(y, x)
#define sv_acos(x) acos(x)
#define sv_asin(x) asin(x)
#define sv_log(x) log(x)
#define sv_floor(x) floor(x)
#define sv_ceil(x) ceil(x)
#define sv_fabs(x) fabs(x)
#define sv_fmod(x, y) fmod(x, y)
#else
#define SV_HAS_DOUBLE 1
#if defined(__CUDACC__)
#define SV_FN __host__ __device__ inline
#elif !defined(SV_FN)
// CPU units compiled with their own instruction-set flags define SV_FN as `static inline`, so
// that no copy of a core function built for one instruction set is shared with another unit.
#define SV_FN inline
#endif
#define SV_GLOBAL
#include <math.h>
#define sv_sqrt(x) sqrtf(x)
#define sv_pow(x, y) powf(x, y)
#define sv_sin(x) sinf(x)
#define sv_cos(x) cosf(x)
#define sv_atan2(y, x) atan2f(y, x)
#define sv_acos(x) acosf(x)
#define sv_asin(x) asinf(x)
#define sv_log(x) logf(x)
#define sv_floor(x) floorf(x)
#define sv_ceil(x) ceilf(x)
#define sv_fabs(x) fabsf(x)
#define sv_fmod(x, y) fmodf(x, y)
#endif

// The environment lookup computes its texture coordinates in double where the device has it.
#if defined(SV_HAS_DOUBLE)
typedef double SvWide;
#define sv_wide_atan2(y, x) atan2(y, x)
#define sv_wide_asin(x) asin(x)
#else
typedef float SvWide;
#define sv_wide_atan2(y, x) atan2(y, x)
#define sv_wide_asin(x) asin(x)
#endif

#define SV_PI 3.14159265f
#define SV_TWO_PI 6.2831855f
#define SV_DEG_TO_RAD 0.017453292f

// Explicit comparisons rather than fminf/fmaxf, so that every target resolves ties and NaN alike.
SV_FN float SvMinF(float a, float b) {
    return a < b ? a : b;
}
SV_FN float SvMaxF(float a, float b) {
    return a > b ? a : b;
}
SV_FN float SvClampF(float x, float lo, float hi) {
    return x < lo ? lo : (x > hi ? hi : x);
}
SV_FN int SvMinI(int a, int b) {
    return a < b ? a : b;
}
SV_FN int SvMaxI(int a, int b) {
    return a > b ? a : b;
}
SV_FN int SvClampI(int x, int lo, int hi) {
    return x < lo ? lo : (x > hi ? hi : x);
}

// Three packed floats: 12 bytes on every target (OpenCL's float3 would be 16).
typedef struct Vec3 {
    float x;
    float y;
    float z;
} Vec3;

SV_FN Vec3 MakeVec3(float x, float y, float z) {
    Vec3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}
SV_FN Vec3 AddVec3(Vec3 a, Vec3 b) {
    return MakeVec3(a.x + b.x, a.y + b.y, a.z + b.z);
}
SV_FN Vec3 SubVec3(Vec3 a, Vec3 b) {
    return MakeVec3(a.x - b.x, a.y - b.y, a.z - b.z);
}
SV_FN Vec3 ScaleVec3(Vec3 a, float f) {
    return MakeVec3(a.x * f, a.y * f, a.z * f);
}
SV_FN Vec3 MulVec3(Vec3 a, Vec3 b) {
    return MakeVec3(a.x * b.x, a.y * b.y, a.z * b.z);
}
SV_FN Vec3 DivVec3(Vec3 a, float f) {
    return MakeVec3(a.x / f, a.y / f, a.z / f);
}
SV_FN float DotVec3(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
SV_FN Vec3 CrossVec3(Vec3 a, Vec3 b) {
    return MakeVec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
SV_FN float LengthVec3(Vec3 a) {
    return sv_sqrt(DotVec3(a, a));
}
// Every normalisation in the renderer divides by max(length, 1e-12).
SV_FN Vec3 NormalizeVec3(Vec3 a) {
    return DivVec3(a, SvMaxF(LengthVec3(a), 1e-12f));
}
SV_FN Vec3 LoadVec3(const float* f) {
    return MakeVec3(f[0], f[1], f[2]);
}

// Rec. 709 luminance.
SV_FN float Luminance(Vec3 c) {
    return 0.2126f * c.x + 0.7152f * c.y + 0.0722f * c.z;
}

#endif
