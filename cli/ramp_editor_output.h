// --ramp-editor: the "Color Ramp" editor as the effect draws it in the panel, written to a PNG.
#ifndef SPIROVAULT_CLI_RAMP_EDITOR_OUTPUT_H
#define SPIROVAULT_CLI_RAMP_EDITOR_OUTPUT_H

#include <optional>
#include <string>
#include <vector>

#include "cli/color_ramp_value.h"
#include "hostsim/effect_host.h"

namespace cli {
using hostsim::EffectHost;

// The size the effect asks the panel for.
constexpr int kRampEditorImageWidth = 640;
constexpr int kRampEditorImageHeight = 65;

// Throws CliError (usage) unless the name ends in .png.
void CheckRampEditorOutput(const std::string& path);

// Draws the editor for `ramp` (the default ramp when none) and writes it as an 8-bit PNG,
// atomically. Throws CliError when the effect fails to draw, ImageError when the file fails.
void WriteRampEditorImage(const std::string& path,
                          const std::optional<std::vector<RampStopValue>>& ramp, EffectHost& host);

}  // namespace cli

#endif
