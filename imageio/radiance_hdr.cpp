#include "imageio/radiance_hdr.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "imageio/atomic_file.h"
#include "imageio/image_budget.h"
#include "imageio/printable.h"

namespace imageio {

namespace {

// Scan lines of these widths may be run-length encoded; others are always flat.
constexpr int kMinEncodedWidth = 8;
constexpr int kMaxEncodedWidth = 0x7fff;

class ByteReader {
  public:
    ByteReader(const std::vector<uint8_t>& bytes, const std::string& name)
        : bytes_(bytes), name_(name) {}

    [[noreturn]] void Fail(const std::string& why) const {
        throw ImageError("cannot read " + name_ + ": " + why);
    }
    bool AtEnd() const { return at_ >= bytes_.size(); }
    size_t Consumed() const { return at_; }
    size_t Remaining() const { return bytes_.size() - at_; }
    uint8_t Next() {
        if (AtEnd()) Fail("file ends inside the pixel data");
        return bytes_[at_++];
    }
    // A header line without its newline; the header must end before the data does.
    std::string Line() {
        std::string line;
        while (true) {
            if (AtEnd()) Fail("header is not terminated");
            const char c = static_cast<char>(bytes_[at_++]);
            if (c == '\n') return line;
            line += c;
            if (line.size() > 4096) Fail("header line too long");
        }
    }

  private:
    const std::vector<uint8_t>& bytes_;
    std::string name_;
    size_t at_ = 0;
};

struct Layout {
    int width = 0, height = 0;
    bool bottom_up = false;   // "+Y": the first scan line is the bottom row
    bool right_left = false;  // "-X": pixels run from right to left
};

// A header number: digits only, and the value must fit; anything larger reads as -1, which no
// check accepts.
long long ParseSide(const std::string& token) {
    long long value = 0;
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    if (token.empty() || !std::isdigit(static_cast<unsigned char>(token[0])) || stop != end) {
        return -2;
    }
    return error == std::errc() ? value : -1;
}

Layout ParseResolution(const std::string& line, ByteReader& in) {
    std::istringstream words(line);
    std::string y_axis, height_text, x_axis, width_text, tail;
    words >> y_axis >> height_text >> x_axis >> width_text;
    const long long height = ParseSide(height_text);
    const long long width = ParseSide(width_text);
    if (!(words >> tail).fail() || (y_axis != "-Y" && y_axis != "+Y") ||
        (x_axis != "-X" && x_axis != "+X") || height == -2 || width == -2) {
        in.Fail("unsupported resolution line '" + Printable(line) + "'");
    }
    if (height == -1 || width == -1) {
        in.Fail("size " + width_text + " x " + height_text + " is outside the image size accepted");
    }
    if (!WithinImageBudget(width, height)) in.Fail(ImageBudgetFault(width, height));
    // The shortest scan line is one pixel and one repeat of it, or a lone pixel.
    const unsigned long long least_row = width == 1 ? 4 : 8;
    const unsigned long long least_data = least_row * static_cast<unsigned long long>(height);
    if (least_data > in.Remaining()) {
        in.Fail("size " + std::to_string(width) + " x " + std::to_string(height) +
                " needs a file of at least " + std::to_string(in.Consumed() + least_data) +
                " bytes, but it has " + std::to_string(in.Consumed() + in.Remaining()));
    }
    return Layout{static_cast<int>(width), static_cast<int>(height), y_axis[0] == '+',
                  x_axis[0] == '-'};
}

// Reads one scan line of RGBE quadruples in file order.
void ReadScanline(ByteReader& in, int width, std::vector<uint8_t>& line) {
    uint8_t first[4];
    for (uint8_t& b : first) b = in.Next();
    const bool adaptive = width >= kMinEncodedWidth && width <= kMaxEncodedWidth && first[0] == 2 &&
                          first[1] == 2 && (first[2] & 0x80) == 0;
    if (adaptive) {
        if (((first[2] << 8) | first[3]) != width) in.Fail("scan line length mismatch");
        // Four runs, one per component, each a sequence of literal and repeat packets.
        for (int c = 0; c < 4; ++c) {
            int x = 0;
            while (x < width) {
                int count = in.Next();
                if (count > 128) {
                    count -= 128;
                    if (x + count > width) in.Fail("run overflows the scan line");
                    const uint8_t value = in.Next();
                    for (int i = 0; i < count; ++i) line[4 * (x++) + c] = value;
                } else {
                    if (count == 0 || x + count > width) in.Fail("bad run in a scan line");
                    for (int i = 0; i < count; ++i) line[4 * (x++) + c] = in.Next();
                }
            }
        }
        return;
    }
    // Flat pixels, where (1, 1, 1, n) repeats the previous pixel n << shift times.
    int x = 0;
    int shift = 0;
    uint8_t pixel[4] = {first[0], first[1], first[2], first[3]};
    bool have_pixel = true;
    while (x < width) {
        if (!have_pixel) {
            for (uint8_t& b : pixel) b = in.Next();
        }
        have_pixel = false;
        if (pixel[0] == 1 && pixel[1] == 1 && pixel[2] == 1) {
            if (x == 0) in.Fail("repeat marker at the start of a scan line");
            if (shift > 24) in.Fail("bad repeat marker");
            const long long repeat = static_cast<long long>(pixel[3]) << shift;
            if (x + repeat > width) in.Fail("run overflows the scan line");
            for (long long i = 0; i < repeat; ++i, ++x) {
                std::memcpy(&line[4 * x], &line[4 * (x - 1)], 4);
            }
            shift += 8;
        } else {
            std::memcpy(&line[4 * x], pixel, 4);
            ++x;
            shift = 0;
        }
    }
}

// Appends one component of a scan line with run-length packets.
void EncodeComponent(const std::vector<uint8_t>& line, int width, int c,
                     std::vector<uint8_t>& out) {
    int x = 0;
    while (x < width) {
        // A run of at least 3 equal bytes is worth a repeat packet.
        int run = 1;
        while (x + run < width && run < 127 && line[4 * (x + run) + c] == line[4 * x + c]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(128 + run));
            out.push_back(line[4 * x + c]);
            x += run;
            continue;
        }
        // Literal bytes up to the next run of 3.
        int literal = 0;
        while (x + literal < width && literal < 128) {
            const int at = x + literal;
            if (at + 2 < width && line[4 * at + c] == line[4 * (at + 1) + c] &&
                line[4 * at + c] == line[4 * (at + 2) + c]) {
                break;
            }
            ++literal;
        }
        out.push_back(static_cast<uint8_t>(literal));
        for (int i = 0; i < literal; ++i) out.push_back(line[4 * (x + i) + c]);
        x += literal;
    }
}

}  // namespace

void FloatToRgbe(const float rgb[3], uint8_t rgbe[4]) {
    float largest = 0.0f;
    for (int c = 0; c < 3; ++c) {
        if (std::isfinite(rgb[c]) && rgb[c] > largest) largest = rgb[c];
    }
    if (largest < 1e-32f) {
        std::memset(rgbe, 0, 4);
        return;
    }
    int exponent = 0;
    const float scale = std::frexp(largest, &exponent) * 256.0f / largest;
    for (int c = 0; c < 3; ++c) {
        const float v = std::isfinite(rgb[c]) && rgb[c] > 0.0f ? rgb[c] * scale : 0.0f;
        rgbe[c] = static_cast<uint8_t>(v < 255.0f ? v : 255.0f);
    }
    rgbe[3] = static_cast<uint8_t>(exponent + 128);
}

void RgbeToFloat(const uint8_t rgbe[4], float rgb[3]) {
    if (rgbe[3] == 0) {
        rgb[0] = rgb[1] = rgb[2] = 0.0f;
        return;
    }
    const float scale = std::ldexp(1.0f, rgbe[3] - (128 + 8));
    for (int c = 0; c < 3; ++c) rgb[c] = rgbe[c] * scale;
}

FloatImage DecodeRadianceHdr(const std::vector<uint8_t>& bytes, const std::string& name) {
    ByteReader in(bytes, name);
    const std::string magic = in.Line();
    if (magic.rfind("#?", 0) != 0) in.Fail("not a Radiance HDR file");
    double exposure = 1.0;
    while (true) {
        const std::string line = in.Line();
        if (line.empty()) break;
        if (line.rfind("FORMAT=", 0) == 0 && line != "FORMAT=32-bit_rle_rgbe") {
            in.Fail("unsupported " + Printable(line) + " (only 32-bit_rle_rgbe)");
        }
        if (line.rfind("EXPOSURE=", 0) == 0) {
            const double value = std::strtod(line.c_str() + 9, nullptr);
            if (!(value > 0.0) || !std::isfinite(value)) in.Fail("bad " + Printable(line));
            exposure *= value;
        }
    }
    // Each line is checked above; together they may still leave the range of a float.
    if (!(exposure >= 1e-30 && exposure <= 1e30)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", exposure);
        in.Fail(std::string("the EXPOSURE lines multiply to ") + text +
                ", outside the range 1e-30 to 1e30");
    }
    const Layout layout = ParseResolution(in.Line(), in);
    FloatImage image(layout.width, layout.height);
    std::vector<uint8_t> line(static_cast<size_t>(layout.width) * 4);
    // Pixel values were multiplied by the exposure when it was recorded.
    const float unexpose = static_cast<float>(1.0 / exposure);
    for (int row = 0; row < layout.height; ++row) {
        ReadScanline(in, layout.width, line);
        const int y = layout.bottom_up ? layout.height - 1 - row : row;
        for (int i = 0; i < layout.width; ++i) {
            const int x = layout.right_left ? layout.width - 1 - i : i;
            float* out = image.Pixel(x, y);
            RgbeToFloat(&line[4 * static_cast<size_t>(i)], out);
            for (int c = 0; c < 3; ++c) out[c] *= unexpose;
            out[3] = 1.0f;
        }
    }
    return image;
}

FloatImage ReadRadianceHdr(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ImageError("cannot read " + path + ": " + std::strerror(errno));
    const auto too_large = [&] {
        return ImageError("cannot read " + path + ": larger than " +
                          std::to_string(kMaxRadianceFileBytes) +
                          " bytes, more than an image of the accepted size takes");
    };
    // A file's length is known at once; a device or a pipe is read in pieces up to the cap.
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length > static_cast<std::streamoff>(kMaxRadianceFileBytes)) throw too_large();
    file.clear();
    file.seekg(0);
    std::vector<uint8_t> bytes;
    if (length > 0) bytes.reserve(static_cast<size_t>(length));
    char piece[1 << 16];
    while (file.read(piece, sizeof piece) || file.gcount() > 0) {
        const auto count = static_cast<size_t>(file.gcount());
        if (bytes.size() + count > kMaxRadianceFileBytes) throw too_large();
        bytes.insert(bytes.end(), piece, piece + count);
    }
    if (file.bad()) throw ImageError("cannot read " + path + ": read error");
    return DecodeRadianceHdr(bytes, path);
}

void WriteRadianceHdr(const std::string& path, const FloatImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        throw ImageError("cannot write " + path + ": invalid image");
    }
    std::string header = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y " +
                         std::to_string(image.height) + " +X " + std::to_string(image.width) + "\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    std::vector<uint8_t> line(static_cast<size_t>(image.width) * 4);
    const bool encoded = image.width >= kMinEncodedWidth && image.width <= kMaxEncodedWidth;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) FloatToRgbe(image.Pixel(x, y), &line[4 * x]);
        if (encoded) {
            out.insert(out.end(), {2, 2, static_cast<uint8_t>(image.width >> 8),
                                   static_cast<uint8_t>(image.width & 0xff)});
            for (int c = 0; c < 4; ++c) EncodeComponent(line, image.width, c, out);
        } else {
            out.insert(out.end(), line.begin(), line.end());
        }
    }
    AtomicFile file(path);
    if (std::fwrite(out.data(), 1, out.size(), file.stream()) != out.size()) file.Fail(errno);
    file.Commit();
}

}  // namespace imageio
