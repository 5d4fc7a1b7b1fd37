#include "standalone/cli/render_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "standalone/cli/cli_error.h"

void RegisterRenderOptions(CLI::App& app, RenderOptions& o) {
    app.add_option("-o,--output", o.output,
                   "output image, .png (8 or 16-bit) or .exr (float); a run of # in the name "
                   "becomes the frame number")
        ->capture_default_str();
    app.add_option("--size", o.size, "composition and output size WxH (default 960x540)");
    app.add_option("--depth", o.depth, "bits per channel: 8 or 16 (.png), 32 (.exr)");
    app.add_option("--frames", o.frames, "frame A or frames A-B (default 0)");
    app.add_option("--threads", o.threads, "render threads (default all cores)")
        ->check(CLI::Range(1, 1024));
    app.add_option("--parallel-frames", o.parallel_frames,
                   "frames of a sequence rendered at once on the one effect instance (default 1)")
        ->check(CLI::Range(1, 64));
    app.add_option("--set", o.sets,
                   "NAME=VALUE: a parameter by its display name (see --list-params); repeatable")
        ->allow_extra_args(false);
    app.add_option("--ramp", o.ramp, "\"Color Ramp\" as POS:#RRGGBB,... with 1 to 16 stops");
    app.add_option("--scene", o.scene, "JSON composition: size, camera, lights, keyframes");
    app.add_option("--hdri", o.hdri, "image for \"HDRI Layer\" (.exr, .hdr, .png)");
    app.add_option("--input", o.input,
                   "image for the layer the effect is applied to (default transparent black)");
    app.add_option("--gpu", o.gpu,
                   "render on the machine's GPU device of this framework: none, opencl or cuda")
        ->capture_default_str();
    app.add_option("--host", o.host,
                   "the host application to play: ae (smart render) or premiere (PF_Cmd_RENDER "
                   "on VUYA float frames, no composition camera or lights)")
        ->capture_default_str();
    app.add_flag("--list-params", o.list_params, "list the effect's parameters and exit");
    app.add_option("--ramp-editor", o.ramp_editor,
                   "draw the \"Color Ramp\" editor (640 x 65) for --ramp, or the default ramp, "
                   "into this PNG and exit");
    app.add_option("--plugin", o.plugin,
                   "the plug-in library (default: spirovault.so beside "
                   "this program, then the build tree's)");
}

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options) {
    CLI::App app{"Renders the Spirovault effect through the plug-in, without a host application.",
                 "spirovault-render"};
    RegisterRenderOptions(app, *options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return false;
    } catch (const CLI::ParseError& e) {
        std::string message = e.what();
        // Messages of CLI11 can span lines; one line is the rule here.
        for (char& c : message) {
            if (c == '\n') c = ' ';
        }
        throw UsageError(message);
    }
    return true;
}
