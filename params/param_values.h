// Parameter values as plain numbers, and their conversion into the frame's RenderSettings.
// The host path fills ParamValues from checked-out parameters; tools fill them from defaults.
#ifndef SPIROVAULT_PARAMS_PARAM_VALUES_H
#define SPIROVAULT_PARAMS_PARAM_VALUES_H

#include <array>
#include <cstdint>

#include "kernel/color_ramp.h"
#include "kernel/settings.h"
#include "params/param_table.h"

namespace spirovault {

struct ParamValue {
    // Slider value, angle in degrees, checkbox (non-zero = on) or popup choice.
    double number = 0.0;
    uint8_t red = 0, green = 0, blue = 0;  // colours
};

using ParamValues = std::array<ParamValue, kNumParams>;

// The value every parameter starts at.
ParamValues DefaultParamValues();

// Stores the parameter fields of the record. `ramp` may be null (a ramp that could not be read),
// which leaves the ramp fields zero. Camera, lights, output size and environment are not touched.
void StoreParamValues(const ParamValues& values, const ColorRamp* ramp, RenderSettings* record);

}  // namespace spirovault

#endif
