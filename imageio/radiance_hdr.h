// Radiance HDR (.hdr, RGBE) files. The reader takes flat scan lines, run-length encoded scan
// lines (both the adaptive and the old repeat-pixel forms), the four Y/X orientations and
// EXPOSURE lines; the writer writes run-length encoded top-down scan lines.
#ifndef SPIROVAULT_IMAGEIO_RADIANCE_HDR_H
#define SPIROVAULT_IMAGEIO_RADIANCE_HDR_H

#include <cstdint>
#include <string>
#include <vector>

#include "imageio/image_budget.h"

namespace imageio {

// The largest file read: a flat image at the pixel budget, with room for a long header. Run-length
// encoded lines of a real image are at most a little longer than flat ones.
constexpr size_t kMaxRadianceFileBytes = static_cast<size_t>(kMaxImagePixels) * 4 * 17 / 16;

// Alpha is 1 everywhere. Throws ImageError naming the file; a size outside the image budget or
// more scan lines than the file can hold are refused before the image is allocated.
FloatImage ReadRadianceHdr(const std::string& path);
// Decodes a whole file held in memory; `name` is used in messages.
FloatImage DecodeRadianceHdr(const std::vector<uint8_t>& bytes, const std::string& name);

// Writes red, green and blue (alpha is dropped), atomically.
void WriteRadianceHdr(const std::string& path, const FloatImage& image);

// One pixel's shared-exponent form, and back.
void FloatToRgbe(const float rgb[3], uint8_t rgbe[4]);
void RgbeToFloat(const uint8_t rgbe[4], float rgb[3]);

}  // namespace imageio

#endif
