#include "hostsim/frames/layer_view.h"

#include <algorithm>

namespace hostsim {

namespace {

// The full-resolution pixel whose area holds the centre of pixel `at` at the factor.
int SourceIndex(int at, const PF_RationalScale& factor, int length) {
    const long long index = ((2LL * at + 1) * factor.den) / (2LL * factor.num);
    return static_cast<int>(std::clamp<long long>(index, 0, length - 1));
}

bool Empty(const PF_LRect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

}  // namespace

int LayerView::world_height() const {
    const int rows = part.bottom - part.top - first_row;
    return rows > 0 ? (rows + row_step - 1) / row_step : 0;
}

int LengthAtResolution(int length, const PF_RationalScale& factor) {
    if (factor.num <= 0 || factor.den == 0) return length;
    return static_cast<int>((static_cast<long long>(length) * factor.num + factor.den - 1) /
                            factor.den);
}

HostImage ViewOfLayer(const HostImage& layer, const LayerView& view) {
    HostImage out;
    out.width = view.world_width();
    out.height = view.world_height();
    out.argb.assign(static_cast<size_t>(std::max(out.width, 0)) * std::max(out.height, 0) * 4,
                    0.0f);
    for (int y = 0; y < out.height; ++y) {
        const int line = view.part.top + view.first_row + view.row_step * y;
        const int sy = SourceIndex(line, view.downsample_y, view.layer_height);
        if (sy >= layer.height) continue;  // past a smaller image: transparent
        for (int x = 0; x < out.width; ++x) {
            const int sx = SourceIndex(view.part.left + x, view.downsample_x, view.layer_width);
            if (sx >= layer.width) continue;
            const float* from = &layer.argb[(static_cast<size_t>(sy) * layer.width + sx) * 4];
            std::copy(from, from + 4, &out.argb[(static_cast<size_t>(y) * out.width + x) * 4]);
        }
    }
    return out;
}

PF_LRect ContentBounds(const HostImage& layer, const LayerView& view) {
    const int width = LengthAtResolution(view.layer_width, view.downsample_x);
    const int height = LengthAtResolution(view.layer_height, view.downsample_y);
    PF_LRect bounds{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const int sy = SourceIndex(y, view.downsample_y, view.layer_height);
        if (sy >= layer.height) continue;
        for (int x = 0; x < width; ++x) {
            const int sx = SourceIndex(x, view.downsample_x, view.layer_width);
            if (sx >= layer.width ||
                layer.argb[(static_cast<size_t>(sy) * layer.width + sx) * 4] <= 0.0f)
                continue;
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x + 1);
            bounds.bottom = std::max(bounds.bottom, y + 1);
        }
    }
    return Empty(bounds) ? PF_LRect{} : bounds;
}

PF_LRect Intersection(const PF_LRect& a, const PF_LRect& b) {
    const PF_LRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
    return Empty(r) ? PF_LRect{} : r;
}

}  // namespace hostsim
