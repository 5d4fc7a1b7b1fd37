// The command line of spirovault-render. Every option is declared in RegisterRenderOptions, so a
// new option is one field here and one line there.
#ifndef SPIROVAULT_STANDALONE_CLI_RENDER_OPTIONS_H
#define SPIROVAULT_STANDALONE_CLI_RENDER_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

struct RenderOptions {
    std::string output = "spirovault.png";
    std::optional<std::string> size;    // WxH
    std::optional<int> depth;           // 8, 16 or 32
    std::optional<std::string> frames;  // A or A-B
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
};

void RegisterRenderOptions(CLI::App& app, RenderOptions& options);

// Parses argv into options. Help goes to stdout and returns false; errors throw CliError.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options);

#endif
