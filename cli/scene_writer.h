// The effective scene of a render as JSON, in the form the scene loader reads: everything that
// decides the image (size, frame rate, frames, images, ramp, camera, lights, parameters), so
// that loading it renders the same image.
#ifndef SPIROVAULT_CLI_SCENE_WRITER_H
#define SPIROVAULT_CLI_SCENE_WRITER_H

#include <optional>
#include <string>
#include <vector>

#include "cli/param_catalog.h"
#include "cli/scene.h"

namespace cli {

struct EffectiveScene {
    FrameSize size;
    double frame_rate = 30.0;
    FrameRange frames;
    std::optional<std::string> hdri, input;  // as the current directory sees them
    std::optional<std::vector<RampStopValue>> ramp;
    std::vector<CompLayer> layers;  // the composition's camera and lights at `size`
    std::vector<SceneParam> params;
    bool exr_linear = true;  // OpenEXR colour in linear light, else display-encoded
};

// Paths are written relative to `file_dir`, the directory of the file the text goes into
// ("" for the current one), where they stay inside it; a name that is not UTF-8 cannot be
// written and throws CliError. Keys are sorted and the text is UTF-8 (not \u escapes, so that it
// is no larger than the scene read), so equal scenes give equal text: indented for people, or
// on one line to embed.
std::string SceneToJson(const EffectiveScene& scene, const ParamCatalog& catalog,
                        const std::string& file_dir, bool pretty);

// The parameter values in effect: the scene's, then each of `overrides` in place of any
// earlier value of the same parameter.
std::vector<SceneParam> MergeParams(std::vector<SceneParam> params,
                                    const std::vector<SceneParam>& overrides);

}  // namespace cli

#endif
