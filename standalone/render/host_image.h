// An image as the host holds layer pixels, independent of depth.
#ifndef SPIROVAULT_STANDALONE_RENDER_HOST_IMAGE_H
#define SPIROVAULT_STANDALONE_RENDER_HOST_IMAGE_H

#include <vector>

enum class WorldDepth { k8, k16, k32 };  // PF_PixelFormat_ARGB32 / ARGB64 / ARGB128

struct HostImage {
    int width = 0, height = 0;
    std::vector<float> argb;  // 4 floats per pixel: alpha, red, green, blue; rows top-down;
                              // 1.0 = white in every depth (8-bit 255, 16-bit 32768)
};

#endif
