#include "ramp/ramp_edit.h"

#include <cmath>
#include <cstdlib>

namespace spirovault {

namespace {

// A count outside 0..16 can only come from damaged stored data; it is read as the nearest bound
// and written back that way by any edit that changes the count.
int StopsInUse(const ColorRamp* ramp) {
    return UsableStopCount(ramp);
}

void HsvToRgb(float hue, float s, float v, RampStop* stop) {
    const float k = v * s;
    const float x = k * (1.0f - std::fabs(std::fmod(hue / 60.0f, 2.0f) - 1.0f));
    const float m = v - k;
    float r = 0, g = 0, b = 0;
    if (hue < 60) {
        r = k, g = x;
    } else if (hue < 120) {
        r = x, g = k;
    } else if (hue < 180) {
        g = k, b = x;
    } else if (hue < 240) {
        g = x, b = k;
    } else if (hue < 300) {
        r = x, b = k;
    } else {
        r = k, b = x;
    }
    stop->red = r + m;
    stop->green = g + m;
    stop->blue = b + m;
    stop->alpha = 1.0f;
}

}  // namespace

void ResetRamp(ColorRamp* ramp) {
    ramp->magic[0] = 'Q';
    ramp->magic[1] = 'X';
    ramp->magic[2] = 'W';
    ramp->magic[3] = 'V';
    ramp->stop_count = 1;
    ramp->stops[0] = RampStop{0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
}

void SortStops(ColorRamp* ramp) {
    const int n = StopsInUse(ramp);
    for (int k = 1; k < n; ++k) {
        const RampStop taken = ramp->stops[k];
        int gap = k;
        while (gap > 0 && ramp->stops[gap - 1].position > taken.position) {
            ramp->stops[gap] = ramp->stops[gap - 1];
            --gap;
        }
        ramp->stops[gap] = taken;
    }
}

int AddStop(ColorRamp* ramp, float t) {
    const int before = StopsInUse(ramp);
    if (ramp->stop_count >= kMaxRampStops) return -1;
    RampStop added{t, 0, 0, 0, 0};
    SampleRamp(ramp, t, &added.red, &added.green, &added.blue, &added.alpha);
    ramp->stops[before] = added;
    ramp->stop_count = before + 1;
    SortStops(ramp);
    for (int i = 0; i < ramp->stop_count; ++i) {
        const RampStop& s = ramp->stops[i];
        if (std::fabs(s.position - t) < 1e-5f && std::fabs(s.red - added.red) < 1e-5f) return i;
    }
    return before;
}

void RemoveStop(ColorRamp* ramp, int index) {
    const int n = StopsInUse(ramp);
    if (n < 2 || index < 0 || index >= n) return;
    for (int i = index; i + 1 < n; ++i) ramp->stops[i] = ramp->stops[i + 1];
    ramp->stop_count = n - 1;
}

void ReverseRamp(ColorRamp* ramp) {
    const int n = StopsInUse(ramp);
    for (int i = 0; i < n; ++i) ramp->stops[i].position = 1.0f - ramp->stops[i].position;
    SortStops(ramp);
}

void RandomizeRamp(ColorRamp* ramp) {
    const float base = static_cast<float>(std::rand() % 360);  // drawn even with no stops
    const int n = StopsInUse(ramp);
    if (n == 0) return;
    const float step = 360.0f / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const float hue = std::fmod(static_cast<float>(i) * step + base, 360.0f);
        const float s = static_cast<float>(std::rand() % 100) / 100.0f * 0.2f + 0.8f;
        const float v = static_cast<float>(std::rand() % 100) / 100.0f * 0.35f + 0.65f;
        HsvToRgb(hue, s, v, &ramp->stops[i]);
    }
}

}  // namespace spirovault
