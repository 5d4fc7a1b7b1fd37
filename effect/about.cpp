#include <cstring>

#include "effect/command_handlers.h"
#include "effect/plugin_identity.h"
#include "host/pf_ansi_suite.h"
#include "host/suite_handler.h"

namespace spirovault {

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    const auto* ansi = suites.Get<PF_ANSICallbacksSuite1>(kPFANSISuite, kPFANSISuiteVersion1);
    // The host's sprintf is unbounded; the text is built from constants that fit return_msg.
    static_assert(sizeof "Spirovault - v1.0\r\rSpirovault raymarcher." <
                  sizeof out_data->return_msg);
    // The host shows this in its About box; blocks are separated by carriage returns only.
    ansi->sprintf(out_data->return_msg, "%s - v%d.%d\r\r%s", kEffectName,
                  static_cast<int>(kEffectMajorVersion), static_cast<int>(kEffectMinorVersion),
                  kEffectDescription);
    return PF_Err_NONE;
}

}  // namespace spirovault
