// Fuzz target: arbitrary bytes as a Radiance HDR file, read as the renderer reads an
// environment image.
#include "imageio/radiance_hdr.h"
#include "tests/fuzz/image_read_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = WriteFuzzInput(data, size, ".hdr");
    CheckImageRead(path, imageio::ReadRadianceHdr, false);
    return 0;
}
