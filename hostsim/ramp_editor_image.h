// The colour ramp editor drawn off-screen, as the panel would show it: for tools that show a
// ramp without the host application.
#ifndef SPIROVAULT_HOSTSIM_RAMP_EDITOR_IMAGE_H
#define SPIROVAULT_HOSTSIM_RAMP_EDITOR_IMAGE_H

#include <cstdint>
#include <vector>

#include "hostsim/drawbot/rgba_image.h"
#include "hostsim/effect_host.h"

namespace hostsim {

// Draws the editor of the "Color Ramp" parameter at width x height for the ramp stored in
// `flat_ramp` (the parameter's 328 stored bytes; empty for the default ramp). Runs global and
// parameter setup on `host` first when it has not declared its parameters. Throws
// std::runtime_error naming what failed.
RgbaImage DrawRampEditorImage(EffectHost& host, const std::vector<uint8_t>& flat_ramp, int width,
                              int height);

}  // namespace hostsim

#endif
