#include "frame/plugin_registration.h"

#include "host/aegp_suites.h"
#include "host/pf_handle_suite.h"
#include "host/suite_handler.h"

namespace spirovault {

namespace {

constexpr char kCameraPluginName[] = "Spirovault_Camera";

struct EffectGlobals {
    A_long registered;  // 1 once the plug-in layer gave an id
    AEGP_PluginID plugin_id;
};

}  // namespace

void RegisterWithPluginLayer(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    const auto* handles = suites.Find<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1);
    if (handles == nullptr) return;
    EffectGlobals globals{0, 0};
    if (const auto* utility =
            suites.Find<AEGP_UtilitySuite5>(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5)) {
        if (utility->AEGP_RegisterWithAEGP(nullptr, kCameraPluginName, &globals.plugin_id) ==
            A_Err_NONE) {
            globals.registered = 1;
        }
    }
    PF_Handle handle = handles->host_new_handle(sizeof(EffectGlobals));
    if (handle == nullptr) return;
    auto* block = static_cast<EffectGlobals*>(handles->host_lock_handle(handle));
    if (block == nullptr) {
        handles->host_dispose_handle(handle);
        return;
    }
    *block = globals;
    handles->host_unlock_handle(handle);
    out_data->global_data = handle;
}

bool RegisteredPluginId(PF_InData* in_data, AEGP_PluginID* id) {
    if (in_data->global_data == nullptr) return false;
    SuiteHandler suites(in_data->pica_basicP);
    const auto* handles = suites.Find<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1);
    if (handles == nullptr) return false;
    const auto* block =
        static_cast<const EffectGlobals*>(handles->host_lock_handle(in_data->global_data));
    if (block == nullptr) return false;
    const EffectGlobals globals = *block;
    handles->host_unlock_handle(in_data->global_data);
    *id = globals.plugin_id;
    return globals.registered == 1;
}

void DisposeRegistration(PF_InData* in_data, PF_OutData* out_data) {
    if (in_data->global_data == nullptr) return;
    SuiteHandler suites(in_data->pica_basicP);
    if (const auto* handles =
            suites.Find<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1)) {
        handles->host_dispose_handle(in_data->global_data);
        out_data->global_data = nullptr;
    }
}

}  // namespace spirovault
