#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

PF_UtilCallbacks MakeUtilCallbacks() {
    PF_UtilCallbacks utils{};
    const PF_HandleSuite1* handles = StandaloneHandleSuite();
    utils.host_new_handle = handles->host_new_handle;
    utils.host_lock_handle = handles->host_lock_handle;
    utils.host_unlock_handle = handles->host_unlock_handle;
    utils.host_dispose_handle = handles->host_dispose_handle;
    utils.host_get_handle_size = handles->host_get_handle_size;
    utils.host_resize_handle = handles->host_resize_handle;
    const PF_ANSICallbacksSuite1* ansi = StandaloneAnsiSuite();
    utils.ansi = PF_ANSICallbacks{ansi->atan,    ansi->atan2,  ansi->ceil, ansi->cos,   ansi->exp,
                                  ansi->fabs,    ansi->floor,  ansi->fmod, ansi->hypot, ansi->log,
                                  ansi->log10,   ansi->pow,    ansi->sin,  ansi->sqrt,  ansi->tan,
                                  ansi->sprintf, ansi->strcpy, ansi->asin, ansi->acos,  {0}};
    return utils;
}

// Function pointers only: one table serves every instance.
PF_UtilCallbacks util_callbacks = MakeUtilCallbacks();

}  // namespace

PF_UtilCallbacks* StandaloneUtilCallbacks() {
    return &util_callbacks;
}

}  // namespace hostsim
