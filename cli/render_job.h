// One run of spirovault-render: checks the options, sets up the effect, the composition and
// the parameters, renders the frames and writes the images.
#ifndef SPIROVAULT_CLI_RENDER_JOB_H
#define SPIROVAULT_CLI_RENDER_JOB_H

#include "cli/render_options.h"

namespace cli {

// The composition size without --size or a scene size.
constexpr int kDefaultWidth = 960;
constexpr int kDefaultHeight = 540;

// Returns the exit status; throws CliError (or ImageError) on failure.
int RunRenderJob(const RenderOptions& options);

}  // namespace cli

#endif
