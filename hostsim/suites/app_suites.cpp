// "PF AE App Suite" and "PF Effect Custom UI Suite" over the active services' panel.
#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

PanelServices* ActivePanel() {
    HostServices* services = HostServices::Active();
    return services != nullptr ? &services->panel() : nullptr;
}

PF_Err GetBgColor(PF_App_Color* color) {
    PanelServices* panel = ActivePanel();
    if (panel == nullptr || color == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *color = panel->background;
    return PF_Err_NONE;
}

PF_Err ColorPickerDialog(const A_char* title, const PF_PixelFloat* sample, PF_Boolean ws_to_monitor,
                         PF_PixelFloat* result) {
    PanelServices* panel = ActivePanel();
    if (panel == nullptr || sample == nullptr || result == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ColorPickerRequest request{title != nullptr ? title : "", *sample, ws_to_monitor != 0};
    panel->picker_requests.push_back(request);
    PF_PixelFloat chosen = *sample;
    const PF_Err err = panel->color_picker(request, &chosen);
    if (err == PF_Err_NONE) *result = chosen;
    return err;
}

PF_Err InvalidateRect(const PF_ContextH context, const PF_Rect* rect) {
    PanelServices* panel = ActivePanel();
    if (panel == nullptr || !panel->IsContext(context)) return PF_Err_BAD_CALLBACK_PARAM;
    RedrawRequest request{context, std::nullopt};
    if (rect != nullptr) request.rect = *rect;
    panel->redraws.push_back(request);
    return PF_Err_NONE;
}

// The rest of the table is not modelled: the effect does not call it, and a call that lands
// in one of these slots by a layout mistake fails instead of passing.
PF_Err NotModelled() {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}
PF_Err GetColor(PF_App_ColorType, PF_App_Color*) {
    return NotModelled();
}
PF_Err GetPersonalInfo(void*) {
    return NotModelled();
}
PF_Err GetFontStyleSheet(A_long, void*, A_short*, A_short*, A_short*) {
    return NotModelled();
}
PF_Err SetCursor(PF_CursorType) {
    return NotModelled();
}
PF_Err IsRenderEngine(PF_Boolean* render_engine) {
    if (render_engine == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *render_engine = false;
    return PF_Err_NONE;
}
PF_Err GetMouse(PF_Point*) {
    return NotModelled();
}
PF_Err ConvertLocalToGlobal(const PF_Point*, PF_Point*) {
    return NotModelled();
}
PF_Err GetColorAtGlobalPoint(const PF_Point*, A_short, A_short, PF_PixelFloat*) {
    return NotModelled();
}

// The table the host hands out for the version the effect requests.
const PFAppSuite4 kAppSuite = {
    GetBgColor,
    GetColor,
    GetPersonalInfo,
    GetFontStyleSheet,
    SetCursor,
    IsRenderEngine,
    ColorPickerDialog,
    GetMouse,
    InvalidateRect,
    ConvertLocalToGlobal,
    GetColorAtGlobalPoint,
};

PF_Err GetDrawingReference(const PF_ContextH context, DRAWBOT_DrawRef* reference) {
    PanelServices* panel = ActivePanel();
    if (panel == nullptr || reference == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    DrawbotCanvas* canvas = panel->CanvasOf(context);
    if (canvas == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *reference = reinterpret_cast<DRAWBOT_DrawRef>(canvas);
    return PF_Err_NONE;
}

const PF_EffectCustomUISuite1 kCustomUiSuite = {GetDrawingReference};

}  // namespace

const PFAppSuite4* StandaloneAppSuite() {
    return &kAppSuite;
}

const PF_EffectCustomUISuite1* StandaloneCustomUiSuite() {
    return &kCustomUiSuite;
}

}  // namespace hostsim
