#include "effect/param_ui_state.h"

#include "effect/param_dependencies.h"
#include "host/pf_error.h"
#include "host/pf_param_utils_suite.h"

namespace {

PF_ParamDef* ParamAt(PF_ParamDef* params[], PF_ParamIndex index) {
    if (params == nullptr || params[index] == nullptr) throw PfError(PF_Err_BAD_CALLBACK_PARAM);
    return params[index];
}

}  // namespace

void SetParamEnabled(SuiteHandler& suites, PF_InData* in_data, PF_ParamDef* params[],
                     PF_ParamIndex index, bool enabled) {
    PF_ParamDef* def = ParamAt(params, index);
    if (enabled) {
        def->ui_flags &= ~PF_PUI_DISABLED;
    } else {
        def->ui_flags |= PF_PUI_DISABLED;
    }
    const auto* utils =
        suites.Get<PF_ParamUtilsSuite3>(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    // A refusal changes nothing the effect could act on.
    utils->PF_UpdateParamUI(in_data->effect_ref, index, def);
}

void UpdateDependentParamsUI(PF_InData* in_data, PF_ParamDef* params[]) {
    SuiteHandler suites(in_data->pica_basicP);
    for (const ParamDependency& d : kParamDependencies) {
        const bool on = ParamAt(params, d.checkbox)->u.bd.value != 0;
        SetParamEnabled(suites, in_data, params, d.dependent, on);
    }
}
