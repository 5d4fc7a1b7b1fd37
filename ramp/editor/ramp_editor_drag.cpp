// Drag events move the stop picked up by a click, remove it when it leaves the bar, and end the
// drag with the host's last drag event.
#include "host/pf_in_out_data.h"
#include "ramp/editor/ramp_editor_event_support.h"
#include "ramp/editor/ramp_editor_events.h"
#include "ramp/editor/ramp_editor_state.h"
#include "ramp/ramp_edit.h"

namespace spirovault {

namespace {

// How far beyond either end of the bar a stop may be dragged before it is taken off.
constexpr A_long kRemoveTolerance = 6;

void MoveDraggedStop(const RampEditorLayout& layout, A_long x, PF_ParamDef* param, ColorRamp* ramp,
                     RampEditorState& state) {
    if (x < layout.x0 - kRemoveTolerance || x > layout.x1 + kRemoveTolerance) {
        // The last stop stays: a ramp always keeps one.
        if (UsableStopCount(ramp) > 1) {
            RemoveStop(ramp, state.drag_stop);
            state.selected_stop = -1;
            MarkRampChanged(param);
        }
        state.drag_active = false;
        return;
    }
    ramp->stops[state.drag_stop].position = PositionFromX(layout, x);
    MarkRampChanged(param);
}

}  // namespace

PF_Err DoRampDrag(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                  PF_EventExtra* event, PF_ParamIndex ramp_index) {
    RampEditorState& state = TheRampEditorState();
    if (!state.drag_active || !IsControlEvent(event)) return PF_Err_NONE;
    PF_ParamDef* param = RampParam(in_data, params, ramp_index);
    RampEditSession session(in_data, param);
    const PFAppSuite4* app = session.app();
    ColorRamp* ramp = session.ramp();
    if (ramp == nullptr) return PF_Err_OUT_OF_MEMORY;

    const PF_DoClickEventInfo& drag = event->u.do_click;
    if (!DragStopInRange(state, ramp)) {
        // The stop went away under the drag (an undo, another editor): nothing left to move.
        state.drag_active = false;
    } else {
        MoveDraggedStop(EventLayout(event), drag.screen_point.h, param, ramp, state);
        // A host need not send a click when the button comes up; the last drag event is
        // the one sure end of the drag, and the ramp must not stay out of order.
        if (drag.last_time && state.drag_active) EndStopDrag(state, ramp);
    }
    const PF_Err err = RequestRedraw(app, event);
    event->evt_out_flags |= PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW;
    return err;
}

}  // namespace spirovault
