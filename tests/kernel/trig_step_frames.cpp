// The core compiled a second time with the trigonometric step for every power; its functions
// are local to this unit so that they never stand in for the library's.
#include <math.h>

#define SV_FN static inline
#define SV_TRIG_POWER_STEP 1
#include "kernel/pixel_sampling.h"
#include "tests/kernel/trig_step_frames.h"
#include "tests/support/frame_renderer.h"

namespace spirovault {

std::vector<PF_PixelFloat> RenderFrameTrigStep(const RenderSettings& settings,
                                               const std::vector<PF_PixelFloat>* input) {
    const int width = settings.output_width;
    std::vector<PF_PixelFloat> frame(static_cast<size_t>(width) * settings.output_height);
    ForEachRow(settings.output_height, 0, [&](int y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * width + x;
            PixelF in{};
            if (input != nullptr) {
                const PF_PixelFloat& p = (*input)[at];
                in = PixelF{p.alpha, p.red, p.green, p.blue};
            }
            PixelF out{};
            RenderPixelSamples(&settings, x, y, input != nullptr ? &in : nullptr, &out, 1);
            frame[at] = PF_PixelFloat{out.alpha, out.red, out.green, out.blue};
        }
    });
    return frame;
}

}  // namespace spirovault
