// An 8-bit RGBA picture, straight (not premultiplied) alpha, rows from the top.
#ifndef SPIROVAULT_HOSTSIM_DRAWBOT_RGBA_IMAGE_H
#define SPIROVAULT_HOSTSIM_DRAWBOT_RGBA_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hostsim {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4 bytes

    const uint8_t* At(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) +
                        static_cast<size_t>(x)) *
                       4];
    }
};

}  // namespace hostsim

#endif
