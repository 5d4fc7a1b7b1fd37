// Image files by kind: reading recognises PNG, OpenEXR and Radiance HDR by their first bytes;
// writing picks PNG or OpenEXR by the name's extension.
#ifndef SPIROVAULT_IMAGEIO_IMAGE_FILE_H
#define SPIROVAULT_IMAGEIO_IMAGE_FILE_H

#include <string>

#include "imageio/float_image.h"
#include "imageio/image_metadata.h"

namespace imageio {

enum class ImageKind { kPng, kExr, kRadianceHdr };

struct LoadedImage {
    FloatImage image;
    ImageKind kind = ImageKind::kPng;
    int bit_depth = 32;               // 8 or 16 for PNG; 32 for the float formats
    long long non_finite_values = 0;  // infinities and NaNs in the file, read as 0
};

// Throws ImageError naming the file. A pipe or a FIFO is read once, into memory.
LoadedImage ReadImage(const std::string& path);

// The output kind for a file name (".png" or ".exr", any letter case), or false when neither.
bool OutputKindFor(const std::string& path, ImageKind* kind);

// Writes PNG at bit_depth 8 or 16, OpenEXR as 32-bit float; atomically.
void WriteImage(const std::string& path, const FloatImage& image, ImageKind kind, int bit_depth,
                const ImageMetadata& metadata = {});

}  // namespace imageio

#endif
