#include "standalone/cli/render_job.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "standalone/cli/cli_error.h"
#include "standalone/cli/effect_session.h"
#include "standalone/cli/frame_images.h"
#include "standalone/cli/frame_memory.h"
#include "standalone/cli/gpu_choice.h"
#include "standalone/cli/out_of_memory.h"
#include "standalone/cli/output_path.h"
#include "standalone/cli/plugin_path.h"
#include "standalone/cli/progress_reporter.h"
#include "standalone/cli/ramp_editor_output.h"
#include "standalone/cli/scene.h"
#include "standalone/image_io/atomic_file.h"
#include "standalone/image_io/image_budget.h"

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

void ApplyScene(const Scene& scene, EffectSession& session) {
    for (const SceneParam& param : scene.params) {
        const ParamInfo& info = session.catalog().params().at(param.index - 1);
        if (param.animated) {
            session.Animate(info, param.keys);
        } else {
            session.SetValue(info, param.keys.front().value);
        }
    }
}

// --set NAME=VALUE, applied after the scene so that the command line wins. "Color Ramp" takes
// the --ramp form.
std::optional<std::vector<RampStopValue>> ApplySets(const RenderOptions& o,
                                                    EffectSession& session) {
    std::optional<std::vector<RampStopValue>> ramp;
    for (const std::string& text : o.sets) {
        const Assignment assignment = ParseAssignment(text);
        const ParamInfo& param = session.catalog().Find(assignment.name);
        if (param.kind == ParamKind::kArbitraryData) {
            ramp = ParseRamp(assignment.value);
        } else {
            session.SetValue(param, ParseParamValue(param, assignment.value));
        }
    }
    return ramp;
}

}  // namespace

int RunRenderJob(const RenderOptions& o) {
    // Everything the command line alone decides is checked before the plug-in is loaded.
    const OutputFormat format = CheckOutput(o);
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
    if (o.ramp_editor) CheckRampEditorOutput(*o.ramp_editor);

    EffectSession session(FindPluginLibrary(o.plugin));
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
    if (frames.last > frames.first && !HasFramePlaceholder(o.output)) {
        throw UsageError("output " + Quoted(o.output) +
                         ": several frames need a run of # in the name for the frame number");
    }
    BuildComposition(scene, size, &session.composition());
    ApplyScene(scene, session);
    if (auto set_ramp = ApplySets(o, session)) {
        if (!ramp) ramp = std::move(set_ramp);
    }
    if (!ramp) ramp = scene.ramp;
    if (ramp) session.SetRamp(*ramp);

    std::optional<HostImage> hdri, input;
    WorldDepth hdri_depth = WorldDepth::k32;
    if (const auto path = o.hdri ? o.hdri : scene.hdri) {
        OutOfMemoryAs("reading " + *path, [&] {
            LoadedImage loaded = ReadImage(*path);
            hdri_depth = EnvironmentDepth(loaded);
            hdri = EnvironmentLayer(std::move(loaded.image));
        });
    }
    if (const auto path = o.input ? o.input : scene.input) {
        OutOfMemoryAs("reading " + *path,
                      [&] { input = PlaceInputLayer(ReadImage(*path).image, size); });
    }
    FramePlan plan{size, ToWorldDepth(format.depth)};
    if (hdri) {
        plan.hdri_width = hdri->width;
        plan.hdri_height = hdri->height;
        plan.hdri_depth = hdri_depth;
    }
    CheckFrameMemory(plan, AvailableMemory());

    // A missing device is reported before anything is written.
    if (gpu != PF_GPU_Framework_NONE) PrepareGpu(session.host(), gpu);
    CheckWritable(FrameOutputPath(o.output, frames.first));
    const long frame_count = frames.last - frames.first + 1;
    ProgressReporter progress = ProgressReporter::ForStderr(frame_count);
    for (long frame = frames.first; frame <= frames.last; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        progress.BeginFrame(frame);
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
        request.progress = [&progress](int done, int total) { progress.Rows(done, total); };
        FloatImage image = OutOfMemoryAs("rendering frame " + std::to_string(frame), [&] {
            return FrameToImage(std::move(session.Render(request).output));
        });
        const std::string path = FrameOutputPath(o.output, frame);
        OutOfMemoryAs("writing " + path,
                      [&] { WriteImage(path, image, format.kind, format.depth); });
        progress.Clear();
        if (progress.enabled()) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "wrote %s (%d x %d, %d-bit) in %.2f s\n", path.c_str(), size.width,
                         size.height, format.depth, seconds);
        }
    }
    return 0;
}
