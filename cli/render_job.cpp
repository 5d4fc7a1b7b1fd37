#include "cli/render_job.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "cli/cli_error.h"
#include "cli/effect_session.h"
#include "cli/frame_images.h"
#include "cli/frame_memory.h"
#include "cli/gpu_choice.h"
#include "cli/job_settings.h"
#include "cli/out_of_memory.h"
#include "cli/output_path.h"
#include "cli/plugin_path.h"
#include "cli/progress_reporter.h"
#include "cli/ramp_editor_output.h"
#include "cli/scene_composition.h"
#include "cli/scene_reader.h"
#include "cli/scene_writer.h"
#include "host/pf_in_out_data.h"
#include "hostsim/frames/frame_session.h"
#include "hostsim/frames/row_pool.h"
#include "imageio/atomic_file.h"
#include "imageio/image_metadata.h"
#include "imageio/interrupt_cleanup.h"

namespace cli {

namespace {

WorldDepth ToWorldDepth(int depth) {
    return depth == 8 ? WorldDepth::k8 : (depth == 16 ? WorldDepth::k16 : WorldDepth::k32);
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

void PrintVersions(const EffectSession& session) {
    std::printf("spirovault-render %s\nSpirovault effect %s\n", SPIROVAULT_PROGRAM_VERSION,
                EffectVersionText(session.effect_version()).c_str());
}

void ListParams(const ParamCatalog& catalog) {
    for (const ParamInfo& param : catalog.params()) {
        std::printf("%s\n", DescribeParam(param).c_str());
    }
}

// --set NAME=VALUE as constant parameter values, to apply after the scene's so that the command
// line wins. "Color Ramp" takes the --ramp form and comes back in `ramp`. A parameter set twice
// is refused, as any other option given twice is.
std::vector<SceneParam> ParseSets(const JobSettings& settings, const ParamCatalog& catalog,
                                  std::optional<std::vector<RampStopValue>>* ramp) {
    std::vector<SceneParam> sets;
    std::map<int, std::string> given;  // parameter index: the --set that set it
    for (const std::string& text : settings.sets) {
        const Assignment assignment = ParseAssignment(text);
        const ParamInfo& param = catalog.Find(assignment.name);
        const auto [first, inserted] = given.emplace(param.index, text);
        if (!inserted) {
            throw UsageError("--set " + Quoted(param.name) + " given twice (--set " +
                             Quoted(first->second) + ", then --set " + Quoted(text) +
                             "); give it once");
        }
        if (param.kind == ParamKind::kArbitraryData) {
            if (settings.ramp) {
                throw UsageError("--set " + Quoted(text) + " and --ramp both set " +
                                 Quoted(param.name) + "; give one");
            }
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
        TimedParamValue key;
        key.value = ParseParamValue(param, assignment.value);
        set.keys.push_back(key);
        sets.push_back(set);
    }
    return sets;
}

// The host's time is a 32-bit count of time-scale units (30000 a second at 29.97 fps): a frame
// past it would wrap round to another time. The time scale stays the one the host uses for the
// rate, so that the effect sees the time base a host gives it.
void CheckFrameTimes(const FrameRange& frames, double frame_rate) {
    const long last = hostsim::LastFrameWithinTime(hostsim::TimeBaseFor(frame_rate));
    if (frames.last > last) {
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.6g", frame_rate);
        throw UsageError("frame " + std::to_string(frames.last) + " is past the host's time at " +
                         rate + " frames per second: the last frame it can time is " +
                         std::to_string(last));
    }
}

// Premiere Pro gives an effect no composition camera or lights: the scene's are not used, and
// with the camera its depth of field.
void WarnPremiereDropsLayers(const Scene& scene) {
    const size_t lights = scene.lights.size();
    if (!scene.camera && lights == 0) return;
    std::string what = scene.camera ? "camera" : "";
    if (lights > 0) {
        what += (what.empty() ? "" : " and ") + std::to_string(lights) +
                (lights == 1 ? " light" : " lights");
    }
    std::fprintf(
        stderr,
        "spirovault-render: warning: --host premiere: the scene's %s %s not used (Premiere "
        "Pro gives an effect no composition camera or lights)\n",
        what.c_str(), (scene.camera && lights > 0) || lights > 1 ? "are" : "is");
}

// The scene in effect: the scene file's, with the command line over it. The session's
// composition is built for it.
EffectiveScene ResolveScene(const JobSettings& settings, EffectSession& session) {
    const Scene scene = settings.scene ? LoadScene(*settings.scene, session.catalog()) : Scene{};
    const FrameSize size =
        settings.size.value_or(scene.size.value_or(FrameSize{kDefaultWidth, kDefaultHeight}));
    CheckFrameSize(size);
    const FrameRange frames = settings.frames.value_or(scene.frames.value_or(FrameRange{}));
    CheckFrameTimes(frames, scene.frame_rate);
    if (!settings.save_scene && frames.Count() > 1 && !HasFramePlaceholder(settings.output)) {
        throw UsageError("output " + Quoted(settings.output) +
                         ": several frames need a run of # in the name for the frame number");
    }
    if (!settings.save_scene && settings.host_app_id == kAppIdPremierePro) {
        WarnPremiereDropsLayers(scene);
    }
    std::optional<std::vector<RampStopValue>> set_ramp;
    EffectiveScene effective;
    effective.params = MergeParams(scene.params, ParseSets(settings, session.catalog(), &set_ramp));
    BuildComposition(scene, size, &session.composition());
    effective.size = size;
    effective.frame_rate = scene.frame_rate;
    effective.frames = frames;
    effective.hdri = settings.hdri ? settings.hdri : scene.hdri;
    effective.input = settings.input ? settings.input : scene.input;
    effective.ramp = settings.ramp ? settings.ramp : (set_ramp ? set_ramp : scene.ramp);
    effective.layers = session.composition().layers;
    effective.exr_linear = settings.linear.value_or(scene.exr_linear.value_or(true));
    return effective;
}

void WriteText(const std::string& path, const std::string& text) {
    imageio::AtomicFile out(path);
    if (std::fwrite(text.data(), 1, text.size(), out.stream()) != text.size()) out.Fail(errno);
    out.Commit();
}

void SaveScene(const std::string& path, const EffectiveScene& scene, const ParamCatalog& catalog) {
    const std::string text = SceneToJson(scene, catalog, DirectoryOf(path), true);
    // A file --scene would refuse is not written.
    if (text.size() > kMaxSceneBytes) {
        throw CliError("cannot save the scene to " + path + ": it is " +
                       std::to_string(text.size()) + " bytes, more than the " +
                       std::to_string(kMaxSceneBytes) + " a scene file may have");
    }
    WriteText(path, text);
}

void ApplyScene(const EffectiveScene& scene, EffectSession& session) {
    for (const SceneParam& param : scene.params) {
        const ParamInfo& info = session.catalog().params().at(param.index - 1);
        if (param.animated) {
            session.Animate(info, param.keys);
        } else {
            session.SetValue(info, param.keys.front().value);
        }
    }
    if (scene.ramp) session.SetRamp(*scene.ramp);
}

// The environment and input images, read once for all frames.
struct LayerImages {
    std::optional<HostImage> hdri, input;
    WorldDepth hdri_depth = WorldDepth::k32;
};

// An infinity or a NaN in an image would spread to every sample that sees it: the reader makes
// them 0, and the user is told.
imageio::LoadedImage ReadLayerImage(const std::string& path) {
    imageio::LoadedImage loaded = imageio::ReadImage(path);
    if (loaded.non_finite_values > 0) {
        std::fprintf(stderr,
                     "spirovault-render: warning: %s: %lld values that are not finite "
                     "(infinity or NaN) read as 0\n",
                     Escaped(path).c_str(), loaded.non_finite_values);
    }
    return loaded;
}

LayerImages ReadLayerImages(const EffectiveScene& scene) {
    LayerImages images;
    if (scene.hdri) {
        OutOfMemoryAs("reading " + *scene.hdri, [&] {
            imageio::LoadedImage loaded = ReadLayerImage(*scene.hdri);
            images.hdri_depth = EnvironmentDepth(loaded);
            images.hdri = EnvironmentLayer(std::move(loaded.image));
        });
    }
    if (scene.input) {
        OutOfMemoryAs("reading " + *scene.input, [&] {
            images.input = PlaceInputLayer(ReadLayerImage(*scene.input).image, scene.size);
        });
    }
    return images;
}

void CheckMemoryFor(const JobSettings& settings, const EffectiveScene& scene,
                    const LayerImages& images) {
    FramePlan plan{scene.size, ToWorldDepth(settings.depth)};
    if (images.hdri) {
        plan.hdri_width = images.hdri->width;
        plan.hdri_height = images.hdri->height;
        plan.hdri_depth = images.hdri_depth;
    }
    plan.frames_at_once =
        static_cast<int>(std::min<long>(settings.parallel_frames, scene.frames.Count()));
    plan.threads =
        std::min(settings.threads > 0 ? settings.threads : hostsim::AllCoresThreadCount(),
                 scene.size.height);
    CheckFrameMemory(plan, AvailableMemory());
}

// A missing device or an output that cannot be written is reported before anything is written.
GpuChoice PrepareOutput(const JobSettings& settings, EffectSession& session, long first_frame) {
    GpuChoice device;
    if (settings.gpu != PF_GPU_Framework_NONE) device = PrepareGpu(session.host(), settings.gpu);
    // Checked again: reading the images took time.
    imageio::CheckWritable(FrameOutputPath(settings.output, first_frame));
    return device;
}

FrameRequest RequestFor(const JobSettings& settings, const EffectiveScene& scene,
                        const LayerImages& images, long frame, ProgressReporter* progress) {
    FrameRequest request;
    request.width = scene.size.width;
    request.height = scene.size.height;
    request.depth = ToWorldDepth(settings.depth);
    request.frame = frame;
    request.input = images.input ? &*images.input : nullptr;
    request.hdri_layer = images.hdri ? &*images.hdri : nullptr;
    request.hdri_depth = images.hdri_depth;
    request.threads = settings.threads;
    request.gpu = settings.gpu;
    ApplyFrameView(settings.view, &request);
    request.keep_raw = false;
    // The first interrupt cancels the frames in progress (InterruptCancelsWork).
    request.cancel = [] { return imageio::InterruptCancel().load(); };
    // Rows of several frames at once make no one percentage.
    if (settings.parallel_frames == 1) {
        request.progress = [progress](int done, int total) { progress->Rows(done, total); };
    }
    return request;
}

// The scene of one frame, to embed in its image; empty, with a warning the first time
// (`warned`), when it cannot be written or read back: a name that is not UTF-8, or more text
// than a reader takes.
std::string EmbeddableScene(const EffectiveScene& scene, const ParamCatalog& catalog, long frame,
                            const std::string& path, bool* warned) {
    EffectiveScene this_frame = scene;
    this_frame.frames = FrameRange{frame, frame, {}};
    std::string why;
    std::string text;
    try {
        text = SceneToJson(this_frame, catalog, DirectoryOf(path), false);
        if (text.size() > imageio::kMaxEmbeddedSceneBytes) {
            why = "it is " + std::to_string(text.size()) + " bytes, more than the " +
                  std::to_string(imageio::kMaxEmbeddedSceneBytes) + " read back";
        }
    } catch (const CliError& e) {
        why = e.what();
    }
    if (why.empty()) return text;
    if (!*warned) {
        std::fprintf(stderr, "spirovault-render: warning: the scene is not embedded in %s: %s\n",
                     Escaped(path).c_str(), Escaped(why).c_str());
        *warned = true;
    }
    return {};
}

// The frame's image file, with the scene of this one frame embedded.
std::string WriteFrame(const JobSettings& settings, const EffectiveScene& scene,
                       EffectSession& session, long frame, imageio::FloatImage& image,
                       bool* warned) {
    const ParamCatalog& catalog = session.catalog();
    imageio::ImageMetadata metadata;
    // A depth map is data: no colour option puts it through a curve.
    if (session.CheckboxAt(catalog.Find("Depth Map"), frame, scene.frame_rate)) {
        metadata.exr_content = imageio::ExrContent::kData;
    } else if (scene.exr_linear) {
        if (settings.format == imageio::ImageKind::kExr) ConvertToLinearLight(&image);
        metadata.exr_content = imageio::ExrContent::kLinear;
    } else {
        metadata.exr_content = imageio::ExrContent::kDisplayEncoded;
    }
    const std::string path = FrameOutputPath(settings.output, frame);
    metadata.scene = EmbeddableScene(scene, catalog, frame, path, warned);
    OutOfMemoryAs("writing " + path, [&] {
        imageio::WriteImage(path, image, settings.format, settings.depth, metadata);
    });
    return path;
}

// The result of a frame rendering ahead. An interrupt held meanwhile ends the process here, as it
// ends it at once outside a frame: the frame came back cancelled, or finished and is not written.
FrameResult TakeResult(std::future<FrameResult>& rendering, long frame,
                       ProgressReporter& progress) {
    const auto end_if_interrupted = [&] {
        if (!imageio::InterruptCancel().load()) return;
        progress.Clear();
        std::fprintf(stderr, "spirovault-render: interrupted during frame %ld\n", frame);
        imageio::EndIfInterrupted();
    };
    try {
        FrameResult result = rendering.get();
        end_if_interrupted();
        return result;
    } catch (...) {
        end_if_interrupted();
        throw;
    }
}

// Frames render ahead on threads of their own, up to `parallel_frames` at once on the one
// effect instance, as the host application renders them; files are written here, in frame
// order.
void RenderFrames(const JobSettings& settings, const EffectiveScene& scene,
                  const LayerImages& images, const std::vector<long>& frames,
                  EffectSession& session) {
    ProgressReporter progress = ProgressReporter::ForStderr(static_cast<long>(frames.size()));
    struct Rendering {
        std::chrono::steady_clock::time_point start;
        std::future<FrameResult> result;
    };
    std::deque<Rendering> rendering;
    bool warned_scene = false;
    size_t next = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const long frame = frames[i];
        progress.BeginFrame(frame);
        for (; next < frames.size() && next - i < static_cast<size_t>(settings.parallel_frames);
             ++next) {
            try {
                rendering.push_back(
                    Rendering{std::chrono::steady_clock::now(),
                              std::async(std::launch::async,
                                         [&session, request = RequestFor(settings, scene, images,
                                                                         frames[next], &progress)] {
                                             const imageio::InterruptCancelsWork cancellable;
                                             return session.Render(request);
                                         })});
            } catch (const std::system_error& e) {
                // Fewer frames at once than asked will do; none at all will not.
                if (rendering.empty()) {
                    throw CliError("cannot start a thread to render frame " +
                                   std::to_string(frames[next]) + ": " + e.what());
                }
                break;
            }
        }
        const auto start = rendering.front().start;
        imageio::FloatImage image = OutOfMemoryAs("rendering frame " + std::to_string(frame), [&] {
            return FrameToImage(
                std::move(TakeResult(rendering.front().result, frame, progress).output));
        });
        rendering.pop_front();
        const int width = image.width, height = image.height;  // a region's, if one was asked
        const std::string path = WriteFrame(settings, scene, session, frame, image, &warned_scene);
        progress.Clear();
        if (progress.enabled()) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "wrote %s (%d x %d, %d-bit) in %.2f s\n", path.c_str(), width,
                         height, settings.depth, seconds);
        }
    }
}

// The frames to render: all of the range, or with --skip-existing those without a file. Files
// are renamed into place only once complete, so one that exists is a finished frame.
std::vector<long> FramesToRender(const JobSettings& settings, const FrameRange& range) {
    std::vector<long> frames;
    long skipped = 0;
    for (long ordinal = 0; ordinal < range.Count(); ++ordinal) {
        const long frame = range.At(ordinal);
        std::error_code error;
        if (settings.skip_existing &&
            std::filesystem::exists(FrameOutputPath(settings.output, frame), error)) {
            ++skipped;
        } else {
            frames.push_back(frame);
        }
    }
    if (skipped > 0) {
        std::fprintf(stderr,
                     "spirovault-render: --skip-existing: %ld of %ld frames already written\n",
                     skipped, range.Count());
    }
    return frames;
}

// Which device the frames went to; the OpenCL device may well be a processor.
void ReportDevice(const JobSettings& settings, const GpuChoice& device) {
    if (settings.gpu != PF_GPU_Framework_NONE) {
        std::fprintf(stderr, "spirovault-render: --gpu %s: rendered on %s\n",
                     settings.gpu_name.c_str(), device.device.c_str());
    }
}

// Names that sort in frame order: a run of # shorter than the last frame's digits is widened,
// and the user told once.
void WidenOutputName(const FrameRange& frames, JobSettings* settings) {
    const std::string widened = WidenFrameRun(settings->output, frames.last);
    if (widened == settings->output || frames.Count() < 2) return;
    std::fprintf(stderr,
                 "spirovault-render: warning: output %s: frame %ld has more digits than the run "
                 "of #; every name gets %zu digits (%s to %s) so that the names sort in frame "
                 "order\n",
                 Quoted(settings->output).c_str(), frames.last, std::to_string(frames.last).size(),
                 Escaped(FrameOutputPath(widened, frames.first)).c_str(),
                 Escaped(FrameOutputPath(widened, frames.last)).c_str());
    settings->output = widened;
}

}  // namespace

int RunRenderJob(const RenderOptions& options) {
    JobSettings settings = SettleJobSettings(options);
    EffectSession session(FindPluginLibrary(settings.plugin), settings.host_app_id);
    if (settings.version) {
        PrintVersions(session);
        return 0;
    }
    if (settings.list_params) {
        ListParams(session.catalog());
        return 0;
    }
    if (settings.ramp_editor) {
        WriteRampEditorImage(*settings.ramp_editor, settings.ramp, session.host());
        return 0;
    }
    const EffectiveScene scene = ResolveScene(settings, session);
    if (settings.save_scene) {
        SaveScene(*settings.save_scene, scene, session.catalog());
        return 0;
    }
    CheckRegionInFrame(settings.view, scene.size);
    WidenOutputName(scene.frames, &settings);
    ApplyScene(scene, session);
    // Before the images are read, which may take long for a large environment.
    imageio::CheckWritable(FrameOutputPath(settings.output, scene.frames.first));
    // Frames need no window or panel, as on the host's command-line renderer.
    session.host().MakeHeadless();
    const LayerImages images = ReadLayerImages(scene);
    CheckMemoryFor(settings, scene, images);
    const std::vector<long> frames = FramesToRender(settings, scene.frames);
    if (frames.empty()) return 0;
    const GpuChoice device = PrepareOutput(settings, session, frames.front());
    RenderFrames(settings, scene, images, frames, session);
    ReportDevice(settings, device);
    return 0;
}

}  // namespace cli
