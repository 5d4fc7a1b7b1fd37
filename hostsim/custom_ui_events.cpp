#include "hostsim/custom_ui_events.h"

namespace hostsim {

PF_EventExtra MakeControlEvent(PF_EventType type, PF_ParamIndex index, const PF_Rect& frame,
                               PF_ContextH context) {
    PF_EventExtra event{};
    event.contextH = context;
    event.e_type = type;
    event.effect_win.index = index;
    event.effect_win.area = PF_EA_CONTROL;
    event.effect_win.current_frame = frame;
    event.evt_out_flags = PF_EO_NONE;
    return event;
}

PF_EventExtra MakeClickEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context,
                             PF_Point where, A_long num_clicks) {
    PF_EventExtra event = MakeControlEvent(PF_Event_DO_CLICK, index, frame, context);
    event.u.do_click.screen_point = where;
    event.u.do_click.num_clicks = num_clicks;
    event.u.do_click.send_drag = false;
    event.u.do_click.last_time = false;
    return event;
}

PF_EventExtra MakeDragEvent(const PF_EventExtra& click, PF_Point where, bool last_time) {
    PF_EventExtra event = MakeControlEvent(PF_Event_DRAG, click.effect_win.index,
                                           click.effect_win.current_frame, click.contextH);
    event.u.do_click = click.u.do_click;
    event.u.do_click.screen_point = where;
    event.u.do_click.last_time = last_time;
    return event;
}

PF_EventExtra MakeDrawEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context) {
    PF_EventExtra event = MakeControlEvent(PF_Event_DRAW, index, frame, context);
    event.u.draw.update_rect = frame;
    return event;
}

PF_EventExtra MakeAdjustCursorEvent(PF_ParamIndex index, const PF_Rect& frame, PF_ContextH context,
                                    PF_Point where) {
    PF_EventExtra event = MakeControlEvent(PF_Event_ADJUST_CURSOR, index, frame, context);
    event.u.adjust_cursor.screen_point = where;
    event.u.adjust_cursor.set_cursor = PF_Cursor_NONE;
    return event;
}

}  // namespace hostsim
