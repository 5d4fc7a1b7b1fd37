// Reads one property of a layer at a comp time, before expressions, with a default for a
// property the host cannot give.
#ifndef SPIROVAULT_FRAME_STREAM_VALUE_H
#define SPIROVAULT_FRAME_STREAM_VALUE_H

#include "host/aegp_suites.h"

namespace spirovault {

// A one-dimensional stream's value.
double ReadStreamValue(const AEGP_StreamSuite2* streams, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                       AEGP_LayerStream stream, const A_Time& comp_time, double default_value);

// A colour stream's red, green and blue; `rgb` keeps its contents when the colour is unreadable.
void ReadStreamColor(const AEGP_StreamSuite2* streams, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                     AEGP_LayerStream stream, const A_Time& comp_time, double rgb[3]);

}  // namespace spirovault

#endif
