// PNG files through the header-only stb coders, for builds without libpng (Windows). Reading
// takes any PNG to RGBA of 8 or 16 bits; writing packs rows into zlib data (stb's deflate) and
// frames them as a PNG itself, since stb's own PNG writer knows 8 bits only.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "imageio/atomic_file.h"
#include "imageio/image_budget.h"
#include "imageio/png_io.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO_WARNINGS
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace imageio {

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[5], const uint8_t* data, size_t size) {
    PutU32(out, static_cast<uint32_t>(size));
    const size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) out.insert(out.end(), data, data + size);
    PutU32(out, Crc32(&out[type_at], size + 4) ^ 0xFFFFFFFFu);
}

// The whole file: signature, header, one data chunk, end.
std::vector<uint8_t> Encode(const FloatImage& image, int bit_depth) {
    const size_t samples = static_cast<size_t>(image.width) * 4;
    const size_t row_bytes = 1 + samples * (bit_depth / 8);
    std::vector<uint8_t> raw(row_bytes * image.height);
    const double top = bit_depth == 16 ? 65535.0 : 255.0;
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = &raw[row_bytes * y];
        row[0] = 1;  // SUB: each byte less the same channel's byte one pixel to the left
        const float* src = image.Pixel(0, y);
        for (size_t i = 0; i < samples; ++i) {
            const double v = src[i] > 0.0f ? (src[i] < 1.0f ? src[i] : 1.0f) : 0.0f;
            const auto sample = static_cast<unsigned>(v * top + 0.5);
            if (bit_depth == 16) {
                row[1 + 2 * i] = static_cast<uint8_t>(sample >> 8);  // PNG is big-endian
                row[2 + 2 * i] = static_cast<uint8_t>(sample & 0xff);
            } else {
                row[1 + i] = static_cast<uint8_t>(sample);
            }
        }
        const size_t pixel_bytes = 4 * static_cast<size_t>(bit_depth / 8);
        for (size_t i = row_bytes - 1; i > pixel_bytes; --i) {
            row[i] = static_cast<uint8_t>(row[i] - row[i - pixel_bytes]);
        }
    }
    int compressed_size = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> compressed(
        stbi_zlib_compress(raw.data(), static_cast<int>(raw.size()), &compressed_size, 8),
        std::free);  // stb allocates with malloc
    if (compressed == nullptr) throw std::bad_alloc();

    std::vector<uint8_t> file(kSignature, kSignature + 8);
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(image.width));
    PutU32(header, static_cast<uint32_t>(image.height));
    // Bit depth, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {static_cast<uint8_t>(bit_depth), 6, 0, 0, 0});
    PutChunk(file, "IHDR", header.data(), header.size());
    PutChunk(file, "IDAT", compressed.get(), static_cast<size_t>(compressed_size));
    PutChunk(file, "IEND", nullptr, 0);
    return file;
}

}  // namespace

DecodedPng ReadPng(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
    uint8_t signature[8] = {};
    if (std::fread(signature, 1, 8, file.get()) != 8 ||
        std::memcmp(signature, kSignature, 8) != 0) {
        throw ImageError("cannot read " + path + ": not a PNG file");
    }
    std::rewind(file.get());
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_file(file.get(), &width, &height, &channels) == 0) {
        throw ImageError("cannot read " + path + ": damaged PNG (" + stbi_failure_reason() + ")");
    }
    CheckClaimedImageSize(path, width, height);
    // Deflate shrinks data at most 1032 times; stb decodes the whole file at once.
    const bool sixteen_bits = stbi_is_16_bit_from_file(file.get()) != 0;
    const unsigned long long least =
        static_cast<unsigned long long>(width) * height * channels * (sixteen_bits ? 2 : 1) / 1032;
    std::fseek(file.get(), 0, SEEK_END);
    const long file_bytes = std::ftell(file.get());
    std::rewind(file.get());
    if (file_bytes >= 0) {
        CheckClaimedData(path, width, height, least, static_cast<unsigned long long>(file_bytes));
    }
    const bool sixteen = stbi_is_16_bit_from_file(file.get()) != 0;
    DecodedPng decoded;
    decoded.bit_depth = sixteen ? 16 : 8;
    void* pixels =
        sixteen
            ? static_cast<void*>(stbi_load_from_file_16(file.get(), &width, &height, &channels, 4))
            : static_cast<void*>(stbi_load_from_file(file.get(), &width, &height, &channels, 4));
    if (pixels == nullptr) {
        throw ImageError("cannot read " + path + ": damaged PNG (" + stbi_failure_reason() + ")");
    }
    std::unique_ptr<void, void (*)(void*)> owned(pixels, stbi_image_free);
    decoded.image = FloatImage(width, height);
    std::vector<float>& out = decoded.image.rgba;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = sixteen ? static_cast<const uint16_t*>(pixels)[i] / 65535.0f
                         : static_cast<const uint8_t*>(pixels)[i] / 255.0f;
    }
    return decoded;
}

DecodedPng DecodePng(const std::vector<uint8_t>&, const std::string& name) {
    return ReadPng(name);  // inputs are always read by name there
}

void WritePng(const std::string& path, const FloatImage& image, int bit_depth,
              const ImageMetadata& metadata) {
    if (image.width <= 0 || image.height <= 0 || (bit_depth != 8 && bit_depth != 16) ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        throw ImageError("cannot write " + path + ": invalid image");
    }
    std::vector<uint8_t> bytes = Encode(image, bit_depth);
    if (!metadata.scene.empty()) {
        // After the signature and the header chunk, before the image data.
        constexpr size_t kAfterHeader = 8 + 25;
        const std::vector<uint8_t> chunk = PngTextChunk(kScenePngKeyword, metadata.scene);
        bytes.insert(bytes.begin() + kAfterHeader, chunk.begin(), chunk.end());
    }
    AtomicFile out(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), out.stream()) != bytes.size()) out.Fail(errno);
    out.Commit();
}

}  // namespace imageio
