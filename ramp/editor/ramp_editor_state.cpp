#include "ramp/editor/ramp_editor_state.h"

#include <cmath>

#include "ramp/ramp_edit.h"

namespace spirovault {

RampEditorState& TheRampEditorState() {
    static RampEditorState state;
    return state;
}

bool DragStopInRange(const RampEditorState& state, const ColorRamp* ramp) {
    return state.drag_stop >= 0 && state.drag_stop < UsableStopCount(ramp);
}

void EndStopDrag(RampEditorState& state, ColorRamp* ramp) {
    state.drag_active = false;
    if (!DragStopInRange(state, ramp)) {
        SortStops(ramp);
        return;
    }
    const RampStop dragged = ramp->stops[state.drag_stop];
    SortStops(ramp);
    // Sorting may have moved the stop; it is found again by its colour.
    const int n = UsableStopCount(ramp);
    for (int i = 0; i < n; ++i) {
        const RampStop& s = ramp->stops[i];
        if (std::fabs(s.red - dragged.red) < 1e-5f && std::fabs(s.green - dragged.green) < 1e-5f &&
            std::fabs(s.blue - dragged.blue) < 1e-5f) {
            state.selected_stop = i;
            return;
        }
    }
}

}  // namespace spirovault
