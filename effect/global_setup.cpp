#include "effect/command_handlers.h"
#include "effect/plugin_identity.h"
#include "frame/plugin_registration.h"
#include "host/pf_pixel_format_suite.h"
#include "host/pf_utility_suite.h"
#include "host/scoped_suite.h"

namespace spirovault {

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[]) {
    out_data->my_version = kEffectVersion;
    out_data->out_flags = kEffectOutFlags;
    out_data->out_flags2 = kEffectOutFlags2;
    if (in_data->appl_id == kAppIdPremierePro) {
        // Premiere Pro renders this effect in one format only, and never on its GPU.
        ScopedSuite<PF_PixelFormatSuite1> formats(in_data->pica_basicP, kPFPixelFormatSuite,
                                                  kPFPixelFormatSuiteVersion1, out_data);
        formats->ClearSupportedPixelFormats(in_data->effect_ref);
        formats->AddSupportedPixelFormat(in_data->effect_ref, PrPixelFormat_VUYA_4444_32f);
        // Otherwise the environment layer would arrive as 8-bit frames, its light clipped at 1.
        ScopedSuite<PF_UtilitySuite4> utility(in_data->pica_basicP, kPFUtilitySuite,
                                              kPFUtilitySuiteVersion4, out_data);
        utility->EffectWantsCheckedOutFramesToMatchRenderPixelFormat(in_data->effect_ref);
    } else {
        out_data->out_flags2 = kEffectOutFlags2Gpu;
        RegisterWithPluginLayer(in_data, out_data);
    }
    return PF_Err_NONE;
}

PF_Err GlobalSetdown(PF_InData* in_data, PF_OutData* out_data) {
    DisposeRegistration(in_data, out_data);
    return PF_Err_NONE;
}

}  // namespace spirovault
