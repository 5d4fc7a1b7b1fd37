#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

// The effect never makes worlds of its own; only the pixel format of the host's is modelled.
PF_Err NewWorld(PF_ProgPtr, A_long, A_long, PF_Boolean, PF_PixelFormat, PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

PF_Err DisposeWorld(PF_ProgPtr, PF_EffectWorld*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

PF_Err GetPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) {
    HostServices* services = HostServices::Active();
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (services->gpu().IsGpuWorld(world)) {
        if (format == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
        *format = PF_PixelFormat_GPU_BGRA128;
        return PF_Err_NONE;
    }
    return services->render().worlds.PixelFormat(world, format);
}

const PF_WorldSuite2 kWorldSuite = {NewWorld, DisposeWorld, GetPixelFormat};

}  // namespace

const PF_WorldSuite2* StandaloneWorldSuite() {
    return &kWorldSuite;
}

}  // namespace hostsim
