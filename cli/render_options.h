// The command line of spirovault-render. Every option is one row of RenderOptionTable(): its
// names, the value it takes, its help and where the value goes, so a new option is one field
// here and one row there; parsing, messages and --help follow from the table.
#ifndef SPIROVAULT_CLI_RENDER_OPTIONS_H
#define SPIROVAULT_CLI_RENDER_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct RenderOptions {
    std::string output = "spirovault.png";
    std::optional<std::string> size;    // WxH
    std::optional<int> depth;           // 8, 16 or 32
    std::optional<std::string> frames;  // A, A-B, A-BxN or a list of those
    int threads = 0;                    // 0: all cores
    int parallel_frames = 1;            // frames of a sequence rendered at once
    std::vector<std::string> sets;      // NAME=VALUE
    std::optional<std::string> ramp;
    std::optional<std::string> scene;
    std::optional<std::string> hdri;
    std::optional<std::string> input;
    bool list_params = false;
    std::optional<std::string> ramp_editor;  // PNG of the "Color Ramp" editor, instead of frames
    std::optional<std::string> plugin;       // the plug-in library; found beside the tool otherwise
    std::string gpu = "none";                // none, opencl or cuda
    std::string host = "ae";                 // ae or premiere
    std::optional<std::string> region;       // X,Y,W,H
    std::optional<std::string> downsample;   // N or NxM
    std::optional<std::string> pixel_aspect;  // a ratio
    std::optional<std::string> fields;        // upper or lower
    bool linear = false;                      // --linear: the default for EXR, said outright
    bool display_encoded = false;             // EXR colour as the effect made it
    bool skip_existing = false;               // frames whose output file exists are not rendered
    std::optional<std::string> save_scene;    // the effective scene written here, no render
    bool version = false;
    bool help = false;
};

struct OptionSpec {
    const char* short_name;  // "-o", or null
    const char* long_name;   // "--output"
    const char* value_name;  // "PATH"; null for a switch
    bool repeatable;
    const char* help;
    // Stores the value (empty for a switch); throws CliError (usage) when it is malformed.
    void (*apply)(RenderOptions& options, const std::string& value);
};

const std::vector<OptionSpec>& RenderOptionTable();

// The --help text, from the table.
std::string RenderOptionsHelp();

// Parses argv into options; throws CliError (usage) with one line naming the fault.
void ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options);

}  // namespace cli

#endif
