#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/frames/frame_session.h"
#include "hostsim/host_services.h"

namespace hostsim {

namespace {

PF_Err CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                     A_long /*time_step*/, A_u_long time_scale, PF_ParamDef* param) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    const double seconds = time_scale != 0 ? static_cast<double>(what_time) / time_scale : 0.0;
    FrameSession* frame = HostServices::FrameOfEffectRef(effect_ref);
    if (frame != nullptr && frame->LayerFault(index) != PF_Err_NONE && index > 0 &&
        static_cast<size_t>(index) < services->params().size() &&
        services->params().at(static_cast<size_t>(index)).def.param_type == PF_Param_LAYER) {
        return frame->LayerFault(index);
    }
    const PF_Err err = services->params().Checkout(index, seconds, param, frame);
    if (err != PF_Err_NONE || param->param_type != PF_Param_LAYER) return err;
    // A layer parameter shows the pixels of the layer it points at in the frame asking.
    ShowLayerWorld(frame != nullptr ? frame->LayerParamWorld(index) : nullptr, param);
    return PF_Err_NONE;
}

PF_Err CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return services->params().Checkin(param, HostServices::FrameOfEffectRef(effect_ref));
}

PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr || def == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_Err err = services->params().Add(index, *def);
    // The host keeps an arbitrary-data parameter's default value from now on.
    if (err == PF_Err_NONE && def->param_type == PF_Param_ARBITRARY_DATA &&
        def->u.arb_d.dephault != nullptr) {
        services->handles().MarkHostOwned(def->u.arb_d.dephault);
    }
    return err;
}

// The user's cancel for the frame asking; outside a frame nothing is cancelled.
PF_Err Abort(PF_ProgPtr effect_ref) {
    const FrameSession* frame = HostServices::FrameOfEffectRef(effect_ref);
    return frame != nullptr ? frame->UserCancel() : PF_Err_NONE;
}

PF_Err Progress(PF_ProgPtr effect_ref, A_long done, A_long total) {
    const FrameSession* frame = HostServices::FrameOfEffectRef(effect_ref);
    if (frame == nullptr) return PF_Err_NONE;
    frame->ReportProgress(done, total);
    return frame->UserCancel();
}

PF_Err RegisterUi(PF_ProgPtr effect_ref, PF_CustomUIInfo* info) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr || info == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return services->params().RegisterUi(*info);
}

}  // namespace

PF_InteractCallbacks StandaloneInteractCallbacks() {
    PF_InteractCallbacks callbacks{};
    callbacks.checkout_param = CheckoutParam;
    callbacks.checkin_param = CheckinParam;
    callbacks.add_param = AddParam;
    callbacks.abort = Abort;
    callbacks.progress = Progress;
    callbacks.register_ui = RegisterUi;
    return callbacks;
}

}  // namespace hostsim
