// Composition-space to fractal-space mapping and the cameras used when the composition has none.
#ifndef SPIROVAULT_FRAME_COMP_CAMERA_H
#define SPIROVAULT_FRAME_COMP_CAMERA_H

#include "kernel/settings.h"

namespace spirovault {

// Fractal units per composition pixel: the comp's height fills a 45-degree view at distance 3.5.
float CompScale(float comp_height);

// The host's default camera for a composition of W x H without a camera layer, lens off.
void SetDefaultCompCamera(float comp_width, float comp_height, float comp_scale,
                          RenderSettings* record);

// What the effect sees where the host has no composition (Premiere Pro): the default camera of a
// composition of the frame's size, the depth range rescaled from its pixels into fractal units,
// and no composition lights.
void UseFrameAsComposition(float frame_width, float frame_height, RenderSettings* record);

// A fixed camera at (0, -3.5, 0) looking along +y, up +z, 45-degree vertical view.
void SetFallbackCamera(RenderSettings* record);

// Lens and highlight fields of a camera without depth of field.
void SetPinholeLens(float focus_distance, RenderSettings* record);

}  // namespace spirovault

#endif
