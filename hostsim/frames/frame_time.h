// The host's time base for a composition frame rate: in_data's time_scale and time_step.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_FRAME_TIME_H
#define SPIROVAULT_HOSTSIM_FRAMES_FRAME_TIME_H

#include "host/ae_basic_types.h"

struct TimeBase {
    A_u_long time_scale = 1;  // units per second
    A_long time_step = 1;     // units per frame
};

// Whole rates as (rate, 1); the NTSC rates as (1000 x nominal, 1001), so 29.97 is 30000/1001;
// anything else in thousandths of a frame. Rates of 0 or less are treated as 1 fps.
TimeBase TimeBaseFor(double frame_rate);

#endif
