// The largest image the tool takes, read from a file or rendered as a frame: 32767 pixels a
// side, as the host's layers, and 2^27 pixels in all (16384 x 8192, an 8K-high environment
// image), which is 2 GiB as float RGBA. Readers check a header's claim against it before they
// allocate anything.
#ifndef SPIROVAULT_IMAGEIO_IMAGE_BUDGET_H
#define SPIROVAULT_IMAGEIO_IMAGE_BUDGET_H

#include <string>

#include "imageio/float_image.h"

namespace imageio {

constexpr long long kMaxImagePixels = 1LL << 27;

inline bool WithinImageBudget(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

// "size W x H is outside ..." for messages; the sides as claimed, however large.
inline std::string ImageBudgetFault(long long width, long long height) {
    return "size " + std::to_string(width) + " x " + std::to_string(height) +
           " is outside the image size accepted (1 to " + std::to_string(kMaxImageSide) +
           " a side, at most " + std::to_string(kMaxImagePixels) + " pixels)";
}

// Throws ImageError "cannot read NAME: size W x H is outside ..." unless the size is within
// the budget.
inline void CheckClaimedImageSize(const std::string& name, long long width, long long height) {
    if (!WithinImageBudget(width, height)) {
        throw ImageError("cannot read " + name + ": " + ImageBudgetFault(width, height));
    }
}

// Throws ImageError "cannot read NAME: size W x H needs a file of at least N bytes, but it has
// M" when the file is too small to hold what the header claims, however well compressed.
inline void CheckClaimedData(const std::string& name, long long width, long long height,
                             unsigned long long least_bytes, unsigned long long file_bytes) {
    if (least_bytes > file_bytes) {
        throw ImageError("cannot read " + name + ": size " + std::to_string(width) + " x " +
                         std::to_string(height) + " needs a file of at least " +
                         std::to_string(least_bytes) + " bytes, but it has " +
                         std::to_string(file_bytes));
    }
}

}  // namespace imageio

#endif
