// The host's side of an arbitrary-data parameter's custom editor in the effect-controls panel:
// it keeps the parameter's current value, lays out the control, and sends the mouse, cursor
// and draw events the host application sends, in the order it sends them.
#ifndef SPIROVAULT_HOSTSIM_RAMP_EDITOR_CLIENT_H
#define SPIROVAULT_HOSTSIM_RAMP_EDITOR_CLIENT_H

#include <cstdint>
#include <vector>

#include "host/pf_custom_ui.h"
#include "hostsim/drawbot/rgba_image.h"
#include "hostsim/effect_host.h"

namespace hostsim {

// An event as the effect handed it back, with the command's result.
struct EditorEvent {
    EventResult result;
    PF_EventExtra event;
};

struct EditorDrawing {
    EventResult result;
    RgbaImage image;  // the control's frame, as drawn
};

class RampEditorClient {
  public:
    // The host must have run PF_Cmd_PARAMS_SETUP; the editor is the first arbitrary-data
    // parameter. Throws std::runtime_error when there is none or its value cannot be made.
    explicit RampEditorClient(EffectHost& host, const PF_Rect& frame = {0, 0, 640, 65});

    PF_ParamIndex param_index() const { return index_; }
    PF_ContextH context() const { return context_; }
    const PF_Rect& frame() const { return frame_; }
    void set_frame(const PF_Rect& frame) { frame_ = frame; }

    // The parameter's current value handle and its bytes.
    PF_Handle value() const;
    std::vector<uint8_t> ValueBytes() const;
    // Replaces the value with one unflattened from stored bytes (the host's way of loading a
    // project); throws std::runtime_error when the effect makes none.
    void SetValueBytes(const std::vector<uint8_t>& flat);

    EditorEvent Click(PF_Point where, A_long num_clicks = 1);
    // A drag event continuing the last click, whether or not it asked for drags.
    EditorEvent Drag(PF_Point where, bool last_time = false);
    // Press at `press`, move through `moves`, release at the last: drag events follow only
    // when the click asked for them, the last one marked as the last.
    std::vector<EditorEvent> PressAndMove(PF_Point press, const std::vector<PF_Point>& moves);
    EditorEvent AdjustCursor(PF_Point where);
    EditorDrawing Draw();
    // Any event, built by the caller.
    EditorEvent Send(const PF_EventExtra& event);

  private:
    PF_ParamDef& Param() const;

    EffectHost& host_;
    PF_ParamIndex index_ = -1;
    PF_Rect frame_;
    PF_ContextH context_;
    PF_EventExtra last_click_{};
};

}  // namespace hostsim

#endif
