// Fuzz target: arbitrary bytes as a PNG file, read as the renderer reads an environment or
// input image.
#include "imageio/png_io.h"
#include "tests/fuzz/image_read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = WriteFuzzInput(data, size, ".png");
    CheckImageRead(
        path, [](const std::string& p) { return imageio::ReadPng(p).image; }, true);
    return 0;
}
