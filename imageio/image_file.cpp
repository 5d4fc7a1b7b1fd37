#include "imageio/image_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "imageio/exr_io.h"
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
    unsigned char head[4] = {};
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
        file.read(reinterpret_cast<char*>(head), sizeof head);
    }
    LoadedImage loaded;
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        DecodedPng png = ReadPng(path);
        loaded.image = std::move(png.image);
        loaded.kind = ImageKind::kPng;
        loaded.bit_depth = png.bit_depth;
    } else if (head[0] == 0x76 && head[1] == 0x2f && head[2] == 0x31 && head[3] == 0x01) {
        loaded.image = ReadExr(path);
        loaded.kind = ImageKind::kExr;
    } else if (head[0] == '#' && head[1] == '?') {
        loaded.image = ReadRadianceHdr(path);
        loaded.kind = ImageKind::kRadianceHdr;
    } else {
        throw ImageError("cannot read " + path + ": not a PNG, OpenEXR or Radiance HDR image");
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
