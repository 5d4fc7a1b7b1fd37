#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr || def == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return services->params().UpdateUi(index, *def);
}

// Keyframe queries are not modelled yet: every parameter reads as constant.
PF_Err Unsupported() {
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err GetCurrentState(PF_ProgPtr, PF_ParamIndex, const A_Time*, const A_Time*, PF_State*) {
    return Unsupported();
}
PF_Err AreStatesIdentical(PF_ProgPtr, const PF_State*, const PF_State*, A_Boolean*) {
    return Unsupported();
}
PF_Err IsIdenticalCheckout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, A_long, A_long,
                           A_u_long, PF_Boolean*) {
    return Unsupported();
}
PF_Err FindKeyframeTime(PF_ProgPtr, PF_ParamIndex, A_long, A_u_long, PF_TimeDir, PF_Boolean*,
                        PF_KeyIndex*, A_long*, A_u_long*) {
    return Unsupported();
}
PF_Err GetKeyframeCount(PF_ProgPtr, PF_ParamIndex, PF_KeyIndex* count) {
    if (count == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *count = 0;
    return PF_Err_NONE;
}
PF_Err CheckoutKeyframe(PF_ProgPtr, PF_ParamIndex, PF_KeyIndex, A_long*, A_u_long*, PF_ParamDef*) {
    return Unsupported();
}
PF_Err CheckinKeyframe(PF_ProgPtr, PF_ParamDef*) {
    return Unsupported();
}
PF_Err KeyIndexToTime(PF_ProgPtr, PF_ParamIndex, PF_KeyIndex, A_long*, A_u_long*) {
    return Unsupported();
}

const PF_ParamUtilsSuite3 kParamUtilsSuite = {
    UpdateParamUI,    GetCurrentState,  AreStatesIdentical, IsIdenticalCheckout, FindKeyframeTime,
    GetKeyframeCount, CheckoutKeyframe, CheckinKeyframe,    KeyIndexToTime,
};

}  // namespace

const PF_ParamUtilsSuite3* StandaloneParamUtilsSuite() {
    return &kParamUtilsSuite;
}

}  // namespace hostsim
