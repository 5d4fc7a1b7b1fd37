#include "hostsim/composition/layer_streams.h"

namespace hostsim {

namespace {

bool IsCameraStream(AEGP_LayerStream stream) {
    switch (stream) {
        case AEGP_LayerStream_ZOOM:
        case AEGP_LayerStream_DEPTH_OF_FIELD:
        case AEGP_LayerStream_FOCUS_DISTANCE:
        case AEGP_LayerStream_APERTURE:
        case AEGP_LayerStream_BLUR_LEVEL:
        case AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN:
        case AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD:
        case AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION:
            return true;
        default:
            return false;
    }
}

bool IsLightStream(AEGP_LayerStream stream) {
    switch (stream) {
        case AEGP_LayerStream_INTENSITY:
        case AEGP_LayerStream_COLOR:
        case AEGP_LayerStream_CASTS_SHADOWS:
        case AEGP_LayerStream_SHADOW_DARKNESS:
        case AEGP_LayerStream_SHADOW_DIFFUSION:
            return true;
        default:
            return false;
    }
}

// A new camera in the host: a 50 mm lens on a 36 mm film width, focused on the comp plane.
double DefaultZoom(const Composition& comp) {
    return comp.width * (50.0 / 36.0);
}

double HostDefault(const Composition& comp, const CompLayer& layer, AEGP_LayerStream stream,
                   double seconds) {
    switch (stream) {
        case AEGP_LayerStream_ZOOM:
            return DefaultZoom(comp);
        case AEGP_LayerStream_FOCUS_DISTANCE: {
            auto zoom = layer.streams.find(AEGP_LayerStream_ZOOM);
            return zoom != layer.streams.end() ? zoom->second.At(seconds) : DefaultZoom(comp);
        }
        case AEGP_LayerStream_BLUR_LEVEL:
        case AEGP_LayerStream_INTENSITY:
        case AEGP_LayerStream_SHADOW_DARKNESS:
            return 100.0;
        case AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD:
            return 255.0;
        default:
            return 0.0;
    }
}

}  // namespace

bool LayerHasStream(const CompLayer& layer, AEGP_LayerStream stream) {
    switch (layer.kind) {
        case LayerKind::kCamera:
            return IsCameraStream(stream);
        case LayerKind::kLight:
            return IsLightStream(stream);
        default:
            return false;
    }
}

double LayerStreamValue(const Composition& comp, const CompLayer& layer, AEGP_LayerStream stream,
                        double seconds, bool pre_expression) {
    if (!pre_expression) {
        auto expression = layer.expression_values.find(stream);
        if (expression != layer.expression_values.end()) return expression->second;
    }
    auto found = layer.streams.find(stream);
    if (found != layer.streams.end()) return found->second.At(seconds);
    return HostDefault(comp, layer, stream, seconds);
}

}  // namespace hostsim
