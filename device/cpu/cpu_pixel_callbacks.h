// The pixel functions the host's iterate suites call, one per bit depth. The reference value is
// the frame's const CpuFrame.
#ifndef SPIROVAULT_DEVICE_CPU_CPU_PIXEL_CALLBACKS_H
#define SPIROVAULT_DEVICE_CPU_CPU_PIXEL_CALLBACKS_H

#include "host/pf_pixel.h"
#include "kernel/cpu/cpu_frame.h"

namespace spirovault {

PF_Err RenderPixelFloat(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out);
PF_Err RenderPixel16(void* refcon, A_long x, A_long y, PF_Pixel16* in, PF_Pixel16* out);
PF_Err RenderPixel8(void* refcon, A_long x, A_long y, PF_Pixel8* in, PF_Pixel8* out);
// For the float iterate over Premiere Pro's VUYA float worlds, whose pixels it hands over typed
// as PF_PixelFloat: the input is read as straight VUYA, the output stored as straight VUYA.
PF_Err RenderPixelVuya(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out);

// Output conversion: clamp to [0, 1], scale, truncate toward zero.
A_u_short FloatToChannel16(float value);
A_u_char FloatToChannel8(float value);

}  // namespace spirovault

#endif
