// Reads the composition's active camera and point lights through the general-plug-in suites into
// the frame's record, in fractal space.
#ifndef SPIROVAULT_FRAME_COMP_CAMERA_LIGHTS_H
#define SPIROVAULT_FRAME_COMP_CAMERA_LIGHTS_H

#include "host/pf_in_out_data.h"
#include "kernel/settings.h"

namespace spirovault {

// Also rescales depth_start and depth_end from composition pixels into fractal units, so it runs
// after the parameters are stored. Without the plug-in layer's suites, or without the id that
// global setup registered, the frame stands in for the composition (the default camera, no
// composition lights).
PF_Err ReadCompCameraAndLights(PF_InData* in_data, PF_OutData* out_data, RenderSettings* record);

}  // namespace spirovault

#endif
