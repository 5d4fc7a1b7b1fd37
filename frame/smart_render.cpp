#include "frame/smart_render.h"

#include <optional>
#include <vector>

#include "device/cpu/cpu_iterate.h"
#include "device/gpu/gpu_render.h"
#include "frame/environment_image.h"
#include "frame/frame_layout.h"
#include "frame/smart_pre_render.h"
#include "host/pf_world_suite.h"
#include "host/scoped_suite.h"

namespace spirovault {

namespace {

// What one smart render checks out, checked in on every way out: explicitly with the errors
// kept, or, when a raised error ends the command, by the destructor.
class RenderCheckouts {
  public:
    RenderCheckouts(PF_InData* in_data, const PF_SmartRenderCallbacks* cb)
        : in_data_(in_data), cb_(cb) {}
    ~RenderCheckouts() {
        if (!checked_in_) CheckIn(PF_Err_NONE);
    }
    RenderCheckouts(const RenderCheckouts&) = delete;
    RenderCheckouts& operator=(const RenderCheckouts&) = delete;

    PF_Err CheckOutInput(PF_EffectWorld** input) {
        return cb_->checkout_layer_pixels(in_data_->effect_ref, kInputCheckoutId, input);
    }
    PF_Err CheckOutOutput(PF_EffectWorld** output) {
        return cb_->checkout_output(in_data_->effect_ref, output);
    }
    // The "HDRI Layer" as pre-render checked it out; null for no layer.
    PF_Err CheckOutEnvironmentLayer(PF_EffectWorld** layer) {
        environment_out_ = true;
        return cb_->checkout_layer_pixels(in_data_->effect_ref, kHdriCheckoutId, layer);
    }

    // The environment layer, then the input; each is checked in even when its check-out failed.
    // Errors of these calls never replace an earlier one.
    PF_Err CheckIn(PF_Err err) {
        checked_in_ = true;
        if (environment_out_) {
            const PF_Err checkin_err =
                cb_->checkin_layer_pixels(in_data_->effect_ref, kHdriCheckoutId);
            if (err == PF_Err_NONE) err = checkin_err;
        }
        const PF_Err checkin_err =
            cb_->checkin_layer_pixels(in_data_->effect_ref, kInputCheckoutId);
        if (err == PF_Err_NONE) err = checkin_err;
        return err;
    }

  private:
    PF_InData* in_data_;
    const PF_SmartRenderCallbacks* cb_;
    bool environment_out_ = false;
    bool checked_in_ = false;
};

// The "HDRI Layer" into the record. A failed or cancelled check-out is the frame's error: a
// frame without its environment must not be cached as finished. In a GPU render the layer is a
// GPU world, read back from the device.
PF_Err LoadEnvironment(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderExtra& extra,
                       bool use_gpu, RenderCheckouts* checkouts, RenderSettings* record) {
    ClearEnvironment(record);
    PF_EffectWorld* layer = nullptr;
    PF_Err err = checkouts->CheckOutEnvironmentLayer(&layer);
    if (err != PF_Err_NONE || layer == nullptr || layer->width <= 0 || layer->height <= 0) {
        return err;
    }
    // A layer too large to use is not read back at all.
    if (layer->width > kMaxEnvironmentSide || layer->height > kMaxEnvironmentSide) return err;
    if (use_gpu) {
        std::vector<unsigned char> pixels;
        err = ReadGpuWorld(in_data, out_data, extra, layer, &pixels);
        if (err != PF_Err_NONE) return err;
        PF_EffectWorld host_copy = *layer;
        host_copy.data = pixels.data();
        StoreEnvironmentImage(host_copy, PF_PixelFormat_GPU_BGRA128, record);
        return PF_Err_NONE;
    }
    const ScopedSuite<PF_WorldSuite2> worlds(in_data->pica_basicP, kPFWorldSuite,
                                             kPFWorldSuiteVersion2, out_data);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    err = worlds->PF_GetPixelFormat(layer, &format);
    if (err == PF_Err_NONE) StoreEnvironmentImage(*layer, format, record);
    return err;
}

}  // namespace

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra,
                   bool use_gpu) {
    if (extra == nullptr || extra->input == nullptr || extra->input->pre_render_data == nullptr) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    const PF_SmartRenderCallbacks* cb = extra->cb;
    if (cb == nullptr || cb->checkout_layer_pixels == nullptr ||
        cb->checkin_layer_pixels == nullptr || cb->checkout_output == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    auto* record = static_cast<RenderSettings*>(extra->input->pre_render_data);

    // Declared before the check-outs so that it is released after they are checked in.
    std::optional<ScopedSuite<PF_WorldSuite2>> worlds;
    RenderCheckouts checkouts(in_data, cb);
    PF_EffectWorld* input = nullptr;
    PF_EffectWorld* output = nullptr;
    PF_Err err = checkouts.CheckOutInput(&input);
    if (err == PF_Err_NONE) err = checkouts.CheckOutOutput(&output);
    if (err == PF_Err_NONE && output == nullptr) err = PF_Err_BAD_CALLBACK_PARAM;
    if (err == PF_Err_NONE) {
        err = LoadEnvironment(in_data, out_data, *extra, use_gpu, &checkouts, record);
    } else {
        ClearEnvironment(record);
    }

    worlds.emplace(in_data->pica_basicP, kPFWorldSuite, kPFWorldSuiteVersion2, out_data);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    if (err == PF_Err_NONE) err = (*worlds)->PF_GetPixelFormat(output, &format);

    // Written before rendering: the pixel functions and the kernel only read the record.
    if (err == PF_Err_NONE) StoreFrameLayout(*in_data, *output, false, record);
    if (use_gpu) {
        if (err == PF_Err_NONE) {
            err = RenderGPU(in_data, out_data, static_cast<PrPixelFormat>(format), input, output,
                            extra, record);
        }
    } else if (err == PF_Err_NONE) {
        err = IterateOutput(in_data, out_data, format, input, output, record);
    }
    return checkouts.CheckIn(err);
}

}  // namespace spirovault
