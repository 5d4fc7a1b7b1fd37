#include "tests/windows/image_agreement.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

ImageAgreement CompareImages(const Image8& a, const Image8& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.channels != b.channels) {
        throw std::invalid_argument("images differ in size or channels");
    }
    const size_t pixels = static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    if (pixels == 0 || a.channels <= 0 || a.samples.size() != pixels * a.channels ||
        b.samples.size() != a.samples.size()) {
        throw std::invalid_argument("empty or inconsistent image");
    }
    ImageAgreement agreement;
    size_t within = 0;
    double error_sum = 0;
    for (size_t p = 0; p < pixels; ++p) {
        int pixel_error = 0;
        for (int c = 0; c < a.channels; ++c) {
            const size_t i = p * a.channels + c;
            const int error = std::abs(int{a.samples[i]} - int{b.samples[i]});
            error_sum += error;
            pixel_error = std::max(pixel_error, error);
        }
        if (pixel_error <= tolerance) ++within;
        agreement.max_error = std::max(agreement.max_error, pixel_error);
    }
    agreement.share_within = static_cast<double>(within) / static_cast<double>(pixels);
    agreement.mean_error = error_sum / static_cast<double>(a.samples.size());
    return agreement;
}

Image8 ReadImage(const std::string& path) {
    Image8 image;
    std::unique_ptr<stbi_uc, void (*)(void*)> data(
        stbi_load(path.c_str(), &image.width, &image.height, &image.channels, 0), stbi_image_free);
    if (data == nullptr) {
        throw std::runtime_error("cannot read " + path + ": " + stbi_failure_reason());
    }
    image.samples.assign(
        data.get(), data.get() + static_cast<size_t>(image.width) * image.height * image.channels);
    return image;
}
