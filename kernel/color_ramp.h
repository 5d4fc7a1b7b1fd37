// The colour ramp record (also its stored form), its sampling and its packed GPU table.
// Portable: compiled for the CPU, CUDA and OpenCL alike.
#ifndef SPIROVAULT_KERNEL_COLOR_RAMP_H
#define SPIROVAULT_KERNEL_COLOR_RAMP_H

#include "kernel/portable.h"

#define kMaxRampStops 16
#define kColorRampSize 328

typedef struct RampStop {
    float position;
    float red;
    float green;
    float blue;
    float alpha;
} RampStop;

typedef struct ColorRamp {
    char magic[4];  // "QXWV"; written when a ramp is built, never checked
    int stop_count;
    RampStop stops[kMaxRampStops];
} ColorRamp;

// Per stop (position, red, green, blue); entries past the stop count are zero.
typedef struct RampTable {
    float entries[kMaxRampStops][4];
} RampTable;

#if defined(__cplusplus)
static_assert(sizeof(RampStop) == 20, "RampStop is five floats");
static_assert(sizeof(ColorRamp) == kColorRampSize, "ColorRamp is the 328-byte stored form");
static_assert(sizeof(RampTable) == 256, "RampTable is 16 x 4 floats");
#endif

// Stored data can carry any count; everything that indexes stops goes through this bound.
SV_FN int UsableStopCount(const ColorRamp* ramp) {
    return SvClampI(ramp->stop_count, 0, kMaxRampStops);
}

SV_FN void InitDefaultRamp(ColorRamp* ramp) {
    char* bytes = (char*)ramp;
    for (int i = 0; i < kColorRampSize; ++i) bytes[i] = 0;
    ramp->magic[0] = 'Q';
    ramp->magic[1] = 'X';
    ramp->magic[2] = 'W';
    ramp->magic[3] = 'V';
    ramp->stop_count = 1;
    ramp->stops[0].red = 1.0f;
    ramp->stops[0].green = 1.0f;
    ramp->stops[0].blue = 1.0f;
    ramp->stops[0].alpha = 1.0f;
}

SV_FN void SampleRamp(const ColorRamp* ramp, float t, float* red, float* green, float* blue,
                      float* alpha) {
    const int n = UsableStopCount(ramp);
    if (n <= 0) {
        *red = 0.0f;
        *green = 0.0f;
        *blue = 0.0f;
        *alpha = 0.0f;
        return;
    }
    const RampStop* first = &ramp->stops[0];
    const RampStop* last = &ramp->stops[n - 1];
    if (n == 1 || first->position >= t) {
        *red = first->red;
        *green = first->green;
        *blue = first->blue;
        *alpha = first->alpha;
        return;
    }
    if (t >= last->position) {
        *red = last->red;
        *green = last->green;
        *blue = last->blue;
        *alpha = last->alpha;
        return;
    }
    // First segment whose right stop lies strictly beyond t.
    int lo = 0;
    int hi = n - 2;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (t >= ramp->stops[mid + 1].position) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    const RampStop* a = &ramp->stops[lo];
    const RampStop* b = &ramp->stops[lo + 1];
    const float span = b->position - a->position;
    const float f = span > 1e-9f ? (t - a->position) / span : 0.0f;
    *red = (b->red - a->red) * f + a->red;
    *green = (b->green - a->green) * f + a->green;
    *blue = (b->blue - a->blue) * f + a->blue;
    *alpha = (b->alpha - a->alpha) * f + a->alpha;
}

SV_FN void PackRampTable(const ColorRamp* ramp, RampTable* table) {
    for (int i = 0; i < kMaxRampStops; ++i) {
        for (int c = 0; c < 4; ++c) table->entries[i][c] = 0.0f;
    }
    const int n = UsableStopCount(ramp);
    for (int i = 0; i < n; ++i) {
        table->entries[i][0] = ramp->stops[i].position;
        table->entries[i][1] = ramp->stops[i].red;
        table->entries[i][2] = ramp->stops[i].green;
        table->entries[i][3] = ramp->stops[i].blue;
    }
}

#endif
