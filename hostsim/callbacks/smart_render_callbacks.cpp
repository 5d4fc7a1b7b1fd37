#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/frames/frame_session.h"
#include "hostsim/host_services.h"

namespace hostsim {

namespace {

// Each frame's in-data names the frame; calls outside a frame find none.
FrameSession* FrameOf(PF_ProgPtr effect_ref) {
    return HostServices::FrameOfEffectRef(effect_ref);
}

PF_Err CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                     const PF_RenderRequest* request, A_long what_time, A_long /*time_step*/,
                     A_u_long /*time_scale*/, PF_CheckoutResult* result) {
    FrameSession* frame = FrameOf(effect_ref);
    if (frame == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return frame->CheckoutLayer(index, checkout_id, request, what_time, result);
}

PF_Err CheckoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels) {
    FrameSession* frame = FrameOf(effect_ref);
    if (frame == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return frame->CheckoutLayerPixels(checkout_id, pixels);
}

PF_Err CheckinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id) {
    FrameSession* frame = FrameOf(effect_ref);
    if (frame == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return frame->CheckinLayerPixels(checkout_id);
}

PF_Err CheckoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** output) {
    FrameSession* frame = FrameOf(effect_ref);
    if (frame == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return frame->CheckoutOutput(output);
}

}  // namespace

PF_PreRenderCallbacks StandalonePreRenderCallbacks() {
    PF_PreRenderCallbacks callbacks{};
    callbacks.checkout_layer = CheckoutLayer;
    return callbacks;
}

PF_SmartRenderCallbacks StandaloneSmartRenderCallbacks() {
    PF_SmartRenderCallbacks callbacks{};
    callbacks.checkout_layer_pixels = CheckoutLayerPixels;
    callbacks.checkin_layer_pixels = CheckinLayerPixels;
    callbacks.checkout_output = CheckoutOutput;
    return callbacks;
}

}  // namespace hostsim
