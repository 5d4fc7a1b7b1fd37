// The effect-controls panel as the standalone host models it: its background colour, the
// custom UI contexts it hands to events (each may carry a canvas to draw on), the redraws the
// effect asked for, and the colour picker, answered by whoever drives the host.
#ifndef SPIROVAULT_HOSTSIM_PANEL_SERVICES_H
#define SPIROVAULT_HOSTSIM_PANEL_SERVICES_H

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/pf_app_suites.h"
#include "hostsim/drawbot/drawbot_canvas.h"

namespace hostsim {

struct RedrawRequest {
    PF_ContextH context;
    std::optional<PF_Rect> rect;  // none: the whole context
};

struct ColorPickerRequest {
    std::string title;
    PF_PixelFloat sample;
    bool ws_to_monitor;
};

// The picker's answer: PF_Err_NONE with the chosen colour, or an error (a cancel).
using ColorPicker = std::function<PF_Err(const ColorPickerRequest&, PF_PixelFloat* result)>;

class PanelServices {
  public:
    PanelServices();

    // A context of the panel, valid for the life of these services.
    PF_ContextH OpenContext();
    bool IsContext(PF_ContextH context) const;
    // The canvas a DRAW event in this context draws on; null detaches.
    void AttachCanvas(PF_ContextH context, DrawbotCanvas* canvas);
    DrawbotCanvas* CanvasOf(PF_ContextH context) const;

    PF_App_Color background{0x3333, 0x3333, 0x3333};

    std::vector<RedrawRequest> redraws;
    std::vector<ColorPickerRequest> picker_requests;
    // Until set, the user cancels (PF_Interrupt_CANCEL).
    ColorPicker color_picker;

  private:
    struct Context {
        DrawbotCanvas* canvas = nullptr;
    };
    std::vector<std::unique_ptr<Context>> contexts_;
};

}  // namespace hostsim

#endif
