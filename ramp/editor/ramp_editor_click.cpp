// Clicks in the ramp editor: the buttons, selecting and dragging stops, adding stops, the
// colour picker, and the end of a drag.
#include "host/pf_in_out_data.h"
#include "ramp/editor/ramp_editor_event_support.h"
#include "ramp/editor/ramp_editor_events.h"
#include "ramp/editor/ramp_editor_state.h"
#include "ramp/editor/ramp_hit_test.h"
#include "ramp/ramp_edit.h"

namespace spirovault {

namespace {

constexpr const char* kStopColorTitle = "Stop Color";

// The host's colour picker on one stop; the stop changes only when the user confirms.
PF_Err PickStopColor(const PFAppSuite4* app, RampStop* stop, PF_ParamDef* param) {
    PF_PixelFloat color{stop->alpha, stop->red, stop->green, stop->blue};
    const PF_Err err = app->PF_AppColorPickerDialog(kStopColorTitle, &color, true, &color);
    if (err != PF_Err_NONE) return err;
    stop->red = color.red;
    stop->green = color.green;
    stop->blue = color.blue;
    stop->alpha = color.alpha;
    MarkRampChanged(param);
    return PF_Err_NONE;
}

// Everything but the end of a drag. Returns an error only from the colour picker.
PF_Err ClassifyClick(PF_InData* in_data, const PFAppSuite4* app, PF_EventExtra* event,
                     PF_ParamDef* param, ColorRamp* ramp, RampEditorState& state) {
    const RampEditorLayout layout = EventLayout(event);
    PF_DoClickEventInfo& click = event->u.do_click;
    const A_long x = click.screen_point.h;
    const A_long y = click.screen_point.v;
    switch (ButtonAt(layout, x, y)) {
        case RampButton::kRandomize:
            RandomizeRamp(ramp);
            MarkRampChanged(param);
            state.selected_stop = -1;
            return PF_Err_NONE;
        case RampButton::kReverse:
            ReverseRamp(ramp);
            MarkRampChanged(param);
            return PF_Err_NONE;
        case RampButton::kReset:
            ResetRamp(ramp);
            state.selected_stop = 0;
            MarkRampChanged(param);
            return PF_Err_NONE;
        case RampButton::kNone:
            break;
    }
    if (!InMarkerStrip(layout, x, y)) {
        state.selected_stop = -1;
        return PF_Err_NONE;
    }
    const int hit = HitTestStop(layout, ramp, x, y);
    if (hit < 0) {
        state.selected_stop = AddStop(ramp, PositionFromX(layout, x));
        MarkRampChanged(param);
        return PF_Err_NONE;
    }
    state.selected_stop = hit;
    // Premiere Pro has no colour picker for effects: there a double-click drags like a single.
    if (click.num_clicks >= 2 && in_data->appl_id != kAppIdPremierePro) {
        return PickStopColor(app, &ramp->stops[hit], param);
    }
    state.drag_active = true;
    state.drag_stop = hit;
    click.send_drag = true;
    return PF_Err_NONE;
}

}  // namespace

PF_Err DoRampClick(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                   PF_EventExtra* event, PF_ParamIndex ramp_index) {
    if (!IsControlEvent(event)) return PF_Err_NONE;
    PF_ParamDef* param = RampParam(in_data, params, ramp_index);
    RampEditSession session(in_data, param);
    const PFAppSuite4* app = session.app();
    ColorRamp* ramp = session.ramp();
    if (ramp == nullptr) return PF_Err_OUT_OF_MEMORY;

    RampEditorState& state = TheRampEditorState();
    PF_Err err = PF_Err_NONE;
    if (event->u.do_click.num_clicks == 0 && state.drag_active) {
        EndStopDrag(state, ramp);
        MarkRampChanged(param);
    } else {
        err = ClassifyClick(in_data, app, event, param, ramp, state);
    }
    if (err == PF_Err_NONE) err = RequestRedraw(app, event);
    event->evt_out_flags |= PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW;
    return err;
}

}  // namespace spirovault
