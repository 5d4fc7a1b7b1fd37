#include "cli/job_settings.h"

#include <algorithm>

#include "cli/cli_error.h"
#include "cli/gpu_choice.h"
#include "cli/ramp_editor_output.h"
#include "host/pf_in_out_data.h"
#include "imageio/image_budget.h"

namespace cli {

namespace {

// .png takes 8 or 16 bits, .exr is float; the depth defaults to the format's own.
void SettleOutput(const RenderOptions& o, JobSettings* s) {
    if (!imageio::OutputKindFor(o.output, &s->format)) {
        throw UsageError("output " + Quoted(o.output) + ": the name must end in .png or .exr");
    }
    const bool png = s->format == imageio::ImageKind::kPng;
    s->depth = o.depth.value_or(png ? 8 : 32);
    if (s->depth != 8 && s->depth != 16 && s->depth != 32) {
        throw UsageError("--depth " + std::to_string(s->depth) + ": expected 8, 16 or 32");
    }
    if (png && s->depth == 32) {
        throw UsageError("--depth 32 needs an .exr output: PNG holds 8 or 16 bits");
    }
    if (!png && s->depth != 32) {
        throw UsageError("--depth " + std::to_string(s->depth) +
                         " needs a .png output: .exr is written in float (--depth 32)");
    }
    if (o.linear && s->format != imageio::ImageKind::kExr) {
        throw UsageError("--linear needs an .exr output: PNG holds display-encoded values");
    }
    if (o.linear && o.display_encoded) {
        throw UsageError("--linear and --display-encoded: give one");
    }
    s->output = o.output;
    // A PNG is display-encoded in any case: --display-encoded says no more than that there.
    if (o.linear) s->linear = true;
    if (o.display_encoded) s->linear = false;
}

// --host ae|premiere: which host application the standalone host plays.
A_long ParseHostChoice(const std::string& text) {
    if (text == "ae") return kAppIdAfterEffects;
    if (text == "premiere") return kAppIdPremierePro;
    throw UsageError("--host " + text + ": expected ae or premiere");
}

// Premiere Pro asks for whole frames, or one field of them; the other hosts never for fields.
void SettleFrameView(const RenderOptions& o, A_long host_app_id, FrameView* view) {
    const bool premiere = host_app_id == kAppIdPremierePro;
    if (o.region) {
        if (premiere)
            throw UsageError("--region needs --host ae: Premiere Pro renders whole frames");
        view->region = ParseRegion(*o.region);
    }
    if (o.downsample) ParseDownsample(*o.downsample, view);
    if (o.pixel_aspect) view->pixel_aspect = ParsePixelAspect(*o.pixel_aspect);
    if (o.fields) {
        if (!premiere) {
            throw UsageError(
                "--fields needs --host premiere: it renders interlaced frames one "
                "field at a time");
        }
        view->field = ParseField(*o.fields);
    }
}

}  // namespace

void CheckFrameSize(FrameSize size) {
    if (!imageio::WithinImageBudget(size.width, size.height)) {
        throw UsageError("frame " + imageio::ImageBudgetFault(size.width, size.height));
    }
}

JobSettings SettleJobSettings(const RenderOptions& o) {
    JobSettings s;
    SettleOutput(o, &s);
    if (o.size) {
        s.size = ParseSize(*o.size);
        CheckFrameSize(*s.size);
    }
    if (o.frames) s.frames = ParseFrameRange(*o.frames);
    if (o.ramp) s.ramp = ParseRamp(*o.ramp);
    s.gpu = ParseGpuChoice(o.gpu);
    s.gpu_name = o.gpu;
    s.host_app_id = ParseHostChoice(o.host);
    if (s.host_app_id == kAppIdPremierePro && s.gpu != PF_GPU_Framework_NONE) {
        throw UsageError("--gpu " + o.gpu +
                         " needs --host ae: under Premiere Pro the effect renders on the CPU");
    }
    SettleFrameView(o, s.host_app_id, &s.view);
    if (o.ramp_editor) CheckRampEditorOutput(*o.ramp_editor);
    s.sets = o.sets;
    s.threads = o.threads;
    s.parallel_frames = std::max(1, o.parallel_frames);
    s.plugin = o.plugin;
    s.scene = o.scene;
    s.hdri = o.hdri;
    s.input = o.input;
    s.ramp_editor = o.ramp_editor;
    s.save_scene = o.save_scene;
    s.version = o.version;
    s.list_params = o.list_params;
    s.skip_existing = o.skip_existing;
    return s;
}

}  // namespace cli
