// Custom UI events built as the host application builds them for an effect's control area.
#ifndef SPIROVAULT_HOSTSIM_CUSTOM_UI_EVENTS_H
#define SPIROVAULT_HOSTSIM_CUSTOM_UI_EVENTS_H

#include "host/pf_custom_ui.h"

namespace hostsim {

// An event for the control area of parameter `index`, laid out in `frame` (host coordinates).
PF_EventExtra MakeControlEvent(PF_EventType type, PF_ParamIndex index, const PF_Rect& frame,
                               PF_ContextH context);

// A press of the mouse button; num_clicks counts successive clicks (2 for a double-click).
PF_EventExtra MakeClickEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context,
                             PF_Point where, A_long num_clicks);
// A drag event continuing `click` (whose continue_refcon it carries); the host marks the one
// sent when the button comes up with last_time.
PF_EventExtra MakeDragEvent(const PF_EventExtra& click, PF_Point where, bool last_time);
PF_EventExtra MakeDrawEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context);
// The host's cursor stays unless the effect sets one.
PF_EventExtra MakeAdjustCursorEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context,
                                    PF_Point where);

}  // namespace hostsim

#endif
