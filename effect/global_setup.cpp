#include "effect/command_handlers.h"
#include "effect/plugin_identity.h"
#include "host/pf_pixel_format_suite.h"
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
    } else {
        out_data->out_flags2 = kEffectOutFlags2Gpu;
    }
    return PF_Err_NONE;
}

}  // namespace spirovault
