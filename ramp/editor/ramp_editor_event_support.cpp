#include "ramp/editor/ramp_editor_event_support.h"

#include "host/pf_error.h"

namespace spirovault {

bool IsControlEvent(const PF_EventExtra* event) {
    return event->effect_win.area == PF_EA_CONTROL;
}

PF_ParamDef* RampParam(const PF_InData* in_data, PF_ParamDef* params[], PF_ParamIndex index) {
    if (params == nullptr || index < 0 || index >= in_data->num_params ||
        params[index] == nullptr) {
        throw PfError(PF_Err_BAD_CALLBACK_PARAM);
    }
    return params[index];
}

const PF_HandleSuite1* HandleSuite(SuiteHandler& suites) {
    return suites.Get<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1);
}

const PFAppSuite4* AppSuite(SuiteHandler& suites) {
    return suites.Get<PFAppSuite4>(kPFAppSuite, kAppSuiteRequestVersion);
}

PF_Err RequestRedraw(const PFAppSuite4* app, const PF_EventExtra* event) {
    return app->PF_InvalidateRect(event->contextH, &event->effect_win.current_frame);
}

}  // namespace spirovault
