// Fuzz target: arbitrary bytes as an OpenEXR file, read as the renderer reads an environment or
// input image.
#include "imageio/exr_io.h"
#include "tests/fuzz/image_read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = WriteFuzzInput(data, size, ".exr");
    CheckImageRead(path, imageio::ReadExr, false);
    return 0;
}
