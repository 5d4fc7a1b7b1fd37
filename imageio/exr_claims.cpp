#include "imageio/exr_claims.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "imageio/float_image.h"
#include "imageio/image_metadata.h"
#include "imageio/input_file.h"
#include "imageio/printable.h"

namespace imageio {

namespace {

// Header attributes are short; a longer one is not an image's.
constexpr uint32_t kMaxAttributeBytes = 1u << 24;
constexpr size_t kMaxNameBytes = 256;
constexpr uint32_t kTiledFlag = 0x200;
constexpr uint32_t kLongNamesFlag = 0x400;

class HeaderReader {
  public:
    HeaderReader(const std::string& path, std::istream& file) : path_(path), file_(file) {
        file_.seekg(0, std::ios::end);
        size_ = static_cast<unsigned long long>(file_.tellg());
        file_.seekg(0);
    }
    [[noreturn]] void Fail(const std::string& why) const {
        throw ImageError("cannot read " + path_ + ": " + why);
    }
    unsigned long long size() const { return size_; }
    unsigned long long Left() { return size_ - static_cast<unsigned long long>(file_.tellg()); }

    void Bytes(void* out, size_t count) {
        if (!file_.read(static_cast<char*>(out), static_cast<std::streamsize>(count))) {
            Fail("damaged OpenEXR header (the file ends inside it)");
        }
    }
    uint32_t U32() {
        uint8_t b[4];
        Bytes(b, 4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // A zero-terminated name; empty at the end of the header.
    std::string Name(size_t longest) {
        std::string name;
        for (char c; file_.get(c) && c != '\0';) {
            name += c;
            if (name.size() > longest) Fail("damaged OpenEXR header (a name is too long)");
        }
        if (!file_) Fail("damaged OpenEXR header (the file ends inside it)");
        return name;
    }
    void Skip(uint32_t count) { file_.seekg(count, std::ios::cur); }

  private:
    std::string path_;
    std::istream& file_;
    unsigned long long size_ = 0;
};

// The library reads a value of a known type by its type, whatever size the attribute gives, so
// a size that disagrees would have it read the rest of the header out of step (and allocate
// on the word of bytes that were never a size). Fixed sizes of the known types; -1: the size
// is the value's own (strings, vectors), -2: checked where the value is read, -3: not taken.
int KnownTypeSize(const std::string& type) {
    struct Known {
        const char* type;
        int size;
    };
    static constexpr Known kKnown[] = {{"int", 4},
                                       {"float", 4},
                                       {"double", 8},
                                       {"compression", 1},
                                       {"lineOrder", 1},
                                       {"envmap", 1},
                                       {"deepImageState", 1},
                                       {"box2i", 16},
                                       {"box2f", 16},
                                       {"v2i", 8},
                                       {"v2f", 8},
                                       {"v2d", 16},
                                       {"v3i", 12},
                                       {"v3f", 12},
                                       {"v3d", 24},
                                       {"m33f", 36},
                                       {"m33d", 72},
                                       {"m44f", 64},
                                       {"m44d", 128},
                                       {"chromaticities", 32},
                                       {"keycode", 28},
                                       {"timecode", 8},
                                       {"rational", 8},
                                       {"tiledesc", 9},
                                       {"string", -1},
                                       {"stringvector", -1},
                                       {"floatvector", -1},
                                       {"chlist", -2},
                                       {"preview", -2},
                                       {"idmanifest", -3}};
    for (const Known& known : kKnown) {
        if (type == known.type) return known.size;
    }
    return -1;  // read as opaque bytes of the given size
}

// Bytes a channel of this pixel type stores per sample: UINT, HALF, FLOAT.
long long SampleBytes(int32_t type) {
    return type == 1 ? 2 : (type == 0 || type == 2 ? 4 : 0);
}

}  // namespace

ExrClaims ReadExrClaims(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
    return ReadExrClaims(file, path);
}

ExrClaims ReadExrClaims(const std::vector<uint8_t>& bytes, const std::string& name) {
    MemoryBuffer buffer(bytes.data(), bytes.size());
    std::istream file(&buffer);
    return ReadExrClaims(file, name);
}

ExrClaims ReadExrClaims(std::istream& file, const std::string& path) {
    HeaderReader in(path, file);
    ExrClaims claims;
    claims.file_bytes = in.size();
    if (in.U32() != 20000630u) in.Fail("not an OpenEXR file");
    const uint32_t version = in.U32();
    claims.tiled = (version & kTiledFlag) != 0;
    const size_t longest_name = (version & kLongNamesFlag) != 0 ? 255 : 31;
    bool have_window = false, have_channels = false;
    while (true) {
        const std::string name = in.Name(longest_name);
        if (name.empty()) break;
        const std::string type = in.Name(longest_name);
        const uint32_t size = in.U32();
        if (size > kMaxAttributeBytes || size > in.Left()) {
            in.Fail("damaged OpenEXR header (attribute " + Printable(name) + " claims " +
                    std::to_string(size) + " bytes)");
        }
        const int known_size = KnownTypeSize(type);
        if ((known_size >= 0 && size != static_cast<uint32_t>(known_size)) || known_size == -3) {
            in.Fail("damaged OpenEXR header (attribute " + Printable(name) + " of type " +
                    Printable(type) + " claims " + std::to_string(size) + " bytes)");
        }
        if (type == "preview") {
            // Width and height, then 4 bytes a pixel: the value must be exactly that long.
            if (size < 8) in.Fail("damaged OpenEXR preview image");
            const unsigned long long width = in.U32(), height = in.U32();
            if (width * height * 4 != size - 8ull) in.Fail("damaged OpenEXR preview image");
            in.Skip(size - 8);
        } else if (name == "dataWindow" && type == "box2i") {
            const long long min_x = in.I32(), min_y = in.I32();
            const long long max_x = in.I32(), max_y = in.I32();
            claims.width = max_x - min_x + 1;
            claims.height = max_y - min_y + 1;
            have_window = true;
        } else if (name == "compression" && type == "compression" && size == 1) {
            uint8_t code = 0;
            in.Bytes(&code, 1);
            claims.compression = code;
        } else if (name == "tiles" && type == "tiledesc" && size == 9) {
            claims.tile_width = in.U32();
            claims.tile_height = in.U32();
            in.Skip(1);
        } else if (type == "chlist") {
            std::vector<char> list(size);
            in.Bytes(list.data(), size);
            // Each channel: name, type, linear flag and 3 reserved bytes, x and y sampling.
            size_t at = 0;
            while (at < list.size() && list[at] != '\0') {
                const void* zero = std::memchr(list.data() + at, '\0', list.size() - at);
                const size_t end =
                    zero == nullptr ? list.size() : static_cast<const char*>(zero) - list.data();
                if (end + 17 > list.size()) in.Fail("damaged OpenEXR channel list");
                int32_t fields[4];
                std::memcpy(fields, list.data() + end + 1, 16);
                const long long x_sampling = fields[2] > 0 ? fields[2] : 1;
                const long long y_sampling = fields[3] > 0 ? fields[3] : 1;
                // Subsampled channels store fewer samples; count them as one in x_sampling *
                // y_sampling pixels, rounded down, so that the claim stays a lower bound.
                if (name == "channels") {
                    claims.pixel_bytes += SampleBytes(fields[0]) * 64 / (x_sampling * y_sampling);
                    ++claims.channels;
                }
                at = end + 17;
            }
            // The list ends in an empty name, and the attribute there.
            if (at + 1 != list.size()) in.Fail("damaged OpenEXR channel list");
            have_channels = have_channels || name == "channels";
        } else {
            if (name == kSceneExrAttribute) claims.scene_bytes = size;
            in.Skip(size);
        }
    }
    claims.pixel_bytes /= 64;
    if (!have_window || !have_channels) in.Fail("damaged OpenEXR header (no data window)");
    return claims;
}

unsigned long long LeastExrFileBytes(const ExrClaims& claims) {
    // Scan lines per chunk by compression: none, RLE, ZIPS 1; ZIP, PXR24 16; PIZ, B44, B44A,
    // DWAA 32; DWAB 256 (and any other, so that the least is not overstated).
    static constexpr int kLinesPerChunk[] = {1, 1, 1, 16, 32, 16, 32, 32, 32, 256};
    const int lines = claims.compression >= 0 && claims.compression < 10
                          ? kLinesPerChunk[claims.compression]
                          : 256;
    unsigned long long chunks = 0;
    unsigned long long chunk_header = 8;  // scan line number and data size
    if (claims.tiled && claims.tile_width > 0 && claims.tile_height > 0) {
        chunks = static_cast<unsigned long long>((claims.width + claims.tile_width - 1) /
                                                 claims.tile_width) *
                 static_cast<unsigned long long>((claims.height + claims.tile_height - 1) /
                                                 claims.tile_height);
        chunk_header = 20;  // four tile coordinates and data size
    } else {
        chunks = static_cast<unsigned long long>((claims.height + lines - 1) / lines);
    }
    // Best ratios: deflate never better than 1032 to 1 (PXR24 first drops a float to 3 bytes),
    // RLE 128 to 2 (taken as 128 to 1, to be safe), B44 32 to 3; PIZ and DWA have no simple bound
    // and are held by the image budget alone.
    const unsigned long long raw = static_cast<unsigned long long>(claims.width) *
                                   static_cast<unsigned long long>(claims.height) *
                                   static_cast<unsigned long long>(claims.pixel_bytes);
    unsigned long long data = 0;
    switch (claims.compression) {
        case 0:
            data = raw;
            break;
        case 1:
            data = raw / 128;
            break;
        case 2:
        case 3:
            data = raw / 1032;
            break;
        case 5:
            data = raw / 1376;
            break;
        case 6:
        case 7:
            data = raw * 3 / 32;
            break;
        default:
            break;
    }
    return chunks * (8 + chunk_header) + data;
}

}  // namespace imageio
