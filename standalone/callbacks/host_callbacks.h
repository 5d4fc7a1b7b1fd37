// The callback tables the standalone host puts into every in-data.
#ifndef SPIROVAULT_STANDALONE_CALLBACKS_HOST_CALLBACKS_H
#define SPIROVAULT_STANDALONE_CALLBACKS_HOST_CALLBACKS_H

#include "host/pf_callbacks.h"

// Parameter declaration, check-out and UI registration; effect_ref names the instance.
PF_InteractCallbacks StandaloneInteractCallbacks();
// ANSI helpers and handle callbacks (the latter work on the active services).
PF_UtilCallbacks* StandaloneUtilCallbacks();

#endif
