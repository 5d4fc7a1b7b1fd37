// Builds without Cairo (Windows: there is no MinGW build of it) cannot draw: making a canvas
// fails with a message, so whatever asked for a drawing reports it instead of drawing nothing.
#include <stdexcept>

#include "hostsim/drawbot/drawbot_canvas.h"

namespace hostsim {

DrawbotCanvas::DrawbotCanvas(const PF_Rect& frame) : frame_(frame) {
    throw std::runtime_error("drawing is not supported by this build (it has no Cairo)");
}

// No canvas is ever made, so nothing below is reached.
DrawbotCanvas::~DrawbotCanvas() = default;
void DrawbotCanvas::PaintRect(const DRAWBOT_ColorRGBA&, const DRAWBOT_RectF32&) {}
void DrawbotCanvas::FillPath(const std::vector<PathSegment>&, const DRAWBOT_ColorRGBA&,
                             DRAWBOT_FillType) {}
void DrawbotCanvas::StrokePath(const std::vector<PathSegment>&, const DRAWBOT_ColorRGBA&, float) {}
void DrawbotCanvas::DrawString(const DRAWBOT_UTF16Char*, float, const DRAWBOT_PointF32&,
                               const DRAWBOT_ColorRGBA&, DRAWBOT_TextAlignment,
                               DRAWBOT_TextTruncation, float) {}
void DrawbotCanvas::PushState() {}
void DrawbotCanvas::PopState() {}
void DrawbotCanvas::Clip(const DRAWBOT_Rect32&) {}
DRAWBOT_Rect32 DrawbotCanvas::ClipBounds() const {
    return {};
}
void DrawbotCanvas::Transform(const DRAWBOT_MatrixF32&) {}
RgbaImage DrawbotCanvas::Image() const {
    return {};
}
void DrawbotCanvas::Trace(const std::vector<PathSegment>&) {}

}  // namespace hostsim
