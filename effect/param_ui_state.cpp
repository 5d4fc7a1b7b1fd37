#include "effect/param_ui_state.h"

#include "host/pf_error.h"
#include "host/pf_param_utils_suite.h"
#include "params/param_dependencies.h"

namespace spirovault {

namespace {

// The host's array holds num_params entries; an instance whose parameter setup failed part
// way has fewer than the table.
PF_ParamDef* ParamAt(const PF_InData* in_data, PF_ParamDef* params[], PF_ParamIndex index) {
    if (params == nullptr || index < 0 || index >= in_data->num_params ||
        params[index] == nullptr) {
        throw PfError(PF_Err_BAD_CALLBACK_PARAM);
    }
    return params[index];
}

}  // namespace

void SetParamEnabled(SuiteHandler& suites, PF_InData* in_data, PF_ParamDef* params[],
                     PF_ParamIndex index, bool enabled) {
    // The host's own entry must stay as it is: the changed definition goes over as a copy.
    PF_ParamDef changed = *ParamAt(in_data, params, index);
    if (enabled) {
        changed.ui_flags &= ~PF_PUI_DISABLED;
    } else {
        changed.ui_flags |= PF_PUI_DISABLED;
    }
    const auto* utils =
        suites.Get<PF_ParamUtilsSuite3>(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    // A refusal changes nothing the effect could act on.
    utils->PF_UpdateParamUI(in_data->effect_ref, index, &changed);
}

void UpdateDependentParamsUI(PF_InData* in_data, PF_ParamDef* params[]) {
    // All or nothing: a short array must not leave some parameters updated.
    for (const ParamDependency& d : kParamDependencies) {
        ParamAt(in_data, params, d.checkbox);
        ParamAt(in_data, params, d.dependent);
    }
    SuiteHandler suites(in_data->pica_basicP);
    for (const ParamDependency& d : kParamDependencies) {
        const bool on = ParamAt(in_data, params, d.checkbox)->u.bd.value != 0;
        SetParamEnabled(suites, in_data, params, d.dependent, on);
    }
}

}  // namespace spirovault
