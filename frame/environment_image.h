// The environment layer as the record's packed float RGB block, converted once per frame so that
// neither the pixel code nor the GPU upload ever looks at the host world or its depth.
#ifndef SPIROVAULT_FRAME_ENVIRONMENT_IMAGE_H
#define SPIROVAULT_FRAME_ENVIRONMENT_IMAGE_H

#include "host/pf_effect_world.h"
#include "kernel/settings.h"

namespace spirovault {

// Longest side an environment may have; a longer one renders without environment.
inline constexpr A_long kMaxEnvironmentSide = 32767;

// Frees the record's environment block and marks it absent (width and height 0).
void ClearEnvironment(RenderSettings* record);

// Replaces the record's environment with the world's pixels: red, green, blue per pixel, rows
// top-down and packed, alpha dropped, nothing unpremultiplied. Float worlds are copied, 16-bit
// channels scaled by 1/32768, GPU worlds' blue-green-red-alpha floats (read back from the device)
// reordered, Premiere Pro's VUYA float worlds converted to RGB, any other format
// read as 8-bit and divided by 255. An empty world, a side beyond kMaxEnvironmentSide or a failed
// allocation leaves no environment.
void StoreEnvironmentImage(const PF_EffectWorld& world, PF_PixelFormat format,
                           RenderSettings* record);

}  // namespace spirovault

#endif
