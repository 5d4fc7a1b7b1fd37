// OpenEXR files: read any scan-line or tiled RGB(A) image into floats; write 32-bit float RGBA.
// OpenEXR stores colour premultiplied by alpha: writing multiplies, reading divides.
#ifndef SPIROVAULT_STANDALONE_IMAGE_IO_EXR_IO_H
#define SPIROVAULT_STANDALONE_IMAGE_IO_EXR_IO_H

#include <string>

#include "standalone/image_io/float_image.h"

// Missing R, G or B channels read as 0, a missing A as 1; a file with none of R, G, B (or Y)
// is refused. Throws ImageError naming the file.
FloatImage ReadExr(const std::string& path);

void WriteExr(const std::string& path, const FloatImage& image);

#endif
