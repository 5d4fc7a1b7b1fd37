// The callback tables the standalone host puts into every in-data.
#ifndef SPIROVAULT_HOSTSIM_CALLBACKS_HOST_CALLBACKS_H
#define SPIROVAULT_HOSTSIM_CALLBACKS_HOST_CALLBACKS_H

#include "host/pf_callbacks.h"
#include "host/pf_smart_render.h"

namespace hostsim {

// Parameter declaration, check-out and UI registration; effect_ref names the instance.
PF_InteractCallbacks StandaloneInteractCallbacks();
// ANSI helpers and handle callbacks (the latter work on the active services).
PF_UtilCallbacks* StandaloneUtilCallbacks();
// Layer and output check-outs of the smart-render protocol; they work on the frame in progress.
PF_PreRenderCallbacks StandalonePreRenderCallbacks();
PF_SmartRenderCallbacks StandaloneSmartRenderCallbacks();

}  // namespace hostsim

#endif
