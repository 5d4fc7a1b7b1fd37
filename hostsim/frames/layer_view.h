// How a frame's worlds sit in their layer, as the host asks for a frame: at a reduced resolution
// (downsample factors, which may differ across and down), a part of the layer (the viewer's
// region of interest, a layer partly off screen), or one field of an interlaced frame.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_LAYER_VIEW_H
#define SPIROVAULT_HOSTSIM_FRAMES_LAYER_VIEW_H

#include "host/pf_geometry.h"
#include "hostsim/frames/host_image.h"

namespace hostsim {

struct LayerView {
    int layer_width = 0, layer_height = 0;  // at full resolution
    PF_RationalScale downsample_x{1, 1}, downsample_y{1, 1};
    PF_LRect part{};    // the world's pixels in layer pixels at this resolution
    int row_step = 1;   // 2 for a field: every second line of the part...
    int first_row = 0;  // ...from this one (0 for the upper field, 1 for the lower)

    int world_width() const { return part.right - part.left; }
    int world_height() const;
};

// A full-resolution length at a downsample factor, rounded up as the host sizes its buffers.
int LengthAtResolution(int length, const PF_RationalScale& factor);

// The world's pixels: each the layer's full-resolution pixel nearest its centre (the host's draft
// resampling), for the part and the field's lines only.
HostImage ViewOfLayer(const HostImage& layer, const LayerView& view);

// Where the layer's alpha is not zero, in layer pixels at the view's resolution; empty when the
// layer is transparent throughout (a mask that hides everything).
PF_LRect ContentBounds(const HostImage& layer, const LayerView& view);

PF_LRect Intersection(const PF_LRect& a, const PF_LRect& b);

}  // namespace hostsim

#endif
