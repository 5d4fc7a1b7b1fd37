// An image as the image files hold it: straight (not premultiplied) red, green, blue, alpha
// floats per pixel, rows from the top, 1.0 = white.
#ifndef SPIROVAULT_IMAGEIO_FLOAT_IMAGE_H
#define SPIROVAULT_IMAGEIO_FLOAT_IMAGE_H

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace imageio {

struct FloatImage {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;  // width * height * 4

    FloatImage() = default;
    FloatImage(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0.0f) {}

    float* Pixel(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const float* Pixel(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};

// Largest side accepted from a file; the host's layers are no larger.
constexpr int kMaxImageSide = 32767;

// A file that cannot be read or written; the message names the file and the reason.
class ImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace imageio

#endif
