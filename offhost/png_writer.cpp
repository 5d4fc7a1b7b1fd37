#include "offhost/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};

std::string Encode(FILE* file, int width, int height, int bit_depth,
                   const std::vector<uint16_t>& rgba) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return "cannot start the PNG encoder";
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return "cannot start the PNG encoder";
    }
    const int bytes_per_sample = bit_depth == 16 ? 2 : 1;
    std::vector<png_byte> row(static_cast<size_t>(width) * 4 * bytes_per_sample);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "PNG encoding failed";
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bit_depth, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint16_t* src = &rgba[static_cast<size_t>(y) * width * 4];
        for (size_t i = 0; i < static_cast<size_t>(width) * 4; ++i) {
            if (bytes_per_sample == 2) {
                row[2 * i] = static_cast<png_byte>(src[i] >> 8);  // PNG is big-endian
                row[2 * i + 1] = static_cast<png_byte>(src[i] & 0xff);
            } else {
                row[i] = static_cast<png_byte>(src[i]);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

}  // namespace

std::string WritePng(const std::string& path, int width, int height, int bit_depth,
                     const std::vector<uint16_t>& rgba) {
    if (width <= 0 || height <= 0 || (bit_depth != 8 && bit_depth != 16) ||
        rgba.size() != static_cast<size_t>(width) * height * 4) {
        return "invalid image for " + path;
    }
    const std::string temp = path + ".partial";
    std::string error;
    {
        std::unique_ptr<FILE, FileCloser> file(std::fopen(temp.c_str(), "wb"));
        if (!file) return "cannot write " + path + ": " + std::strerror(errno);
        error = Encode(file.get(), width, height, bit_depth, rgba);
        if (error.empty() && std::fflush(file.get()) != 0) {
            error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        }
    }
    if (error.empty() && std::rename(temp.c_str(), path.c_str()) != 0) {
        error = std::string("cannot write ") + path + ": " + std::strerror(errno);
    }
    if (!error.empty()) std::remove(temp.c_str());
    return error;
}
