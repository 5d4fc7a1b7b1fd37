#include "frame/frame_layout.h"

#include <algorithm>

namespace spirovault {

namespace {

bool Usable(const PF_RationalScale& r) {
    return r.num > 0 && r.den > 0;
}

double Ratio(const PF_RationalScale& r) {
    return Usable(r) ? static_cast<double>(r.num) / static_cast<double>(r.den) : 1.0;
}

// A full-resolution length at the frame's resolution, rounded up as the host sizes its buffers.
A_long AtResolution(A_long length, const PF_RationalScale& factor) {
    if (!Usable(factor)) return length;
    const long long scaled = static_cast<long long>(length) * factor.num;
    return static_cast<A_long>((scaled + factor.den - 1) / factor.den);
}

}  // namespace

PF_LRect LayerRectAtResolution(const PF_InData& in_data) {
    if (in_data.width <= 0 || in_data.height <= 0) return PF_LRect{};
    return PF_LRect{0, 0, AtResolution(in_data.width, in_data.downsample_x),
                    AtResolution(in_data.height, in_data.downsample_y)};
}

void StoreFrameLayout(const PF_InData& in_data, const PF_EffectWorld& world, bool interlaced,
                      RenderSettings* record) {
    const bool field =
        interlaced && (in_data.field == PF_Field_UPPER || in_data.field == PF_Field_LOWER);
    record->row_step = field ? 2 : 1;
    record->origin_x = world.origin_x;
    // The upper field holds the frame's first line.
    record->origin_y =
        world.origin_y * record->row_step + (field && in_data.field == PF_Field_LOWER ? 1 : 0);
    const PF_LRect layer = LayerRectAtResolution(in_data);
    // Without the host's layer size, the world is taken to reach the frame's far edges.
    const A_long world_bottom = record->origin_y + record->row_step * (world.height - 1) + 1;
    record->output_width = layer.right > 0 ? layer.right : record->origin_x + world.width;
    record->output_height = layer.bottom > 0 ? layer.bottom : std::max<A_long>(world_bottom, 1);
    const double aspect = Ratio(in_data.pixel_aspect_ratio) * Ratio(in_data.downsample_y) /
                          Ratio(in_data.downsample_x);
    record->pixel_aspect = static_cast<float>(aspect);
}

}  // namespace spirovault
