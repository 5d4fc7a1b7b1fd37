#ifndef SPIROVAULT_TESTS_RAMP_RAMP_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_RAMP_RAMP_TEST_SUPPORT_H

#include <initializer_list>

#include "kernel/color_ramp.h"

namespace spirovault {

struct Rgba {
    float r, g, b, a;
};

// A ramp holding exactly the given stops, in the given order; unused slots zero.
inline ColorRamp MakeRamp(std::initializer_list<RampStop> stops) {
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    ramp.stop_count = 0;
    for (const RampStop& s : stops) ramp.stops[ramp.stop_count++] = s;
    return ramp;
}

inline Rgba Sample(const ColorRamp& ramp, float t) {
    Rgba c{};
    SampleRamp(&ramp, t, &c.r, &c.g, &c.b, &c.a);
    return c;
}

}  // namespace spirovault

#endif
