#include "imageio/png_io.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "imageio/atomic_file.h"
#include "imageio/image_budget.h"
#include "imageio/printable.h"

namespace imageio {

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// libpng reports through these instead of printing; the message ends the decode by longjmp.
struct PngErrorSink {
    char message[256] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngErrorSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

class PngReader {
  public:
    PngReader() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink_, OnPngError, OnPngWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() { return png_; }
    png_infop info() { return info_; }
    const char* message() const { return sink_.message; }

  private:
    PngErrorSink sink_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// What the header says, before any pixel is read.
struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int file_bit_depth = 8;  // as stored, 1 to 16
    int channels = 1;        // as stored, 1 to 4
    int bit_depth = 8;       // of the decoded rows: 8 or 16
    bool interlaced = false;
};

// Reads the header and sets the decoder up to give RGBA rows of 8 or 16 bits. Returns false
// with the reader's message on a libpng error. Only plain data lives across setjmp here.
bool ReadHeader(PngReader& reader, FILE* file, PngHeader& header) {
    png_structp png = reader.png();
    png_infop info = reader.info();
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.file_bit_depth = png_get_bit_depth(png, info);
    header.channels = png_get_channels(png, info);
    header.interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    int bit_depth = header.file_bit_depth;
    const int color_type = png_get_color_type(png, info);
    // Palettes, grey levels and missing alpha all become RGBA of 8 or 16 bits.
    png_set_expand(png);
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (!(color_type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_add_alpha(png, bit_depth == 16 ? 0xffff : 0xff, PNG_FILLER_AFTER);
    }
    if (bit_depth < 8) bit_depth = 8;
    if (bit_depth == 16) png_set_swap(png);  // host byte order, so rows read as uint16_t
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header.bit_depth = bit_depth;
    if (png_get_rowbytes(png, info) != static_cast<size_t>(header.width) * 4 * (bit_depth / 8)) {
        png_error(png, "unexpected row layout");
    }
    return true;
}

void RowToFloats(const png_byte* row, int bit_depth, float* out, size_t samples) {
    if (bit_depth == 16) {
        for (size_t i = 0; i < samples; ++i) {
            uint16_t sample;
            std::memcpy(&sample, &row[2 * i], 2);
            out[i] = sample / 65535.0f;
        }
    } else {
        for (size_t i = 0; i < samples; ++i) out[i] = row[i] / 255.0f;
    }
}

// Decodes the rows into `image`, already of the header's size. A plain image goes a row at a
// time; an interlaced one needs all its rows at once, as its passes fill them in turn. Returns
// false with the reader's message on a libpng error.
bool ReadPixels(PngReader& reader, const PngHeader& header, FloatImage& image) {
    png_structp png = reader.png();
    const size_t row_bytes = static_cast<size_t>(header.width) * 4 * (header.bit_depth / 8);
    const size_t samples = static_cast<size_t>(header.width) * 4;
    std::vector<png_byte> pixels(header.interlaced ? row_bytes * header.height : row_bytes);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) return false;
    if (header.interlaced) {
        rows.resize(header.height);
        for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = &pixels[y * row_bytes];
        png_read_image(png, rows.data());
        for (png_uint_32 y = 0; y < header.height; ++y) {
            RowToFloats(rows[y], header.bit_depth, image.Pixel(0, static_cast<int>(y)), samples);
        }
    } else {
        for (png_uint_32 y = 0; y < header.height; ++y) {
            png_read_row(png, pixels.data(), nullptr);
            RowToFloats(pixels.data(), header.bit_depth, image.Pixel(0, static_cast<int>(y)),
                        samples);
        }
    }
    png_read_end(png, nullptr);
    return true;
}

// The fewest bytes of zlib data that can hold the header's pixels: deflate codes a repeat of
// 258 bytes in no fewer than 2 bits, so it never shrinks data more than 1032 times.
unsigned long long LeastCompressedBytes(const PngHeader& header) {
    constexpr unsigned long long kDeflateBestRatio = 1032;
    const unsigned long long bits = static_cast<unsigned long long>(header.width) * header.height *
                                    header.channels * header.file_bit_depth;
    return bits / 8 / kDeflateBestRatio;
}

std::string Encode(FILE* file, const FloatImage& image, int bit_depth,
                   const ImageMetadata& metadata) {
    PngErrorSink sink;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
    if (png == nullptr) return "cannot start the PNG encoder";
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return "cannot start the PNG encoder";
    }
    const size_t samples = static_cast<size_t>(image.width) * 4;
    std::vector<png_byte> row(samples * (bit_depth / 8));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return sink.message;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, bit_depth, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Rendered frames are smooth gradients: the SUB filter alone with a fast zlib level writes
    // them in about half the time of the adaptive default, and the files come out smaller.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 2);
    // Written before the image data, where a reader looking for it stops.
    std::string keyword = kScenePngKeyword, scene = metadata.scene;
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = keyword.data();
    text.text = scene.data();
    text.text_length = scene.size();
    if (!scene.empty()) png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    const double top = bit_depth == 16 ? 65535.0 : 255.0;
    for (int y = 0; y < image.height; ++y) {
        const float* src = image.Pixel(0, y);
        for (size_t i = 0; i < samples; ++i) {
            const double v = src[i] > 0.0f ? (src[i] < 1.0f ? src[i] : 1.0f) : 0.0f;
            const auto sample = static_cast<unsigned>(v * top + 0.5);
            if (bit_depth == 16) {
                row[2 * i] = static_cast<png_byte>(sample >> 8);  // PNG is big-endian
                row[2 * i + 1] = static_cast<png_byte>(sample & 0xff);
            } else {
                row[i] = static_cast<png_byte>(sample);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

// `size`: the file's length where known without a stat (bytes in memory), else -1.
DecodedPng ReadPngFrom(FILE* file, const std::string& path, long long size) {
    png_byte signature[8] = {};
    if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        throw ImageError("cannot read " + path + ": not a PNG file");
    }
    // The size is taken from the first chunk directly, so that the message can give it
    // whatever it is; libpng is then held to the side limit as well.
    png_byte first_chunk[16] = {};
    if (std::fread(first_chunk, 1, 16, file) == 16 &&
        std::memcmp(first_chunk + 4, "IHDR", 4) == 0) {
        CheckClaimedImageSize(path, png_get_uint_32(first_chunk + 8),
                              png_get_uint_32(first_chunk + 12));
    }
    if (std::fseek(file, 8, SEEK_SET) != 0) {
        throw ImageError("cannot read " + path + ": " + std::strerror(errno));
    }
    PngReader reader;
    if (!reader.ok()) throw ImageError("cannot read " + path + ": out of memory");
    png_set_sig_bytes(reader.png(), 8);
    PngHeader header;
    if (!ReadHeader(reader, file, header)) {
        throw ImageError("cannot read " + path + ": damaged PNG (" + Printable(reader.message()) +
                         ")");
    }
    CheckClaimedImageSize(path, header.width, header.height);
    struct stat info {};
    if (size < 0 && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode)) size = info.st_size;
    if (size >= 0) {
        CheckClaimedData(path, header.width, header.height, LeastCompressedBytes(header),
                         static_cast<unsigned long long>(size));
    }
    DecodedPng decoded;
    decoded.bit_depth = header.bit_depth;
    decoded.image = FloatImage(static_cast<int>(header.width), static_cast<int>(header.height));
    if (!ReadPixels(reader, header, decoded.image)) {
        throw ImageError("cannot read " + path + ": damaged PNG (" + Printable(reader.message()) +
                         ")");
    }
    return decoded;
}

}  // namespace

DecodedPng ReadPng(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
    return ReadPngFrom(file.get(), path, -1);
}

DecodedPng DecodePng(const std::vector<uint8_t>& bytes, const std::string& name) {
    // A stream over the bytes, for libpng's reading through a FILE.
    FilePtr file(fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb"));
    if (!file) throw ImageError("cannot read " + name + ": " + std::strerror(errno));
    return ReadPngFrom(file.get(), name, static_cast<long long>(bytes.size()));
}

void WritePng(const std::string& path, const FloatImage& image, int bit_depth,
              const ImageMetadata& metadata) {
    if (image.width <= 0 || image.height <= 0 || (bit_depth != 8 && bit_depth != 16) ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        throw ImageError("cannot write " + path + ": invalid image");
    }
    AtomicFile out(path);
    const std::string error = Encode(out.stream(), image, bit_depth, metadata);
    if (!error.empty()) {
        // libpng says only "Write Error"; the stream's errno says why.
        if (std::ferror(out.stream())) out.Fail(errno);
        throw ImageError("cannot write " + path + ": " + error);
    }
    out.Commit();
}

}  // namespace imageio
