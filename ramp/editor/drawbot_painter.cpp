#include "ramp/editor/drawbot_painter.h"

namespace spirovault {

// A pen, brush, path or font: released when the scope ends, whatever happened meanwhile.
class DrawbotPainter::Object {
  public:
    explicit Object(DrawbotPainter& painter) : painter_(painter) {}
    ~Object() {
        if (ref_ != nullptr) painter_.Note(painter_.suites_.supplier_suiteP->ReleaseObject(ref_));
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    DRAWBOT_ObjectRef* out() { return &ref_; }
    DRAWBOT_ObjectRef get() const { return ref_; }

  private:
    DrawbotPainter& painter_;
    DRAWBOT_ObjectRef ref_ = nullptr;
};

namespace {

constexpr int kMaxTextChars = 31;

}  // namespace

void DrawbotPainter::Note(A_Err err) {
    if (error_ == PF_Err_NONE) error_ = err;
}

void DrawbotPainter::Begin(DRAWBOT_DrawRef reference) {
    if (!ok()) return;
    if (reference == nullptr) return Note(PF_Err_BAD_CALLBACK_PARAM);
    Note(suites_.drawbot_suiteP->GetSupplier(reference, &supplier_));
    if (ok()) Note(suites_.drawbot_suiteP->GetSurface(reference, &surface_));
    if (ok() && (supplier_ == nullptr || surface_ == nullptr)) Note(PF_Err_BAD_CALLBACK_PARAM);
}

void DrawbotPainter::PaintRect(const DRAWBOT_ColorRGBA& color, const DRAWBOT_RectF32& rect) {
    if (ok()) Note(suites_.surface_suiteP->PaintRect(surface_, &color, &rect));
}

void DrawbotPainter::Fill(const Object& path, const DRAWBOT_ColorRGBA& color) {
    if (!ok()) return;
    Object brush(*this);
    Note(suites_.supplier_suiteP->NewBrush(supplier_, &color, brush.out()));
    if (ok()) {
        Note(suites_.surface_suiteP->FillPath(surface_, brush.get(), path.get(),
                                              kDRAWBOT_FillType_Winding));
    }
}

void DrawbotPainter::Frame(const Object& path, const DRAWBOT_ColorRGBA& pen_color,
                           float pen_width) {
    if (!ok()) return;
    Object pen(*this);
    Note(suites_.supplier_suiteP->NewPen(supplier_, &pen_color, pen_width, pen.out()));
    if (ok()) Note(suites_.surface_suiteP->StrokePath(surface_, pen.get(), path.get()));
}

void DrawbotPainter::FrameRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& pen_color,
                               float pen_width) {
    if (!ok()) return;
    Object path(*this);
    Note(suites_.supplier_suiteP->NewPath(supplier_, path.out()));
    if (ok()) Note(suites_.path_suiteP->AddRect(path.get(), &rect));
    Frame(path, pen_color, pen_width);
}

void DrawbotPainter::FillRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& color) {
    if (!ok()) return;
    Object path(*this);
    Note(suites_.supplier_suiteP->NewPath(supplier_, path.out()));
    if (ok()) Note(suites_.path_suiteP->AddRect(path.get(), &rect));
    Fill(path, color);
}

void DrawbotPainter::FillAndFrameRect(const DRAWBOT_RectF32& rect, const DRAWBOT_ColorRGBA& fill,
                                      const DRAWBOT_ColorRGBA& pen_color, float pen_width) {
    if (!ok()) return;
    Object path(*this);
    Note(suites_.supplier_suiteP->NewPath(supplier_, path.out()));
    if (ok()) Note(suites_.path_suiteP->AddRect(path.get(), &rect));
    Fill(path, fill);
    Frame(path, pen_color, pen_width);
}

void DrawbotPainter::FillPolygon(const DRAWBOT_PointF32* points, int count,
                                 const DRAWBOT_ColorRGBA& color) {
    if (!ok() || count < 1) return;
    Object path(*this);
    Note(suites_.supplier_suiteP->NewPath(supplier_, path.out()));
    if (ok()) Note(suites_.path_suiteP->MoveTo(path.get(), points[0].x, points[0].y));
    for (int i = 1; i < count && ok(); ++i) {
        Note(suites_.path_suiteP->LineTo(path.get(), points[i].x, points[i].y));
    }
    if (ok()) Note(suites_.path_suiteP->Close(path.get()));
    Fill(path, color);
}

void DrawbotPainter::DrawLabel(const char* text, const DRAWBOT_PointF32& origin,
                               const DRAWBOT_ColorRGBA& color, DRAWBOT_TextAlignment alignment,
                               float fallback_font_size) {
    if (!ok()) return;
    float font_size = fallback_font_size;
    Note(suites_.supplier_suiteP->GetDefaultFontSize(supplier_, &font_size));
    if (!(font_size > 0.0f)) font_size = fallback_font_size;
    if (!ok()) return;
    Object font(*this);
    Note(suites_.supplier_suiteP->NewDefaultFont(supplier_, font_size, font.out()));
    if (!ok() || font.get() == nullptr) return;

    DRAWBOT_UTF16Char wide[kMaxTextChars + 1] = {};
    for (int i = 0; i < kMaxTextChars && text[i] != '\0'; ++i) {
        wide[i] = static_cast<unsigned char>(text[i]);
    }
    Object brush(*this);
    Note(suites_.supplier_suiteP->NewBrush(supplier_, &color, brush.out()));
    if (ok()) {
        Note(suites_.surface_suiteP->DrawString(surface_, brush.get(), font.get(), wide, &origin,
                                                alignment, kDRAWBOT_TextTruncation_None, 0.0f));
    }
}

}  // namespace spirovault
