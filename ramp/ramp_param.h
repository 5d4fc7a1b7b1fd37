// How "Color Ramp" is declared to the host, beyond what the parameter table holds.
#ifndef SPIROVAULT_RAMP_RAMP_PARAM_H
#define SPIROVAULT_RAMP_RAMP_PARAM_H

#include <cstdint>

#include "host/pf_custom_ui.h"
#include "host/pf_param_def.h"

namespace spirovault {

// The tag the host hands back in every arbitrary-data request for this parameter.
inline constexpr uintptr_t kColorRampRefcon = 0xDEADBEEF;
inline void* ColorRampRefcon() {
    return reinterpret_cast<void*>(kColorRampRefcon);
}

// The editor's requested area in the effect-controls panel.
inline constexpr A_short kRampEditorWidth = 640;
inline constexpr A_short kRampEditorHeight = 65;
inline constexpr PF_ParamUIFlags kRampEditorUiFlags = PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL;

// Printed text never needs more than this.
inline constexpr uint32_t kRampPrintSize = 2048;

}  // namespace spirovault

#endif
