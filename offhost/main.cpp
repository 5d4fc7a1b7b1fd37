// spirovault-offhost-render: renders the default view without a host, to a PNG.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "offhost/frame_renderer.h"
#include "offhost/png_writer.h"

namespace {

struct Options {
    std::string output = "spirovault.png";
    int width = 480;
    int height = 270;
    int depth = 8;
    int threads = 0;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "spirovault-offhost-render: %s\n", message.c_str());
    std::exit(2);
}

int ParsePositive(const char* text, const char* what) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0 || value > 32767) {
        Fail(std::string("invalid ") + what + " '" + text + "'");
    }
    return static_cast<int>(value);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> const char* {
            if (i + 1 >= argc) Fail("missing value after " + arg);
            return argv[++i];
        };
        if (arg == "-o" || arg == "--output") {
            o.output = next();
        } else if (arg == "--size") {
            const std::string size = next();
            const size_t x = size.find('x');
            if (x == std::string::npos) Fail("invalid size '" + size + "' (expected WxH)");
            o.width = ParsePositive(size.substr(0, x).c_str(), "width");
            o.height = ParsePositive(size.substr(x + 1).c_str(), "height");
        } else if (arg == "--depth") {
            o.depth = ParsePositive(next(), "depth");
            if (o.depth != 8 && o.depth != 16 && o.depth != 32) Fail("depth must be 8, 16 or 32");
        } else if (arg == "--threads") {
            o.threads = ParsePositive(next(), "thread count");
        } else if (arg == "-h" || arg == "--help") {
            std::printf(
                "usage: spirovault-offhost-render [-o PNG] [--size WxH] [--depth 8|16|32] "
                "[--threads N]\n");
            std::exit(0);
        } else {
            Fail("unknown option '" + arg + "'");
        }
    }
    return o;
}

// Straight RGBA samples for the PNG: 8-bit as is, 16-bit and float rescaled to 16 bits.
template <typename Pixel, typename ToSample>
std::vector<uint16_t> ToRgba(const std::vector<Pixel>& frame, ToSample to_sample) {
    std::vector<uint16_t> rgba;
    rgba.reserve(frame.size() * 4);
    for (const Pixel& p : frame) {
        for (auto channel : {p.red, p.green, p.blue, p.alpha}) rgba.push_back(to_sample(channel));
    }
    return rgba;
}

uint16_t To16(double unit) {
    const double clamped = unit < 0 ? 0 : (unit > 1 ? 1 : unit);
    return static_cast<uint16_t>(clamped * 65535.0 + 0.5);
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    const RenderSettings settings = MakeDefaultRenderSettings(o.width, o.height);
    const auto start = std::chrono::steady_clock::now();
    std::vector<uint16_t> rgba;
    int bits = 16;
    if (o.depth == 8) {
        bits = 8;
        rgba = ToRgba(RenderFrame8(settings, o.threads), [](A_u_char c) { return uint16_t{c}; });
    } else if (o.depth == 16) {
        rgba = ToRgba(RenderFrame16(settings, o.threads),
                      [](A_u_short c) { return To16(c / 32768.0); });
    } else {
        rgba = ToRgba(RenderFrameFloat(settings, o.threads), [](float c) { return To16(c); });
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string error = WritePng(o.output, o.width, o.height, bits, rgba);
    if (!error.empty()) Fail(error);
    std::printf("wrote %s (%dx%d, %d-bit) in %.2f s\n", o.output.c_str(), o.width, o.height,
                o.depth, seconds);
    return 0;
}
