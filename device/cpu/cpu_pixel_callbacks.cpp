#include "device/cpu/cpu_pixel_callbacks.h"

#include <cstring>

#include "device/cpu/vuya_pixel.h"
#include "kernel/pixel_sampling.h"

namespace spirovault {

namespace {

constexpr int kExactShortcuts = 1;

// Renders through the float callback with the input widened to float, then narrows the result.
template <typename Pixel, typename Widen, typename Narrow>
PF_Err RenderPixelConverted(void* refcon, A_long x, A_long y, const Pixel* in, Pixel* out,
                            Widen widen, Narrow narrow) {
    PF_PixelFloat in_f{};
    if (in != nullptr) {
        in_f = PF_PixelFloat{widen(in->alpha), widen(in->red), widen(in->green), widen(in->blue)};
    }
    PF_PixelFloat out_f{};
    const PF_Err err = RenderPixelFloat(refcon, x, y, in != nullptr ? &in_f : nullptr, &out_f);
    if (err != PF_Err_NONE) return err;
    out->alpha = narrow(out_f.alpha);
    out->red = narrow(out_f.red);
    out->green = narrow(out_f.green);
    out->blue = narrow(out_f.blue);
    return PF_Err_NONE;
}

}  // namespace

A_u_short FloatToChannel16(float value) {
    return static_cast<A_u_short>(SvClampF(value, 0.0f, 1.0f) * PF_MAX_CHAN16);
}

A_u_char FloatToChannel8(float value) {
    return static_cast<A_u_char>(SvClampF(value, 0.0f, 1.0f) * PF_MAX_CHAN8);
}

PF_Err RenderPixelFloat(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out) {
    const auto* frame = static_cast<const CpuFrame*>(refcon);
    PixelF in_f{};
    if (in != nullptr) in_f = PixelF{in->alpha, in->red, in->green, in->blue};
    PixelF out_f{};
    RenderPixelInView(frame->settings, &frame->view, x, y, in != nullptr ? &in_f : nullptr, &out_f,
                      kExactShortcuts);
    *out = PF_PixelFloat{out_f.alpha, out_f.red, out_f.green, out_f.blue};
    return PF_Err_NONE;
}

PF_Err RenderPixel16(void* refcon, A_long x, A_long y, PF_Pixel16* in, PF_Pixel16* out) {
    return RenderPixelConverted(
        refcon, x, y, in, out, [](A_u_short c) { return c * (1.0f / PF_MAX_CHAN16); },
        FloatToChannel16);
}

PF_Err RenderPixel8(void* refcon, A_long x, A_long y, PF_Pixel8* in, PF_Pixel8* out) {
    return RenderPixelConverted(
        refcon, x, y, in, out, [](A_u_char c) { return c / 255.0f; }, FloatToChannel8);
}

PF_Err RenderPixelVuya(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out) {
    PF_PixelFloat in_argb{};
    if (in != nullptr) {
        VuyaPixel in_vuya;
        std::memcpy(&in_vuya, in, sizeof in_vuya);
        in_argb = VuyaToArgb(in_vuya);
    }
    PF_PixelFloat out_argb{};
    const PF_Err err =
        RenderPixelFloat(refcon, x, y, in != nullptr ? &in_argb : nullptr, &out_argb);
    if (err != PF_Err_NONE) return err;
    const VuyaPixel out_vuya = ArgbToVuya(out_argb);
    std::memcpy(out, &out_vuya, sizeof out_vuya);
    return PF_Err_NONE;
}

}  // namespace spirovault
