// What the ramp editor's event handlers share: the area check, the "Color Ramp" entry, the
// suites they take, the change flag and the redraw request.
#ifndef SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_EVENT_SUPPORT_H
#define SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_EVENT_SUPPORT_H

#include "host/pf_app_suites.h"
#include "host/pf_custom_ui.h"
#include "host/pf_handle_suite.h"
#include "host/pf_in_out_data.h"
#include "host/pf_param_def.h"
#include "host/suite_handler.h"
#include "ramp/editor/ramp_editor_layout.h"
#include "ramp/ramp_handle.h"

namespace spirovault {

// Only events for the parameter's control area concern the editor.
bool IsControlEvent(const PF_EventExtra* event);

// The "Color Ramp" entry of the parameter array; a missing one raises
// PF_Err_BAD_CALLBACK_PARAM.
PF_ParamDef* RampParam(const PF_InData* in_data, PF_ParamDef* params[], PF_ParamIndex index);

const PF_HandleSuite1* HandleSuite(SuiteHandler& suites);
const PFAppSuite4* AppSuite(SuiteHandler& suites);

// What an editing event works on: both suites, taken before the ramp is locked so that a host
// lacking one finds the ramp untouched, and the ramp locked for the event. ramp() is null when
// the lock failed.
class RampEditSession {
  public:
    RampEditSession(const PF_InData* in_data, const PF_ParamDef* param)
        : suites_(in_data->pica_basicP),
          handles_(HandleSuite(suites_)),
          app_(AppSuite(suites_)),
          locked_(handles_, param->u.arb_d.value) {}

    ColorRamp* ramp() const { return locked_.ramp(); }
    const PFAppSuite4* app() const { return app_; }

  private:
    SuiteHandler suites_;
    const PF_HandleSuite1* handles_;
    const PFAppSuite4* app_;
    LockedRamp locked_;
};

inline RampEditorLayout EventLayout(const PF_EventExtra* event) {
    return MakeRampEditorLayout(event->effect_win.current_frame);
}

// Tells the host that the ramp's value changed.
inline void MarkRampChanged(PF_ParamDef* param) {
    param->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
}

// Asks the host to redraw the whole control; returns the host's answer.
PF_Err RequestRedraw(const PFAppSuite4* app, const PF_EventExtra* event);

}  // namespace spirovault

#endif
