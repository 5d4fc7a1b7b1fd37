#include "hostsim/drawbot/drawbot_canvas.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace hostsim {

namespace {

void SetColor(cairo_t* cr, const DRAWBOT_ColorRGBA& c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void AppendUtf8(char32_t code, std::string* out) {
    if (code < 0x80) {
        out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (code >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (code >> 18)));
        out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Zero-terminated UTF-16 to one UTF-8 string per character (so text can be shortened by whole
// characters); unpaired surrogates become U+FFFD.
std::vector<std::string> Utf16Characters(const DRAWBOT_UTF16Char* text) {
    std::vector<std::string> chars;
    for (size_t i = 0; text[i] != 0; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        std::string utf8;
        AppendUtf8(code, &utf8);
        chars.push_back(utf8);
    }
    return chars;
}

std::string Join(const std::vector<std::string>& chars, size_t count) {
    std::string text;
    for (size_t i = 0; i < count && i < chars.size(); ++i) text += chars[i];
    return text;
}

double Advance(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// Cairo and fontconfig keep their font caches for the life of the process; freeing them at
// exit lets leak checkers tell them from real leaks.
void FreeFontCachesAtExit() {
    static const bool registered = [] {
        return std::atexit([] {
                   cairo_debug_reset_static_data();
                   FcFini();
               }) == 0;
    }();
    (void)registered;
}

}  // namespace

DrawbotCanvas::DrawbotCanvas(const PF_Rect& frame) : frame_(frame) {
    FreeFontCachesAtExit();
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) throw std::runtime_error("empty drawing frame");
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        throw std::runtime_error("cannot make a drawing surface");
    }
    cr_ = cairo_create(surface_);
    cairo_translate(cr_, -frame.left, -frame.top);
}

DrawbotCanvas::~DrawbotCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void DrawbotCanvas::PaintRect(const DRAWBOT_ColorRGBA& color, const DRAWBOT_RectF32& rect) {
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.width, rect.height);
    SetColor(cr_, color);
    cairo_fill(cr_);
}

void DrawbotCanvas::Trace(const std::vector<PathSegment>& path) {
    cairo_new_path(cr_);
    constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
    for (const PathSegment& s : path) {
        switch (s.kind) {
            case PathSegment::Kind::kMoveTo:
                cairo_move_to(cr_, s.v[0], s.v[1]);
                break;
            case PathSegment::Kind::kLineTo:
                cairo_line_to(cr_, s.v[0], s.v[1]);
                break;
            case PathSegment::Kind::kBezierTo:
                cairo_curve_to(cr_, s.v[0], s.v[1], s.v[2], s.v[3], s.v[4], s.v[5]);
                break;
            case PathSegment::Kind::kRect:
                cairo_rectangle(cr_, s.v[0], s.v[1], s.v[2], s.v[3]);
                break;
            case PathSegment::Kind::kArc: {
                const double start = s.v[3] * kRadiansPerDegree;
                const double end = (s.v[3] + s.v[4]) * kRadiansPerDegree;
                if (s.v[4] >= 0) {
                    cairo_arc(cr_, s.v[0], s.v[1], s.v[2], start, end);
                } else {
                    cairo_arc_negative(cr_, s.v[0], s.v[1], s.v[2], start, end);
                }
                break;
            }
            case PathSegment::Kind::kClose:
                cairo_close_path(cr_);
                break;
        }
    }
}

void DrawbotCanvas::FillPath(const std::vector<PathSegment>& path, const DRAWBOT_ColorRGBA& color,
                             DRAWBOT_FillType fill_type) {
    Trace(path);
    cairo_set_fill_rule(cr_, fill_type == kDRAWBOT_FillType_EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                    : CAIRO_FILL_RULE_WINDING);
    SetColor(cr_, color);
    cairo_fill(cr_);
}

void DrawbotCanvas::StrokePath(const std::vector<PathSegment>& path, const DRAWBOT_ColorRGBA& color,
                               float width) {
    Trace(path);
    cairo_set_line_width(cr_, width);
    SetColor(cr_, color);
    cairo_stroke(cr_);
}

void DrawbotCanvas::DrawString(const DRAWBOT_UTF16Char* text, float font_size,
                               const DRAWBOT_PointF32& origin, const DRAWBOT_ColorRGBA& color,
                               DRAWBOT_TextAlignment alignment, DRAWBOT_TextTruncation truncation,
                               float truncation_width) {
    cairo_select_font_face(cr_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, font_size);
    const std::vector<std::string> chars = Utf16Characters(text);
    std::string shown = Join(chars, chars.size());
    if (truncation == kDRAWBOT_TextTruncation_End && truncation_width > 0) {
        const std::string ellipsis = "\u2026";
        for (size_t keep = chars.size(); Advance(cr_, shown) > truncation_width && keep > 0;) {
            shown = Join(chars, --keep) + ellipsis;
        }
    }
    const double advance = Advance(cr_, shown);
    double x = origin.x;
    if (alignment == kDRAWBOT_TextAlignment_Center) x -= advance / 2;
    if (alignment == kDRAWBOT_TextAlignment_Right) x -= advance;
    cairo_new_path(cr_);
    cairo_move_to(cr_, x, origin.y);
    SetColor(cr_, color);
    cairo_show_text(cr_, shown.c_str());
    cairo_new_path(cr_);
}

void DrawbotCanvas::PushState() {
    cairo_save(cr_);
}

void DrawbotCanvas::PopState() {
    cairo_restore(cr_);
}

void DrawbotCanvas::Clip(const DRAWBOT_Rect32& rect) {
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.width, rect.height);
    cairo_clip(cr_);
}

DRAWBOT_Rect32 DrawbotCanvas::ClipBounds() const {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    const auto left = static_cast<int32_t>(std::floor(x1));
    const auto top = static_cast<int32_t>(std::floor(y1));
    return DRAWBOT_Rect32{left, top, static_cast<int32_t>(std::ceil(x2)) - left,
                          static_cast<int32_t>(std::ceil(y2)) - top};
}

void DrawbotCanvas::Transform(const DRAWBOT_MatrixF32& m) {
    // Drawbot matrices map row vectors: (x, y, 1) times the matrix.
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, m.mat[0][0], m.mat[0][1], m.mat[1][0], m.mat[1][1], m.mat[2][0],
                      m.mat[2][1]);
    cairo_transform(cr_, &matrix);
}

RgbaImage DrawbotCanvas::Image() const {
    cairo_surface_flush(surface_);
    RgbaImage image;
    image.width = cairo_image_surface_get_width(surface_);
    image.height = cairo_image_surface_get_height(surface_);
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            // Cairo keeps premultiplied ARGB in native-endian words.
            const uint32_t argb = row[x];
            const uint32_t a = argb >> 24;
            uint8_t* out = image.pixels.data() +
                           (static_cast<size_t>(y) * static_cast<size_t>(image.width) + x) * 4;
            for (int c = 0; c < 3; ++c) {
                const uint32_t premultiplied = (argb >> (16 - 8 * c)) & 0xFF;
                out[c] = static_cast<uint8_t>(a == 0 ? 0 : (premultiplied * 255 + a / 2) / a);
            }
            out[3] = static_cast<uint8_t>(a);
        }
    }
    return image;
}

}  // namespace hostsim
