// OpenEXR files: read any scan-line or tiled RGB(A) image into floats; write 32-bit float RGBA.
// OpenEXR stores colour premultiplied by alpha: writing multiplies, reading divides.
#ifndef SPIROVAULT_IMAGEIO_EXR_IO_H
#define SPIROVAULT_IMAGEIO_EXR_IO_H

#include <cstdint>
#include <string>
#include <vector>

#include "imageio/float_image.h"
#include "imageio/image_metadata.h"

namespace imageio {

// Missing R, G or B channels read as 0, a missing A as 1; a file with none of R, G, B (or Y)
// is refused. Throws ImageError naming the file.
FloatImage ReadExr(const std::string& path);
// The same from a whole file held in memory; `name` stands for it in messages.
FloatImage DecodeExr(const std::vector<uint8_t>& bytes, const std::string& name);

// Colour is marked with sRGB primaries, and a comment says what the RGB holds
// (metadata.exr_content: linear light, display-encoded colour or data); the scene goes into a
// string attribute. Values are written as given, premultiplied by alpha.
void WriteExr(const std::string& path, const FloatImage& image, const ImageMetadata& metadata = {});

}  // namespace imageio

#endif
