#include "cli/render_job.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <future>
#include <optional>

#include "cli/cli_error.h"
#include "cli/color_encoding.h"
#include "cli/effect_session.h"
#include "cli/frame_images.h"
#include "cli/frame_memory.h"
#include "cli/gpu_choice.h"
#include "cli/host_choice.h"
#include "cli/out_of_memory.h"
#include "cli/output_path.h"
#include "cli/plugin_path.h"
#include "cli/progress_reporter.h"
#include "cli/ramp_editor_output.h"
#include "cli/scene.h"
#include "cli/scene_writer.h"
#include "imageio/atomic_file.h"
#include "imageio/image_budget.h"

namespace {

struct OutputFormat {
    ImageKind kind = ImageKind::kPng;
    int depth = 8;
};

// .png takes 8 or 16 bits, .exr is float; the depth defaults to the format's own.
OutputFormat CheckOutput(const RenderOptions& o) {
    OutputFormat format;
    if (!OutputKindFor(o.output, &format.kind)) {
        throw UsageError("output " + Quoted(o.output) + ": the name must end in .png or .exr");
    }
    const bool png = format.kind == ImageKind::kPng;
    format.depth = o.depth.value_or(png ? 8 : 32);
    if (format.depth != 8 && format.depth != 16 && format.depth != 32) {
        throw UsageError("--depth " + std::to_string(format.depth) + ": expected 8, 16 or 32");
    }
    if (png && format.depth == 32) {
        throw UsageError("--depth 32 needs an .exr output: PNG holds 8 or 16 bits");
    }
    if (!png && format.depth != 32) {
        throw UsageError("--depth " + std::to_string(format.depth) +
                         " needs a .png output: .exr is written in float (--depth 32)");
    }
    return format;
}

// A frame is held to the image budget, as an image read from a file is.
void CheckFrameSize(FrameSize size) {
    if (!WithinImageBudget(size.width, size.height)) {
        throw UsageError("frame " + ImageBudgetFault(size.width, size.height));
    }
}

WorldDepth ToWorldDepth(int depth) {
    return depth == 8 ? WorldDepth::k8 : (depth == 16 ? WorldDepth::k16 : WorldDepth::k32);
}

void ListParams(const ParamCatalog& catalog) {
    for (const ParamInfo& param : catalog.params()) {
        std::printf("%s\n", DescribeParam(param).c_str());
    }
}

void ApplyParams(const std::vector<SceneParam>& params, EffectSession& session) {
    for (const SceneParam& param : params) {
        const ParamInfo& info = session.catalog().params().at(param.index - 1);
        if (param.animated) {
            session.Animate(info, param.keys);
        } else {
            session.SetValue(info, param.keys.front().value);
        }
    }
}

// --set NAME=VALUE as constant parameter values, to apply after the scene's so that the command
// line wins. "Color Ramp" takes the --ramp form and comes back in `ramp`.
std::vector<SceneParam> ParseSets(const RenderOptions& o, const ParamCatalog& catalog,
                                  std::optional<std::vector<RampStopValue>>* ramp) {
    std::vector<SceneParam> sets;
    for (const std::string& text : o.sets) {
        const Assignment assignment = ParseAssignment(text);
        const ParamInfo& param = catalog.Find(assignment.name);
        if (param.kind == ParamKind::kArbitraryData) {
            *ramp = ParseRamp(assignment.value);
            continue;
        }
        if (!param.takes_value()) {
            throw UsageError("--set " + Quoted(param.name) +
                             (param.kind == ParamKind::kLayer ? " is set with --hdri"
                                                              : " does not take a value"));
        }
        SceneParam set;
        set.index = param.index;
        set.kind = param.kind;
        set.keys.push_back(TimedParamValue{0.0, ParseParamValue(param, assignment.value)});
        sets.push_back(set);
    }
    return sets;
}

// "1.0.0 develop, build 1" from the host's packing of an effect version.
std::string EffectVersionText(A_u_long version) {
    static const char* const kStages[] = {"develop", "alpha", "beta", "release"};
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu %s, build %lu",
                  static_cast<unsigned long>((version >> 19) & 0x7f),
                  static_cast<unsigned long>((version >> 15) & 0xf),
                  static_cast<unsigned long>((version >> 11) & 0xf), kStages[(version >> 9) & 3],
                  static_cast<unsigned long>(version & 0x1ff));
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    AtomicFile out(path);
    {
        std::ofstream file(out.temp_path(), std::ios::binary);
        file << text;
        file.flush();
        if (!file) throw CliError("cannot write " + path + ": write error");
    }
    out.Commit();
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int RunRenderJob(const RenderOptions& o) {
    // Everything the command line alone decides is checked before the plug-in is loaded.
    const OutputFormat format = CheckOutput(o);
    if (o.linear && format.kind != ImageKind::kExr) {
        throw UsageError("--linear needs an .exr output: PNG holds display-encoded values");
    }
    std::optional<FrameSize> size_option;
    if (o.size) {
        size_option = ParseSize(*o.size);
        CheckFrameSize(*size_option);
    }
    std::optional<FrameRange> frames_option;
    if (o.frames) frames_option = ParseFrameRange(*o.frames);
    std::optional<std::vector<RampStopValue>> ramp;
    if (o.ramp) ramp = ParseRamp(*o.ramp);
    const PF_GPU_Framework gpu = ParseGpuChoice(o.gpu);
    const A_long appl_id = ParseHostChoice(o.host);
    if (appl_id == kAppIdPremierePro && gpu != PF_GPU_Framework_NONE) {
        throw UsageError("--gpu " + o.gpu +
                         " needs --host ae: under Premiere Pro the effect renders on the CPU");
    }
    if (o.ramp_editor) CheckRampEditorOutput(*o.ramp_editor);

    EffectSession session(FindPluginLibrary(o.plugin), appl_id);
    if (o.version) {
        std::printf("spirovault-render %s\nSpirovault effect %s\n", SPIROVAULT_PROGRAM_VERSION,
                    EffectVersionText(session.effect_version()).c_str());
        return 0;
    }
    if (o.list_params) {
        ListParams(session.catalog());
        return 0;
    }
    if (o.ramp_editor) {
        WriteRampEditorImage(*o.ramp_editor, ramp, session.host());
        return 0;
    }

    const Scene scene = o.scene ? LoadScene(*o.scene, session.catalog()) : Scene{};
    const FrameSize size =
        size_option.value_or(scene.size.value_or(FrameSize{kDefaultWidth, kDefaultHeight}));
    CheckFrameSize(size);
    const FrameRange frames = frames_option.value_or(scene.frames.value_or(FrameRange{}));
    if (!o.save_scene && frames.last > frames.first && !HasFramePlaceholder(o.output)) {
        throw UsageError("output " + Quoted(o.output) +
                         ": several frames need a run of # in the name for the frame number");
    }
    std::optional<std::vector<RampStopValue>> set_ramp;
    EffectiveScene effective;
    effective.params = MergeParams(scene.params, ParseSets(o, session.catalog(), &set_ramp));
    if (!ramp) ramp = set_ramp;
    if (!ramp) ramp = scene.ramp;
    BuildComposition(scene, size, &session.composition());
    effective.size = size;
    effective.frame_rate = scene.frame_rate;
    effective.frames = frames;
    effective.hdri = o.hdri ? o.hdri : scene.hdri;
    effective.input = o.input ? o.input : scene.input;
    effective.ramp = ramp;
    effective.layers = session.composition().layers;
    if (o.save_scene) {
        WriteText(*o.save_scene,
                  SceneToJson(effective, session.catalog(), DirectoryOf(*o.save_scene), true));
        return 0;
    }
    ApplyParams(effective.params, session);
    if (ramp) session.SetRamp(*ramp);

    std::optional<HostImage> hdri, input;
    WorldDepth hdri_depth = WorldDepth::k32;
    if (effective.hdri) {
        OutOfMemoryAs("reading " + *effective.hdri, [&] {
            LoadedImage loaded = ReadImage(*effective.hdri);
            hdri_depth = EnvironmentDepth(loaded);
            hdri = EnvironmentLayer(std::move(loaded.image));
        });
    }
    if (effective.input) {
        OutOfMemoryAs("reading " + *effective.input,
                      [&] { input = PlaceInputLayer(ReadImage(*effective.input).image, size); });
    }
    FramePlan plan{size, ToWorldDepth(format.depth)};
    if (hdri) {
        plan.hdri_width = hdri->width;
        plan.hdri_height = hdri->height;
        plan.hdri_depth = hdri_depth;
    }
    plan.frames_at_once = static_cast<int>(
        std::min<long>(std::max(1, o.parallel_frames), frames.last - frames.first + 1));
    CheckFrameMemory(plan, AvailableMemory());

    // A missing device is reported before anything is written.
    GpuChoice device;
    if (gpu != PF_GPU_Framework_NONE) device = PrepareGpu(session.host(), gpu);
    CheckWritable(FrameOutputPath(o.output, frames.first));
    const long frame_count = frames.last - frames.first + 1;
    ProgressReporter progress = ProgressReporter::ForStderr(frame_count);
    const long parallel = std::max(1, o.parallel_frames);
    auto request_for = [&](long frame) {
        FrameRequest request;
        request.width = size.width;
        request.height = size.height;
        request.depth = ToWorldDepth(format.depth);
        request.frame = frame;
        request.input = input ? &*input : nullptr;
        request.hdri_layer = hdri ? &*hdri : nullptr;
        request.hdri_depth = hdri_depth;
        request.threads = o.threads;
        request.gpu = gpu;
        request.keep_raw = false;
        // Rows of several frames at once make no one percentage.
        if (parallel == 1) {
            request.progress = [&progress](int done, int total) { progress.Rows(done, total); };
        }
        return request;
    };
    // Frames render ahead on threads of their own, up to `parallel` at once on the one effect
    // instance, as the host application renders them; files are written here, in frame order.
    struct Rendering {
        std::chrono::steady_clock::time_point start;
        std::future<FrameResult> result;
    };
    std::deque<Rendering> rendering;
    long next = frames.first;
    for (long frame = frames.first; frame <= frames.last; ++frame) {
        progress.BeginFrame(frame);
        for (; next <= frames.last && next - frame < parallel; ++next) {
            rendering.push_back(
                Rendering{std::chrono::steady_clock::now(),
                          std::async(std::launch::async, [&session, request = request_for(next)] {
                              return session.Render(request);
                          })});
        }
        const auto start = rendering.front().start;
        FloatImage image = OutOfMemoryAs("rendering frame " + std::to_string(frame), [&] {
            return FrameToImage(std::move(rendering.front().result.get().output));
        });
        rendering.pop_front();
        if (o.linear) ConvertToLinearLight(&image);
        const std::string path = FrameOutputPath(o.output, frame);
        ImageMetadata metadata;
        metadata.linear = o.linear;
        EffectiveScene this_frame = effective;
        this_frame.frames = FrameRange{frame, frame};
        metadata.scene = SceneToJson(this_frame, session.catalog(), DirectoryOf(path), false);
        OutOfMemoryAs("writing " + path,
                      [&] { WriteImage(path, image, format.kind, format.depth, metadata); });
        progress.Clear();
        if (progress.enabled()) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "wrote %s (%d x %d, %d-bit) in %.2f s\n", path.c_str(), size.width,
                         size.height, format.depth, seconds);
        }
    }
    // Which device the frames went to; the OpenCL device may well be a processor.
    if (gpu != PF_GPU_Framework_NONE) {
        std::fprintf(stderr, "spirovault-render: --gpu %s: rendered on %s\n", o.gpu.c_str(),
                     device.device.c_str());
    }
    return 0;
}
