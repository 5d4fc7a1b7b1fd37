// A Drawbot surface over a Cairo image: the picture of one control frame. Coordinates are the
// host's; pixel (0, 0) of the image is the frame's top-left corner.
#ifndef SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_CANVAS_H
#define SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_CANVAS_H

#include <vector>

#include "host/drawbot_types.h"
#include "host/pf_geometry.h"
#include "hostsim/drawbot/drawbot_objects.h"
#include "hostsim/drawbot/rgba_image.h"

// Cairo's own types, declared as its header does, outside the host's namespace.
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace hostsim {

class DrawbotCanvas {
  public:
    // Throws std::runtime_error when the frame is empty or Cairo cannot make the image.
    explicit DrawbotCanvas(const PF_Rect& frame);
    ~DrawbotCanvas();
    DrawbotCanvas(const DrawbotCanvas&) = delete;
    DrawbotCanvas& operator=(const DrawbotCanvas&) = delete;

    const PF_Rect& frame() const { return frame_; }

    void PaintRect(const DRAWBOT_ColorRGBA& color, const DRAWBOT_RectF32& rect);
    void FillPath(const std::vector<PathSegment>& path, const DRAWBOT_ColorRGBA& color,
                  DRAWBOT_FillType fill_type);
    void StrokePath(const std::vector<PathSegment>& path, const DRAWBOT_ColorRGBA& color,
                    float width);
    // UTF-16 text in the default sans-serif face, the origin on its baseline.
    void DrawString(const DRAWBOT_UTF16Char* text, float font_size, const DRAWBOT_PointF32& origin,
                    const DRAWBOT_ColorRGBA& color, DRAWBOT_TextAlignment alignment,
                    DRAWBOT_TextTruncation truncation, float truncation_width);

    void PushState();
    void PopState();
    void Clip(const DRAWBOT_Rect32& rect);
    DRAWBOT_Rect32 ClipBounds() const;
    void Transform(const DRAWBOT_MatrixF32& matrix);

    RgbaImage Image() const;

  private:
    void Trace(const std::vector<PathSegment>& path);

    PF_Rect frame_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace hostsim

#endif
