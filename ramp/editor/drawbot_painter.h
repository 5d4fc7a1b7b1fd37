// Draws shapes and text through the host's Drawbot suites and keeps the first error: once any
// call has failed no further drawing call is made, while every pen, brush, path and font made
// so far is still released right after its use.
#ifndef SPIROVAULT_RAMP_EDITOR_DRAWBOT_PAINTER_H
#define SPIROVAULT_RAMP_EDITOR_DRAWBOT_PAINTER_H

#include "host/ae_basic_types.h"
#include "host/drawbot_suites.h"

namespace spirovault {

class DrawbotPainter {
  public:
    explicit DrawbotPainter(const DRAWBOT_Suites& suites) : suites_(suites) {}
    DrawbotPainter(const DrawbotPainter&) = delete;
    DrawbotPainter& operator=(const DrawbotPainter&) = delete;

    // Takes the supplier and surface of the drawing reference; a missing one is an error.
    void Begin(DRAWBOT_DrawRef reference);

    bool ok() const { return error_ == PF_Err_NONE; }
    PF_Err error() const { return error_; }
    // Keeps err when it is the first error.
    void Note(A_Err err);

    void PaintRect(const DRAWBOT_ColorRGBA& color, const DRAWBOT_RectF32& rect);
    void FrameRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& pen_color,
                   float pen_width);
    void FillRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& color);
    // One path, filled and then framed.
    void FillAndFrameRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& fill,
                          const DRAWBOT_ColorRGBA& pen_color, float pen_width);
    void FillPolygon(const DRAWBOT_PointF32* points, int count, const DRAWBOT_ColorRGBA& color);
    // ASCII text in the supplier's default font; the default size is kept when the supplier
    // offers none.
    void DrawLabel(const char* text, const DRAWBOT_PointF32& origin, const DRAWBOT_ColorRGBA& color,
                   DRAWBOT_TextAlignment alignment, float fallback_font_size);

  private:
    class Object;
    void Fill(const Object& path, const DRAWBOT_ColorRGBA& color);
    void Frame(const Object& path, const DRAWBOT_ColorRGBA& pen_color, float pen_width);

    DRAWBOT_Suites suites_;
    DRAWBOT_SupplierRef supplier_ = nullptr;
    DRAWBOT_SurfaceRef surface_ = nullptr;
    PF_Err error_ = PF_Err_NONE;
};

}  // namespace spirovault

#endif
