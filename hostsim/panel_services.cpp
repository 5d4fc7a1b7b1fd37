#include "hostsim/panel_services.h"

#include <algorithm>

namespace hostsim {

PanelServices::PanelServices()
    : color_picker([](const ColorPickerRequest&, PF_PixelFloat*) { return PF_Interrupt_CANCEL; }) {}

PF_ContextH PanelServices::OpenContext() {
    contexts_.push_back(std::make_unique<Context>());
    return reinterpret_cast<PF_ContextH>(contexts_.back().get());
}

bool PanelServices::IsContext(PF_ContextH context) const {
    return std::any_of(contexts_.begin(), contexts_.end(), [&](const auto& c) {
        return reinterpret_cast<PF_ContextH>(c.get()) == context;
    });
}

void PanelServices::AttachCanvas(PF_ContextH context, DrawbotCanvas* canvas) {
    if (IsContext(context)) reinterpret_cast<Context*>(context)->canvas = canvas;
}

DrawbotCanvas* PanelServices::CanvasOf(PF_ContextH context) const {
    return IsContext(context) ? reinterpret_cast<Context*>(context)->canvas : nullptr;
}

}  // namespace hostsim
