#include "frame/stream_value.h"

namespace spirovault {

namespace {

// Opens the stream, reads its value before expressions and hands it to `take`, disposing of the
// value and the stream on every path. Returns whether a value was read.
template <typename Take>
bool WithStreamValue(const AEGP_StreamSuite2* streams, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                     AEGP_LayerStream stream, const A_Time& comp_time, Take take) {
    AEGP_StreamRefH ref = nullptr;
    if (streams->AEGP_GetNewLayerStream(plugin_id, layer, stream, &ref) != A_Err_NONE) return false;
    AEGP_StreamValue2 value{};
    const bool read = streams->AEGP_GetNewStreamValue(plugin_id, ref, AEGP_LTimeMode_CompTime,
                                                      &comp_time, 1, &value) == A_Err_NONE;
    if (read) {
        take(value.val);
        streams->AEGP_DisposeStreamValue(&value);
    }
    streams->AEGP_DisposeStream(ref);
    return read;
}

}  // namespace

double ReadStreamValue(const AEGP_StreamSuite2* streams, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                       AEGP_LayerStream stream, const A_Time& comp_time, double default_value) {
    double result = default_value;
    WithStreamValue(streams, plugin_id, layer, stream, comp_time,
                    [&](const AEGP_StreamVal2& val) { result = val.one_d; });
    return result;
}

void ReadStreamColor(const AEGP_StreamSuite2* streams, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                     AEGP_LayerStream stream, const A_Time& comp_time, double rgb[3]) {
    WithStreamValue(streams, plugin_id, layer, stream, comp_time, [&](const AEGP_StreamVal2& val) {
        rgb[0] = val.color.redF;
        rgb[1] = val.color.greenF;
        rgb[2] = val.color.blueF;
    });
}

}  // namespace spirovault
