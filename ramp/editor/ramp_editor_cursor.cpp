// The pointer over the marker strip: a hand on a marker, a crosshair where a click adds a stop.
// Both are the host's own cursors, so they look like the rest of its interface.
#include "host/pf_in_out_data.h"
#include "ramp/editor/ramp_editor_event_support.h"
#include "ramp/editor/ramp_editor_events.h"
#include "ramp/editor/ramp_hit_test.h"
#include "ramp/ramp_handle.h"

namespace spirovault {

PF_Err AdjustRampCursor(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                        PF_EventExtra* event, PF_ParamIndex ramp_index) {
    if (!IsControlEvent(event)) return PF_Err_NONE;
    PF_ParamDef* param = RampParam(in_data, params, ramp_index);
    SuiteHandler suites(in_data->pica_basicP);
    LockedRamp locked(HandleSuite(suites), param->u.arb_d.value);
    const ColorRamp* ramp = locked.ramp();
    if (ramp == nullptr) return PF_Err_NONE;

    const RampEditorLayout layout = EventLayout(event);
    PF_AdjustCursorEventInfo& cursor = event->u.adjust_cursor;
    const A_long x = cursor.screen_point.h;
    const A_long y = cursor.screen_point.v;
    if (ButtonAt(layout, x, y) != RampButton::kNone || !InMarkerStrip(layout, x, y)) {
        return PF_Err_NONE;  // the host's own choice
    }
    cursor.set_cursor =
        HitTestStop(layout, ramp, x, y) >= 0 ? PF_Cursor_HAND : PF_Cursor_CROSSHAIRS;
    return PF_Err_NONE;
}

}  // namespace spirovault
