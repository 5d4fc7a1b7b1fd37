#include "cli/color_encoding.h"

#include <cmath>

float SrgbToLinear(float encoded) {
    const double magnitude = std::fabs(static_cast<double>(encoded));
    const double linear =
        magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
    return static_cast<float>(encoded < 0 ? -linear : linear);
}

void ConvertToLinearLight(FloatImage* image) {
    for (size_t i = 0; i < image->rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) image->rgba[i + c] = SrgbToLinear(image->rgba[i + c]);
    }
}
