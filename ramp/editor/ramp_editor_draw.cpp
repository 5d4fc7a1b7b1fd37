// Draws the ramp editor into the control: gradient bar, marker strip with one marker per stop,
// and the three buttons.
#include "host/drawbot_acquisition.h"
#include "host/pf_in_out_data.h"
#include "host/scoped_suite.h"
#include "ramp/editor/drawbot_painter.h"
#include "ramp/editor/ramp_editor_event_support.h"
#include "ramp/editor/ramp_editor_events.h"
#include "ramp/editor/ramp_editor_state.h"
#include "ramp/ramp_handle.h"

namespace spirovault {

namespace {

constexpr DRAWBOT_ColorRGBA kBarOutline{0.3f, 0.3f, 0.3f, 1.0f};
constexpr DRAWBOT_ColorRGBA kStripColor{0.14f, 0.14f, 0.14f, 1.0f};
constexpr DRAWBOT_ColorRGBA kHeadColor{0.5f, 0.5f, 0.5f, 1.0f};
constexpr DRAWBOT_ColorRGBA kSelectedHeadColor{0.6f, 0.6f, 0.6f, 1.0f};
constexpr DRAWBOT_ColorRGBA kButtonFace{0.22f, 0.22f, 0.22f, 1.0f};
constexpr DRAWBOT_ColorRGBA kButtonOutline{0.42f, 0.42f, 0.42f, 1.0f};
constexpr DRAWBOT_ColorRGBA kButtonLabel{0.82f, 0.82f, 0.82f, 1.0f};
constexpr DRAWBOT_ColorRGBA kBlack{0.0f, 0.0f, 0.0f, 1.0f};

// Columns overlap their right neighbour by half a pixel, so no seam shows between them.
constexpr float kBarColumnWidth = 1.5f;
constexpr float kOutlineWidth = 1.0f;
constexpr float kDefaultFontSize = 11.0f;
// Lowers a label's baseline from the button's middle so that the text sits centred.
constexpr float kLabelBaselineDrop = 4.0f;

float F(A_long v) {
    return static_cast<float>(v);
}

// The panel's colour, or black when the host cannot tell.
DRAWBOT_ColorRGBA PanelBackground(const SPBasicSuite* basic) {
    SuiteHandler suites(basic);
    try {
        PF_App_Color color{};
        if (AppSuite(suites)->PF_AppGetBgColor(&color) != PF_Err_NONE) return kBlack;
        return DRAWBOT_ColorRGBA{color.red / 65535.0f, color.green / 65535.0f,
                                 color.blue / 65535.0f, 1.0f};
    } catch (const PfError&) {
        return kBlack;
    }
}

void DrawGradientBar(DrawbotPainter& painter, const RampEditorLayout& layout,
                     const ColorRamp* ramp) {
    const A_long w = layout.width;
    for (A_long c = 0; c < w && painter.ok(); ++c) {
        const float t = w == 1 ? 0.0f : F(c) / F(w - 1);
        DRAWBOT_ColorRGBA color{0, 0, 0, 1.0f};
        float alpha = 0;
        SampleRamp(ramp, t, &color.red, &color.green, &color.blue, &alpha);
        painter.PaintRect(color, DRAWBOT_RectF32{F(layout.x0 + c), F(layout.bar_top),
                                                 kBarColumnWidth, F(kRampBarHeight)});
    }
    painter.FrameRect(
        DRAWBOT_RectF32{F(layout.x0) + 0.5f, F(layout.bar_top) + 0.5f, F(w), F(kRampBarHeight)},
        kBarOutline, kOutlineWidth);
}

void DrawMarkers(DrawbotPainter& painter, const RampEditorLayout& layout, const ColorRamp* ramp,
                 int selected_stop) {
    painter.PaintRect(kStripColor, DRAWBOT_RectF32{F(layout.x0), F(layout.y0), F(layout.width),
                                                   F(kRampStripHeight)});
    const int n = UsableStopCount(ramp);
    // In index order: later stops cover earlier ones.
    for (int i = 0; i < n && painter.ok(); ++i) {
        const RampStop& stop = ramp->stops[i];
        const float sx = F(MarkerCentre(layout, stop.position));
        const float y0 = F(layout.y0);
        const float half = F(kMarkerHalfWidth);
        const float head_base = y0 + F(kMarkerHeadHeight);
        const DRAWBOT_PointF32 head[3] = {{sx, y0}, {sx + half, head_base}, {sx - half, head_base}};
        painter.FillPolygon(head, 3, i == selected_stop ? kSelectedHeadColor : kHeadColor);
        painter.FillRect(
            DRAWBOT_RectF32{sx - half, head_base, F(kMarkerBodySize), F(kMarkerBodySize)},
            DRAWBOT_ColorRGBA{stop.red, stop.green, stop.blue, 1.0f});
    }
}

void DrawButton(DrawbotPainter& painter, const PF_Rect& r, const char* label) {
    const float width = F(r.right - r.left);
    const float height = F(r.bottom - r.top);
    const DRAWBOT_RectF32 face{F(r.left) + 0.5f, F(r.top) + 0.5f, width, height};
    painter.FillAndFrameRect(face, kButtonFace, kButtonOutline, kOutlineWidth);
    const DRAWBOT_PointF32 origin{face.left + width * 0.5f,
                                  face.top + height * 0.5f + kLabelBaselineDrop};
    painter.DrawLabel(label, origin, kButtonLabel, kDRAWBOT_TextAlignment_Center, kDefaultFontSize);
}

void DrawEditor(DrawbotPainter& painter, const PF_Rect& frame, const DRAWBOT_ColorRGBA& background,
                const ColorRamp* ramp, int selected_stop) {
    const RampEditorLayout layout = MakeRampEditorLayout(frame);
    painter.PaintRect(background,
                      DRAWBOT_RectF32{F(frame.left), F(frame.top), F(frame.right - frame.left),
                                      F(frame.bottom - frame.top)});
    DrawGradientBar(painter, layout, ramp);
    DrawMarkers(painter, layout, ramp, selected_stop);
    DrawButton(painter, layout.randomize, "Randomize");
    DrawButton(painter, layout.reverse, "Reverse");
    DrawButton(painter, layout.reset, "Reset");
}

}  // namespace

PF_Err DrawRampEditor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*,
                      PF_EventExtra* event, PF_ParamIndex ramp_index) {
    if (!IsControlEvent(event)) return PF_Err_NONE;
    PF_ParamDef* param = RampParam(in_data, params, ramp_index);
    const SPBasicSuite* basic = in_data->pica_basicP;
    SuiteHandler suites(basic);
    LockedRamp locked(HandleSuite(suites), param->u.arb_d.value);
    const ColorRamp* ramp = locked.ramp();
    if (ramp == nullptr) return PF_Err_OUT_OF_MEMORY;

    ScopedDrawbotSuites drawbot(basic, out_data);
    if (drawbot.error() != PF_Err_NONE) return drawbot.error();
    ScopedSuite<PF_EffectCustomUISuite1> custom_ui(basic, kPFEffectCustomUISuite,
                                                   kPFEffectCustomUISuiteVersion1, out_data);
    DrawbotPainter painter(drawbot.suites());
    DRAWBOT_DrawRef reference = nullptr;
    painter.Note(custom_ui->PF_GetDrawingReference(event->contextH, &reference));
    painter.Begin(reference);
    const DRAWBOT_ColorRGBA background = PanelBackground(basic);
    DrawEditor(painter, event->effect_win.current_frame, background, ramp,
               TheRampEditorState().selected_stop);
    event->evt_out_flags = PF_EO_HANDLED_EVENT;
    return painter.error();
}

}  // namespace spirovault
