#include "params/resolve_params.h"

#include "host/suite_handler.h"
#include "params/param_values.h"
#include "ramp/ramp_handle.h"

namespace spirovault {

namespace {

constexpr double kFixedToDegrees = 1.0 / 65536.0;

// Reads the union member that the parameter's declared kind fills.
ParamValue ReadValue(const ParamSpec& spec, const PF_ParamDef& def) {
    ParamValue value;
    switch (spec.kind) {
        case ParamKind::kFloatSlider:
            value.number = def.u.fs_d.value;
            break;
        case ParamKind::kIntSlider:
            value.number = def.u.sd.value;
            break;
        case ParamKind::kPopup:
            value.number = def.u.pd.value;
            break;
        case ParamKind::kCheckbox:
            value.number = def.u.bd.value != 0 ? 1.0 : 0.0;
            break;
        case ParamKind::kAngle:
            value.number = def.u.ad.value * kFixedToDegrees;
            break;
        case ParamKind::kColor:
            value.red = def.u.cd.value.red;
            value.green = def.u.cd.value.green;
            value.blue = def.u.cd.value.blue;
            break;
        default:
            break;
    }
    return value;
}

}  // namespace

void ResolveParams(RenderSettings* record, PF_InData* in_data, PF_ParamDef* params[]) {
    ParamValues values{};
    for (const ParamSpec& spec : ParamTable()) {
        if (params[spec.index] != nullptr)
            values[spec.index] = ReadValue(spec, *params[spec.index]);
    }
    SuiteHandler suites(in_data->pica_basicP);
    const auto* handles = suites.Get<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1);
    const PF_ParamDef* ramp_param = params[kParamColorRamp];
    const LockedRamp ramp(handles, ramp_param != nullptr ? ramp_param->u.arb_d.value : nullptr);
    StoreParamValues(values, ramp.ramp(), record);
}

}  // namespace spirovault
