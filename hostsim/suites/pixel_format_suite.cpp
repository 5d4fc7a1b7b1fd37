#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

PF_Err AddSupportedPixelFormat(PF_ProgPtr effect_ref, PrPixelFormat format) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    services->pixel_formats().supported.push_back(format);
    return PF_Err_NONE;
}

PF_Err ClearSupportedPixelFormats(PF_ProgPtr effect_ref) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    ++services->pixel_formats().clear_calls;
    services->pixel_formats().supported.clear();
    return PF_Err_NONE;
}

// The effect makes no worlds of its own; these are not modelled.
PF_Err NewWorldOfPixelFormat(PF_ProgPtr, A_u_long, A_u_long, A_long, PrPixelFormat,
                             PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}
PF_Err DisposeWorld(PF_ProgPtr, PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

// Premiere Pro's way to learn a world's format: what the host allocated it in (VUYA float for
// the worlds of a Premiere Pro frame).
PF_Err GetPixelFormat(PF_EffectWorld* world, PrPixelFormat* pixel_format) {
    HostServices* services = HostServices::Active();
    if (services == nullptr || pixel_format == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    const PF_Err err = services->render().worlds.PixelFormat(world, &format);
    if (err == PF_Err_NONE) *pixel_format = static_cast<PrPixelFormat>(format);
    return err;
}
PF_Err GetBlackForPixelFormat(PrPixelFormat, void*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

const PF_PixelFormatSuite1 kPixelFormatSuite = {
    AddSupportedPixelFormat,
    ClearSupportedPixelFormats,
    NewWorldOfPixelFormat,
    DisposeWorld,
    GetPixelFormat,
    GetBlackForPixelFormat,
    nullptr,
    nullptr,
};

// --- Premiere Pro's PF Utility Suite: only the one request the effect makes is modelled.
PF_Err WantsCheckedOutFramesToMatchRenderPixelFormat(PF_ProgPtr effect_ref) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    services->pixel_formats().checkouts_match_render_format = true;
    return PF_Err_NONE;
}

PF_UtilitySuite4 MakeUtilitySuite() {
    PF_UtilitySuite4 suite{};
    suite.EffectWantsCheckedOutFramesToMatchRenderPixelFormat =
        WantsCheckedOutFramesToMatchRenderPixelFormat;
    return suite;
}
const PF_UtilitySuite4 kUtilitySuite = MakeUtilitySuite();

}  // namespace

const PF_PixelFormatSuite1* StandalonePixelFormatSuite() {
    return &kPixelFormatSuite;
}

const PF_UtilitySuite4* StandalonePremiereUtilitySuite() {
    return &kUtilitySuite;
}

}  // namespace hostsim
