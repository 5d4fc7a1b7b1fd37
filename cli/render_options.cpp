#include "cli/render_options.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "cli/cli_error.h"
#include "cli/nearest_names.h"
#include "cli/value_parsing.h"

namespace cli {

namespace {

// A whole number in [min, max] for an option, or a usage error naming it.
int WholeNumber(const char* option, const std::string& value, int min, int max,
                const std::string& expected) {
    const bool digits = !value.empty() && value.size() <= 9 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    const long number = digits ? std::stol(value) : -1;
    if (!digits || number < min || number > max) {
        throw UsageError(std::string(option) + " " + Quoted(value) + ": expected " + expected);
    }
    return static_cast<int>(number);
}

const std::vector<OptionSpec> kOptions = {
    {"-o", "--output", "PATH", false,
     "output image, .png (8 or 16-bit) or .exr (float); a run of # in the name becomes the "
     "frame number (default spirovault.png)",
     [](RenderOptions& o, const std::string& v) { o.output = v; }},
    {nullptr, "--size", "WxH", false, "composition and output size (default 960x540)",
     [](RenderOptions& o, const std::string& v) { o.size = v; }},
    {nullptr, "--depth", "BITS", false, "bits per channel: 8 or 16 (.png), 32 (.exr)",
     [](RenderOptions& o, const std::string& v) {
         o.depth = WholeNumber("--depth", v, 0, 64, "8, 16 or 32");
     }},
    {nullptr, "--frames", "LIST", false,
     "the frames: A, A-B, A-BxN (every Nth from A) or a list of those in ascending order, "
     "1,7,20-30 (default 0)",
     [](RenderOptions& o, const std::string& v) { o.frames = v; }},
    {nullptr, "--threads", "N", false, "render threads, 1 to 1024 (default all cores)",
     [](RenderOptions& o, const std::string& v) {
         o.threads = WholeNumber("--threads", v, 1, 1024, "a whole number 1 to 1024");
     }},
    {nullptr, "--parallel-frames", "N", false,
     "frames of a sequence rendered at once on the one effect instance, 1 to 64 (default 1)",
     [](RenderOptions& o, const std::string& v) {
         o.parallel_frames = WholeNumber("--parallel-frames", v, 1, 64, "a whole number 1 to 64");
     }},
    {nullptr, "--set", "NAME=VALUE", true,
     "a parameter by its display name (see --list-params; letter case aside); repeatable",
     [](RenderOptions& o, const std::string& v) { o.sets.push_back(v); }},
    {nullptr, "--ramp", "POS:#RRGGBB,...", false, "\"Color Ramp\" with 1 to 16 stops",
     [](RenderOptions& o, const std::string& v) { o.ramp = v; }},
    {nullptr, "--scene", "FILE", false,
     "JSON composition (size, camera, lights, keyframes), or an image this program wrote",
     [](RenderOptions& o, const std::string& v) { o.scene = v; }},
    {nullptr, "--save-scene", "PATH", false,
     "write the effective scene (the scene with the command line applied) as JSON; no render",
     [](RenderOptions& o, const std::string& v) { o.save_scene = v; }},
    {nullptr, "--hdri", "IMAGE", false, "image for \"HDRI Layer\" (.exr, .hdr, .png)",
     [](RenderOptions& o, const std::string& v) { o.hdri = v; }},
    {nullptr, "--input", "IMAGE", false,
     "image for the layer the effect is applied to (default transparent black)",
     [](RenderOptions& o, const std::string& v) { o.input = v; }},
    {nullptr, "--gpu", "FRAMEWORK", false,
     "render on the machine's device of this framework: none, opencl or cuda (default none)",
     [](RenderOptions& o, const std::string& v) { o.gpu = v; }},
    {nullptr, "--host", "APP", false,
     "the host application to play: ae (smart render, default) or premiere (PF_Cmd_RENDER on "
     "VUYA float frames, no composition camera or lights)",
     [](RenderOptions& o, const std::string& v) { o.host = v; }},
    {nullptr, "--region", "X,Y,W,H", false,
     "render only this part of the frame (pixels at the --downsample resolution); the file "
     "holds the part",
     [](RenderOptions& o, const std::string& v) { o.region = v; }},
    {nullptr, "--downsample", "N[xM]", false,
     "a reduced-resolution preview: every Nth pixel across and Mth down (default 1)",
     [](RenderOptions& o, const std::string& v) { o.downsample = v; }},
    {nullptr, "--pixel-aspect", "RATIO", false,
     "non-square pixels, a pixel's width over its height: 2, 0.9091 or A:B (default 1)",
     [](RenderOptions& o, const std::string& v) { o.pixel_aspect = v; }},
    {nullptr, "--fields", "FIELD", false,
     "with --host premiere: render one field of an interlaced frame, upper or lower, at half "
     "height",
     [](RenderOptions& o, const std::string& v) { o.fields = v; }},
    {nullptr, "--display-encoded", nullptr, false,
     "write .exr colour display-encoded, as the effect made it and a .png holds it, instead of "
     "in linear light (the default, which compositing applications expect)",
     [](RenderOptions& o, const std::string&) { o.display_encoded = true; }},
    {nullptr, "--linear", nullptr, false,
     ".exr colour in linear light: the default, or over a scene that says display-encoded",
     [](RenderOptions& o, const std::string&) { o.linear = true; }},
    {nullptr, "--skip-existing", nullptr, false,
     "render only the frames whose output file does not exist yet (files appear complete or "
     "not at all)",
     [](RenderOptions& o, const std::string&) { o.skip_existing = true; }},
    {nullptr, "--list-params", nullptr, false, "list the effect's parameters and exit",
     [](RenderOptions& o, const std::string&) { o.list_params = true; }},
    {nullptr, "--ramp-editor", "PATH.png", false,
     "draw the \"Color Ramp\" editor (640 x 65) for --ramp, or the default ramp, and exit",
     [](RenderOptions& o, const std::string& v) { o.ramp_editor = v; }},
    {nullptr, "--plugin", "PATH", false,
     "the plug-in library (default: spirovault.so beside this program, then the build's)",
     [](RenderOptions& o, const std::string& v) { o.plugin = v; }},
    {nullptr, "--version", nullptr, false, "the program's and the effect's versions, and exit",
     [](RenderOptions& o, const std::string&) { o.version = true; }},
    {"-h", "--help", nullptr, false, "this text, and exit",
     [](RenderOptions& o, const std::string&) { o.help = true; }},
};

const OptionSpec* FindOption(const std::string& name) {
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.long_name || (spec.short_name && name == spec.short_name)) return &spec;
    }
    return nullptr;
}

std::vector<std::string> OptionNames() {
    std::vector<std::string> names;
    for (const OptionSpec& spec : kOptions) names.push_back(spec.long_name);
    return names;
}

// The next argument is taken as a value unless it is one of our options: "-5" or "-x.png" are
// values, "--size" or "-o" is an option whose predecessor was left without one.
bool LooksLikeOption(const std::string& arg) {
    return (arg.size() > 2 && arg.compare(0, 2, "--") == 0) || FindOption(arg) != nullptr;
}

}  // namespace

const std::vector<OptionSpec>& RenderOptionTable() {
    return kOptions;
}

namespace {

constexpr size_t kHelpWidth = 80;

// `text` broken at spaces into lines of at most kHelpWidth, the first after `first_line` (which
// is `indent` long or shorter), the others indented by `indent`. A word longer than a line
// stands alone on its line.
std::string Wrapped(const std::string& first_line, const std::string& text, size_t indent) {
    std::string out = first_line + std::string(indent - first_line.size(), ' ');
    size_t column = indent;
    bool line_empty = true;
    for (size_t at = 0; at < text.size();) {
        const size_t space = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, space - at);
        at = space + 1;
        if (word.empty()) continue;
        if (!line_empty && column + 1 + word.size() > kHelpWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            line_empty = true;
        }
        if (!line_empty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        line_empty = false;
    }
    return out + "\n";
}

const char* const kHelpExamples[] = {
    "spirovault-render --size 1920x1080 -o still.png",
    "spirovault-render --set \"Power = 6\" --set \"Julia Mode=on\" -o julia.exr",
    "spirovault-render --scene examples/orbit/orbit.json -o orbit_###.png",
    "spirovault-render --scene orbit.json --frames 0-100x5 -o preview_###.png",
    "spirovault-render --scene old_render.exr -o again.exr",
};

}  // namespace

std::string RenderOptionsHelp() {
    std::string text =
        "Renders the Spirovault effect through the plug-in, without a host application.\n\n"
        "usage: spirovault-render [OPTION...]\n\n";
    // Options whose name and value run past the help column have their help on the next line.
    constexpr size_t kColumn = 30;
    for (const OptionSpec& spec : kOptions) {
        std::string left = "  ";
        left += spec.short_name ? std::string(spec.short_name) + ", " : "    ";
        left += spec.long_name;
        if (spec.value_name) left += std::string(" ") + spec.value_name;
        if (left.size() + 2 > kColumn) {
            text += left + "\n";
            left.clear();
        }
        text += Wrapped(left, spec.help, kColumn);
    }
    text += "\n";
    text += Wrapped("",
                    "Any fault ends the run with one line on stderr: status 2 for the command "
                    "line, 1 for anything else.",
                    0);
    text += "\nexamples:\n";
    for (const char* example : kHelpExamples) text += Wrapped("", example, 2);
    return text;
}

void ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options) {
    // How each option was first written, for the message when it comes again.
    std::map<const OptionSpec*, std::string> given;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-') {
            throw UsageError("unexpected argument " + Quoted(arg) +
                             ": every value follows its option (see --help)");
        }
        std::string name = arg;
        std::optional<std::string> value;
        const size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const OptionSpec* spec = FindOption(name);
        if (spec == nullptr) {
            const std::string suggestion = DidYouMean(NearestNames(name, OptionNames(), 1));
            throw UsageError("unknown option " + Quoted(name) +
                             (suggestion.empty() ? " (see --help)" : suggestion));
        }
        const std::string option = spec->long_name;
        if (spec->value_name == nullptr) {
            if (value) throw UsageError(option + " takes no value");
        } else if (!value) {
            if (i + 1 >= argc || LooksLikeOption(argv[i + 1])) {
                throw UsageError(option + " needs a value: " + option + " " + spec->value_name);
            }
            value = argv[++i];
        }
        const std::string written =
            value && arg.find('=') == std::string::npos ? name + " " + *value : arg;
        if (!spec->repeatable) {
            const auto [first, inserted] = given.emplace(spec, written);
            if (!inserted) {
                throw UsageError(option + " given twice (" + first->second + ", then " + written +
                                 "); give it once");
            }
        }
        spec->apply(*options, value.value_or(""));
    }
}

}  // namespace cli
