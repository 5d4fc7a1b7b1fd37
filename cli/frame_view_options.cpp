#include "cli/frame_view_options.h"

#include <cmath>
#include <vector>

#include "cli/cli_error.h"
#include "hostsim/frames/layer_view.h"

namespace cli {

namespace {

constexpr long kMaxDownsample = 64;
constexpr double kMinAspect = 0.1, kMaxAspect = 10.0;
// Decimal ratios are kept to this many parts, as the host keeps rationals.
constexpr long kAspectDenominator = 10000;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

PF_LRect ParseRegion(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ',');
    long v[4] = {};
    bool ok = parts.size() == 4;
    for (size_t i = 0; ok && i < 4; ++i) ok = ParseWhole(parts[i], i < 2 ? 0 : 1, 32767, &v[i]);
    if (!ok) {
        throw UsageError("--region " + Quoted(text) +
                         ": expected X,Y,W,H in pixels, W and H at least 1");
    }
    return PF_LRect{static_cast<A_long>(v[0]), static_cast<A_long>(v[1]),
                    static_cast<A_long>(v[0] + v[2]), static_cast<A_long>(v[1] + v[3])};
}

void ParseDownsample(std::string_view text, FrameView* view) {
    const size_t x = text.find_first_of("xX");
    long across = 0, down = 0;
    const bool ok = x == std::string_view::npos
                        ? ParseWhole(text, 1, kMaxDownsample, &across)
                        : ParseWhole(text.substr(0, x), 1, kMaxDownsample, &across) &&
                              ParseWhole(text.substr(x + 1), 1, kMaxDownsample, &down);
    if (!ok) {
        throw UsageError("--downsample " + Quoted(text) + ": expected N or NxM, each 1 to " +
                         std::to_string(kMaxDownsample));
    }
    if (x == std::string_view::npos) down = across;
    view->downsample_x = PF_RationalScale{1, static_cast<A_u_long>(across)};
    view->downsample_y = PF_RationalScale{1, static_cast<A_u_long>(down)};
}

PF_RationalScale ParsePixelAspect(std::string_view text) {
    const size_t colon = text.find(':');
    PF_RationalScale ratio{0, 1};
    double value = 0;
    if (colon != std::string_view::npos) {
        long a = 0, b = 0;
        if (ParseWhole(text.substr(0, colon), 1, 100000, &a) &&
            ParseWhole(text.substr(colon + 1), 1, 100000, &b)) {
            ratio = PF_RationalScale{static_cast<A_long>(a), static_cast<A_u_long>(b)};
            value = static_cast<double>(a) / static_cast<double>(b);
        }
    } else {
        try {
            value = ParseNumber(text, "--pixel-aspect");
        } catch (const CliError&) {
            value = 0;
        }
        ratio = PF_RationalScale{static_cast<A_long>(std::lround(value * kAspectDenominator)),
                                 static_cast<A_u_long>(kAspectDenominator)};
    }
    if (!(value >= kMinAspect && value <= kMaxAspect)) {
        throw UsageError("--pixel-aspect " + Quoted(text) +
                         ": expected a pixel's width over its height, 0.1 to 10 (2, 0.9091 or "
                         "A:B)");
    }
    return ratio;
}

PF_Field ParseField(std::string_view text) {
    if (text == "upper") return PF_Field_UPPER;
    if (text == "lower") return PF_Field_LOWER;
    throw UsageError("--fields " + Quoted(text) + ": expected upper or lower");
}

FrameSize ReducedFrameSize(const FrameView& view, FrameSize full) {
    return FrameSize{hostsim::LengthAtResolution(full.width, view.downsample_x),
                     hostsim::LengthAtResolution(full.height, view.downsample_y)};
}

void CheckRegionInFrame(const FrameView& view, FrameSize full) {
    if (!view.region) return;
    const FrameSize frame = ReducedFrameSize(view, full);
    const PF_LRect& r = *view.region;
    if (r.right > frame.width || r.bottom > frame.height) {
        throw UsageError("--region " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top) +
                         " reaches past the " + std::to_string(frame.width) + "x" +
                         std::to_string(frame.height) + " frame");
    }
}

void ApplyFrameView(const FrameView& view, hostsim::FrameRequest* request) {
    request->region = view.region;
    request->downsample_x = view.downsample_x;
    request->downsample_y = view.downsample_y;
    request->pixel_aspect = view.pixel_aspect;
    request->field = view.field;
}

}  // namespace cli
