// An image as the host holds layer pixels, independent of depth.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_HOST_IMAGE_H
#define SPIROVAULT_HOSTSIM_FRAMES_HOST_IMAGE_H

#include <vector>

namespace hostsim {

// PF_PixelFormat_ARGB32 / ARGB64 / ARGB128, and Premiere Pro's PrPixelFormat_VUYA_4444_32f (four
// floats V, U, Y, A; the colour of an image is converted by ITU-R BT.601 on the way in and out).
enum class WorldDepth { k8, k16, k32, kVuya32 };

struct HostImage {
    int width = 0, height = 0;
    std::vector<float> argb;  // 4 floats per pixel: alpha, red, green, blue; rows top-down;
                              // 1.0 = white in every depth (8-bit 255, 16-bit 32768)
};

}  // namespace hostsim

#endif
