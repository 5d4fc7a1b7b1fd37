#include "frame/smart_pre_render.h"

#include <algorithm>

#include "frame/comp_camera_lights.h"
#include "frame/environment_image.h"
#include "frame/frame_layout.h"
#include "frame/render_settings_block.h"
#include "host/pf_error.h"
#include "params/param_checkouts.h"
#include "params/resolve_params.h"

namespace spirovault {

namespace {

bool IsEmptyRect(const PF_LRect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

PF_LRect IntersectRect(const PF_LRect& a, const PF_LRect& b) {
    const PF_LRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
    return IsEmptyRect(r) ? PF_LRect{} : r;
}

}  // namespace

PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra) {
    if (extra == nullptr || extra->input == nullptr || extra->output == nullptr ||
        extra->cb == nullptr || extra->cb->checkout_layer == nullptr ||
        in_data->inter.checkout_param == nullptr || in_data->inter.checkin_param == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_RenderRequest request = extra->input->output_request;
    PF_PreRenderOutput* output = extra->output;
    output->flags |= PF_RenderOutputFlag_GPU_RENDER_POSSIBLE;

    RenderSettingsBlock record = AllocateRenderSettings();
    if (record == nullptr) return PF_Err_OUT_OF_MEMORY;

    PF_Err err = PF_Err_NONE;
    {
        // Anything else that escapes (memory) still checks the copies in and frees the record.
        ParamCheckouts params(in_data);
        err = params.CheckOutAll();
        if (err == PF_Err_NONE) {
            // A missing suite ends the work here, but the copies must still be checked in and
            // the record handed over like after any other error, so the raised code is kept.
            try {
                ResolveParams(record.get(), in_data, params.params());
                // After ResolveParams: it rescales the depth range that was just stored.
                err = ReadCompCameraAndLights(in_data, out_data, record.get());
            } catch (const PfError& raised) {
                err = raised.code();
            }
        }
        const PF_Err checkin_err = params.CheckInAll();
        if (err == PF_Err_NONE) err = checkin_err;
    }

    // From here the host owns the record, also after an error.
    output->pre_render_data = record.release();
    output->delete_pre_render_data_func = DisposeRenderSettings;
    if (err != PF_Err_NONE) return err;

    PF_CheckoutResult input{};
    err = extra->cb->checkout_layer(in_data->effect_ref, kParamInput, kInputCheckoutId, &request,
                                    in_data->current_time, in_data->time_step, in_data->time_scale,
                                    &input);
    if (err != PF_Err_NONE) return err;
    const PF_LRect layer = LayerRectAtResolution(*in_data);
    if (IsEmptyRect(layer)) {
        // A host that gives no layer size: the input's bounds are all there is to go by.
        UnionRect(input.result_rect, &output->result_rect);
        UnionRect(input.max_result_rect, &output->max_result_rect);
    } else {
        // The fractal is drawn over transparent pixels too, so the result is whatever part of
        // the layer was asked for, not the input's content or mask bounds; the most it can be
        // does not depend on the request.
        output->result_rect = IntersectRect(request.rect, layer);
        output->max_result_rect = layer;
    }

    // The environment is looked up anywhere on the sphere: the whole layer, at the frame's
    // time, whatever part of the output is asked for. Its rectangles are not the effect's.
    PF_RenderRequest whole = request;
    whole.rect = PF_LRect{0, 0, kMaxEnvironmentSide, kMaxEnvironmentSide};
    PF_CheckoutResult environment{};
    return extra->cb->checkout_layer(in_data->effect_ref, kParamHdriLayer, kHdriCheckoutId, &whole,
                                     in_data->current_time, in_data->time_step, in_data->time_scale,
                                     &environment);
}

void UnionRect(const PF_LRect& source, PF_LRect* destination) {
    if (IsEmptyRect(*destination)) {
        *destination = source;
    } else if (!IsEmptyRect(source)) {
        destination->left = std::min(destination->left, source.left);
        destination->top = std::min(destination->top, source.top);
        destination->right = std::max(destination->right, source.right);
        destination->bottom = std::max(destination->bottom, source.bottom);
    }
}

}  // namespace spirovault
