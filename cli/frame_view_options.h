// How the renderer asks the effect for its frames, as the host application does: a part of the
// frame (--region, also a way to split one large still over several machines), a reduced
// resolution preview (--downsample), non-square pixels (--pixel-aspect) and, as Premiere Pro,
// one field of an interlaced frame (--fields).
#ifndef SPIROVAULT_CLI_FRAME_VIEW_OPTIONS_H
#define SPIROVAULT_CLI_FRAME_VIEW_OPTIONS_H

#include <optional>
#include <string>

#include "cli/value_parsing.h"
#include "host/pf_geometry.h"
#include "host/pf_in_out_data.h"
#include "hostsim/frames/frame_request.h"

namespace cli {

struct FrameView {
    std::optional<PF_LRect> region;  // frame pixels at the reduced resolution
    PF_RationalScale downsample_x{1, 1}, downsample_y{1, 1};
    PF_RationalScale pixel_aspect{1, 1};
    PF_Field field = PF_Field_FRAME;
};

// "X,Y,W,H": the part's top-left pixel and size, W and H at least 1.
PF_LRect ParseRegion(std::string_view text);
// "N" or "NxM": every Nth pixel across (and Mth down), 1 to 64.
void ParseDownsample(std::string_view text, FrameView* view);
// A decimal ratio of a pixel's width to its height ("2", "0.9091") or "A:B", 0.1 to 10.
PF_RationalScale ParsePixelAspect(std::string_view text);
// "upper" or "lower".
PF_Field ParseField(std::string_view text);

// The frame's size at the view's resolution, and a check that the region lies in it.
FrameSize ReducedFrameSize(const FrameView& view, FrameSize full);
void CheckRegionInFrame(const FrameView& view, FrameSize full);

// Copies the view into a frame request.
void ApplyFrameView(const FrameView& view, hostsim::FrameRequest* request);

}  // namespace cli

#endif
