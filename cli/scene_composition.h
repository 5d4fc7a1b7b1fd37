// The host's composition from a scene, at the size the frames are rendered.
#ifndef SPIROVAULT_CLI_SCENE_COMPOSITION_H
#define SPIROVAULT_CLI_SCENE_COMPOSITION_H

#include "cli/scene.h"
#include "cli/value_parsing.h"
#include "hostsim/composition/composition.h"

namespace cli {

// The composition for a frame size: the scene's frame rate, its camera (with the host's
// defaults for a new camera where the file said nothing) and lights. A scene made for another
// size is scaled about the centre by the ratio of the heights: positions, targets, zoom, focus
// distance, aperture and shadow diffusion, so that it frames the same at any size.
void BuildComposition(const Scene& scene, FrameSize size, Composition* composition);

// A composition's default camera zoom: a 50 mm lens on 36 mm film across the width.
double DefaultCameraZoom(int composition_width);

}  // namespace cli

#endif
