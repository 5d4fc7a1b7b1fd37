// PF_Cmd_RENDER, which Premiere Pro sends instead of the smart-render pair: renders the frame from
// the params[] values through the default camera of a composition of the frame's size (there are
// no general-plug-in suites, so no composition camera or lights), with the "HDRI Layer" checked
// out as a parameter, into the VUYA float output that global setup declared.
#ifndef SPIROVAULT_FRAME_PREMIERE_RENDER_H
#define SPIROVAULT_FRAME_PREMIERE_RENDER_H

#include "host/pf_in_out_data.h"

namespace spirovault {

// Colour is straight (not premultiplied) in the input and output frames, alpha the coverage of
// the fractal (over the input's alpha when "Composite On Original" is on). A missing params array,
// an output world without pixels, or an output in another pixel format returns
// PF_Err_BAD_CALLBACK_PARAM and renders nothing; a missing suite raises A_Err_MISSING_SUITE.
PF_Err PremiereRender(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output);

}  // namespace spirovault

#endif
