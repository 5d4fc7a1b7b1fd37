// Failures the standalone host can inject into one frame's smart-render protocol.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_RENDER_FAULTS_H
#define SPIROVAULT_HOSTSIM_FRAMES_RENDER_FAULTS_H

#include "host/ae_basic_types.h"

struct RenderFaults {
    PF_Err checkout_layer = PF_Err_NONE;         // pre-render's checkout_layer
    PF_Err checkout_layer_pixels = PF_Err_NONE;  // the smart render's input check-out
    PF_Err checkout_output = PF_Err_NONE;
    // The output world reports a pixel format no CPU path renders (a GPU world's).
    bool output_format_unknown = false;
};

#endif
