// The command line's options as typed, checked values: everything the command line alone
// decides, settled before the plug-in is loaded so that a bad option costs no effect setup.
#ifndef SPIROVAULT_CLI_JOB_SETTINGS_H
#define SPIROVAULT_CLI_JOB_SETTINGS_H

#include <optional>
#include <string>
#include <vector>

#include "cli/color_ramp_value.h"
#include "cli/frame_view_options.h"
#include "cli/render_options.h"
#include "cli/value_parsing.h"
#include "host/ae_basic_types.h"
#include "host/pf_gpu_framework.h"
#include "imageio/image_file.h"

namespace cli {

struct JobSettings {
    std::string output;  // may hold a run of # for the frame number
    imageio::ImageKind format = imageio::ImageKind::kPng;
    int depth = 8;  // 8 or 16 for PNG, 32 for OpenEXR
    // EXR colour in linear light (true) or display-encoded (false); unset: the scene's choice,
    // linear for a scene that makes none.
    std::optional<bool> linear;
    std::optional<FrameSize> size;  // --size; the scene's or the default size otherwise
    std::optional<FrameRange> frames;
    std::optional<std::vector<RampStopValue>> ramp;
    // NAME=VALUE as given: the names are the plug-in's, checked once it is loaded.
    std::vector<std::string> sets;
    PF_GPU_Framework gpu = PF_GPU_Framework_NONE;
    std::string gpu_name;  // as the user wrote it, for messages
    A_long host_app_id = 0;
    FrameView view;           // the part, resolution, pixel aspect and field asked for
    int threads = 0;          // 0: all cores
    int parallel_frames = 1;  // at least 1
    std::optional<std::string> plugin, scene, hdri, input, ramp_editor, save_scene;
    bool version = false;
    bool list_params = false;
    bool skip_existing = false;
};

// Throws CliError (usage) naming the first fault, in the order the options are checked.
JobSettings SettleJobSettings(const RenderOptions& options);

// A frame is held to the image budget, as an image read from a file is.
void CheckFrameSize(FrameSize size);

}  // namespace cli

#endif
