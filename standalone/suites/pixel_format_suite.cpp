#include "standalone/host_services.h"
#include "standalone/suites/standalone_suites.h"

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

// Worlds of other formats are not modelled.
PF_Err NewWorldOfPixelFormat(PF_ProgPtr, A_u_long, A_u_long, A_long, PrPixelFormat,
                             PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}
PF_Err DisposeWorld(PF_ProgPtr, PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}
PF_Err GetPixelFormat(PF_EffectWorld*, PrPixelFormat*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
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

}  // namespace

const PF_PixelFormatSuite1* StandalonePixelFormatSuite() {
    return &kPixelFormatSuite;
}
