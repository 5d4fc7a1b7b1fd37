// How closely two renders of the same frame agree. Escape-time surfaces are chaotic at their
// edges, where different maths libraries' roundings pick different pixels, so agreement is a
// share of close pixels and a mean error rather than equality.
#ifndef SPIROVAULT_TESTS_WINDOWS_IMAGE_AGREEMENT_H
#define SPIROVAULT_TESTS_WINDOWS_IMAGE_AGREEMENT_H

#include <cstdint>
#include <string>
#include <vector>

// 8-bit channels, row by row, `channels` per pixel.
struct Image8 {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> samples;
};

struct ImageAgreement {
    double share_within = 0;  // of pixels whose every channel differs by at most the tolerance
    double mean_error = 0;    // mean absolute channel difference, in 1/255 steps
    int max_error = 0;        // largest channel difference, in 1/255 steps
};

// Throws std::invalid_argument when the images differ in size or channel count.
ImageAgreement CompareImages(const Image8& a, const Image8& b, int tolerance);

// Throws std::runtime_error when the file cannot be read as an image.
Image8 ReadImage(const std::string& path);

#endif
