// PNG files: any PNG read as straight RGBA floats; 8-bit or 16-bit RGBA written atomically.
#ifndef SPIROVAULT_IMAGEIO_PNG_IO_H
#define SPIROVAULT_IMAGEIO_PNG_IO_H

#include <cstdint>
#include <string>
#include <vector>

#include "imageio/float_image.h"
#include "imageio/image_metadata.h"

namespace imageio {

struct DecodedPng {
    FloatImage image;
    int bit_depth = 8;  // 8 or 16, after expanding palettes and low bit depths
};

// Throws ImageError naming the file when it is missing, not a PNG or damaged.
DecodedPng ReadPng(const std::string& path);
// The same from a whole file held in memory; `name` stands for it in messages.
DecodedPng DecodePng(const std::vector<uint8_t>& bytes, const std::string& name);

// Channels are clamped to [0, 1] and rounded to the nearest step. bit_depth is 8 or 16. The
// metadata's scene goes into a text chunk.
void WritePng(const std::string& path, const FloatImage& image, int bit_depth,
              const ImageMetadata& metadata = {});

}  // namespace imageio

#endif
