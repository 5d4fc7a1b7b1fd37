// Frames rendered with every power on the trigonometric step, for comparing the two forms.
#ifndef SPIROVAULT_TESTS_KERNEL_TRIG_STEP_FRAMES_H
#define SPIROVAULT_TESTS_KERNEL_TRIG_STEP_FRAMES_H

#include <vector>

#include "host/pf_pixel.h"
#include "kernel/settings.h"

namespace spirovault {

std::vector<PF_PixelFloat> RenderFrameTrigStep(const RenderSettings& settings,
                                               const std::vector<PF_PixelFloat>* input);

}  // namespace spirovault

#endif
