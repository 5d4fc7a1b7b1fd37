// Premiere Pro's 32-bit float VUYA pixels (PrPixelFormat_VUYA_4444_32f) and their relation to the
// renderer's RGB: four floats in memory order V, U, Y, A; Y is 0 to 1 for RGB 0 to 1, U and V are
// centred on 0 (-0.5 to 0.5), by the ITU-R BT.601 coefficients. The values are not clamped, so
// colours above white survive the round trip. Colour is straight (not premultiplied) on both sides.
#ifndef SPIROVAULT_DEVICE_CPU_VUYA_PIXEL_H
#define SPIROVAULT_DEVICE_CPU_VUYA_PIXEL_H

#include "host/pf_pixel.h"

namespace spirovault {

struct VuyaPixel {
    float v, u, y, a;
};
static_assert(sizeof(VuyaPixel) == sizeof(PF_PixelFloat),
              "VUYA and ARGB float pixels share a size");

inline constexpr float kLumaRed = 0.299f;
inline constexpr float kLumaGreen = 0.587f;
inline constexpr float kLumaBlue = 0.114f;
// U and V scale B - Y and R - Y so that pure blue and pure red reach 0.5.
inline constexpr float kChromaBlueScale = 0.5f / (1.0f - kLumaBlue);
inline constexpr float kChromaRedScale = 0.5f / (1.0f - kLumaRed);

inline VuyaPixel ArgbToVuya(const PF_PixelFloat& p) {
    const float y = kLumaRed * p.red + kLumaGreen * p.green + kLumaBlue * p.blue;
    return VuyaPixel{(p.red - y) * kChromaRedScale, (p.blue - y) * kChromaBlueScale, y, p.alpha};
}

inline PF_PixelFloat VuyaToArgb(const VuyaPixel& p) {
    const float red = p.y + p.v / kChromaRedScale;
    const float blue = p.y + p.u / kChromaBlueScale;
    const float green = (p.y - kLumaRed * red - kLumaBlue * blue) / kLumaGreen;
    return PF_PixelFloat{p.a, red, green, blue};
}

}  // namespace spirovault

#endif
