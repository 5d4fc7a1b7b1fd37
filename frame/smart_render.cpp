#include "frame/smart_render.h"

#include <optional>

#include "device/cpu/cpu_iterate.h"
#include "device/gpu/gpu_render.h"
#include "frame/environment_image.h"
#include "frame/frame_layout.h"
#include "frame/hdri_layer_checkout.h"
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
    // The "HDRI Layer" world; null when there is none to read.
    const PF_LayerDef* CheckOutEnvironmentLayer() { return hdri_.CheckOut(); }

    // The environment layer, then the input; the input is checked in even when its check-out
    // failed. Errors of these calls never replace an earlier one.
    PF_Err CheckIn(PF_Err err) {
        checked_in_ = true;
        err = hdri_.CheckIn(err);
        const PF_Err checkin_err =
            cb_->checkin_layer_pixels(in_data_->effect_ref, kInputCheckoutId);
        if (err == PF_Err_NONE) err = checkin_err;
        return err;
    }

  private:
    PF_InData* in_data_;
    const PF_SmartRenderCallbacks* cb_;
    HdriLayerCheckout hdri_{in_data_};
    bool checked_in_ = false;
};

// Converts the "HDRI Layer" into the record; anything wrong with it means no environment.
void LoadEnvironment(PF_InData* in_data, PF_OutData* out_data, RenderCheckouts* checkouts,
                     RenderSettings* record) {
    const PF_LayerDef* layer = checkouts->CheckOutEnvironmentLayer();
    if (layer == nullptr) {
        ClearEnvironment(record);
        return;
    }
    const ScopedSuite<PF_WorldSuite2> worlds(in_data->pica_basicP, kPFWorldSuite,
                                             kPFWorldSuiteVersion2, out_data);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    worlds->PF_GetPixelFormat(layer, &format);
    StoreEnvironmentImage(*layer, format, record);
}

}  // namespace

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra,
                   bool use_gpu) {
    if (extra == nullptr || extra->input == nullptr || extra->input->pre_render_data == nullptr) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    const PF_SmartRenderCallbacks* cb = extra->cb;
    if (cb == nullptr || cb->checkout_layer_pixels == nullptr ||
        cb->checkin_layer_pixels == nullptr || cb->checkout_output == nullptr ||
        in_data->inter.checkout_param == nullptr || in_data->inter.checkin_param == nullptr) {
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
        LoadEnvironment(in_data, out_data, &checkouts, record);
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
