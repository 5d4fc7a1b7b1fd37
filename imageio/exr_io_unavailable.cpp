// Builds without OpenEXR (Windows: there is no MinGW build of it) refuse .exr files by name.
#include "imageio/exr_io.h"

namespace imageio {

FloatImage ReadExr(const std::string& path) {
    throw ImageError("cannot read " + path + ": OpenEXR files are not supported by this build");
}

void WriteExr(const std::string& path, const FloatImage&, const ImageMetadata&) {
    throw ImageError("cannot write " + path + ": OpenEXR files are not supported by this build");
}

std::string ReadExrSceneAttribute(const std::string& path) {
    throw ImageError("cannot read " + path + ": OpenEXR files are not supported by this build");
}

FloatImage DecodeExr(const std::vector<uint8_t>&, const std::string& name) {
    return ReadExr(name);
}

std::string ExrSceneAttribute(const std::vector<uint8_t>&, const std::string& name) {
    return ReadExrSceneAttribute(name);
}

}  // namespace imageio
