// What every image reader promises for whatever bytes it is given: an ImageError, or an image
// within the accepted size whose pixels are all there.
#ifndef SPIROVAULT_TESTS_FUZZ_IMAGE_READ_CHECKS_H
#define SPIROVAULT_TESTS_FUZZ_IMAGE_READ_CHECKS_H

#include <cmath>
#include <cstring>

#include "imageio/image_budget.h"
#include "tests/fuzz/fuzz_input_file.h"

// `read` returns the image; ImageError is the only failure allowed, given in one line that
// names the file. Anything else escapes and ends the run as a finding.
template <typename Read>
void CheckImageRead(const std::string& path, Read read, bool unit_range) {
    imageio::FloatImage image;
    try {
        image = read(path);
    } catch (const imageio::ImageError& e) {
        const std::string message = e.what();
        FuzzCheck(message.find(path) != std::string::npos);
        FuzzCheck(message.find('\n') == std::string::npos);
        return;
    }
    FuzzCheck(imageio::WithinImageBudget(image.width, image.height));
    FuzzCheck(image.rgba.size() == static_cast<size_t>(image.width) * image.height * 4);
    if (unit_range) {
        for (float v : image.rgba) FuzzCheck(v >= 0.0f && v <= 1.0f);
    }
}

#endif
