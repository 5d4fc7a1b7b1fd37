#include "imageio/image_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "imageio/exr_io.h"
#include "imageio/input_file.h"
#include "imageio/png_io.h"
#include "imageio/radiance_hdr.h"

namespace imageio {

namespace {

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

LoadedImage ReadImage(const std::string& path) {
    // A pipe or a FIFO is read once, whole; a regular file by its name.
    const InputFile input = OpenInput(path, MaxStreamedImageBytes(), MaxStreamedImageBytes());
    if (input.over_cap) {
        throw ImageError("cannot read " + path + ": larger than " +
                         std::to_string(MaxStreamedImageBytes()) +
                         " bytes, more than an image of the accepted size takes");
    }
    unsigned char head[4] = {};
    if (input.regular) {
        std::ifstream file(path, std::ios::binary);
        if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
        file.read(reinterpret_cast<char*>(head), sizeof head);
    } else {
        std::memcpy(head, input.bytes.data(), std::min(input.bytes.size(), sizeof head));
    }
    LoadedImage loaded;
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        DecodedPng png = input.regular ? ReadPng(path) : DecodePng(input.bytes, path);
        loaded.image = std::move(png.image);
        loaded.kind = ImageKind::kPng;
        loaded.bit_depth = png.bit_depth;
    } else if (head[0] == 0x76 && head[1] == 0x2f && head[2] == 0x31 && head[3] == 0x01) {
        loaded.image = input.regular ? ReadExr(path) : DecodeExr(input.bytes, path);
        loaded.kind = ImageKind::kExr;
    } else if (head[0] == '#' && head[1] == '?') {
        loaded.image = input.regular ? ReadRadianceHdr(path) : DecodeRadianceHdr(input.bytes, path);
        loaded.kind = ImageKind::kRadianceHdr;
    } else {
        throw ImageError("cannot read " + path + ": not a PNG, OpenEXR or Radiance HDR image");
    }
    // An infinity or a NaN would spread through every sample that touches it.
    for (float& value : loaded.image.rgba) {
        if (!std::isfinite(value)) {
            value = 0.0f;
            ++loaded.non_finite_values;
        }
    }
    return loaded;
}

bool OutputKindFor(const std::string& path, ImageKind* kind) {
    const std::string extension = LowerExtension(path);
    if (extension == ".png") {
        *kind = ImageKind::kPng;
    } else if (extension == ".exr") {
        *kind = ImageKind::kExr;
    } else {
        return false;
    }
    return true;
}

void WriteImage(const std::string& path, const FloatImage& image, ImageKind kind, int bit_depth,
                const ImageMetadata& metadata) {
    switch (kind) {
        case ImageKind::kPng:
            WritePng(path, image, bit_depth, metadata);
            return;
        case ImageKind::kExr:
            WriteExr(path, image, metadata);
            return;
        case ImageKind::kRadianceHdr:
            WriteRadianceHdr(path, image);
            return;
    }
}

}  // namespace imageio
