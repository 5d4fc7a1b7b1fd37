// The ramp editor's selection and drag, one record for the whole loaded module: every instance
// of the effect and every open editor share it. Touched only from the host's UI thread.
#ifndef SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_STATE_H
#define SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_STATE_H

#include <cstdint>

#include "kernel/color_ramp.h"

namespace spirovault {

struct RampEditorState {
    bool drag_active = false;
    int32_t drag_stop = -1;      // index of the stop being dragged
    int32_t selected_stop = -1;  // drawn as selected; -1 for none
};

RampEditorState& TheRampEditorState();

// The ramp may have changed under a drag (an undo in the host, another instance's editor):
// true when drag_stop still names a stop of this ramp.
bool DragStopInRange(const RampEditorState& state, const ColorRamp* ramp);

// Ends the drag: sorts the ramp and selects the first stop with the dragged stop's colour.
void EndStopDrag(RampEditorState& state, ColorRamp* ramp);

}  // namespace spirovault

#endif
