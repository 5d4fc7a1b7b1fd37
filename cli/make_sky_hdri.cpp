// spirovault-make-sky: writes a small equirectangular sky as a Radiance HDR file, to light
// the examples: a blue zenith fading to a pale horizon, a warm sun, a dark ground. The top row
// is straight up; the azimuth runs across the width.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imageio/float_image.h"
#include "imageio/radiance_hdr.h"

namespace cli {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSunPeak = 2.0;
constexpr double kSunWidth = 0.3;  // radians

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Radiance seen along elevation `el` and azimuth `az` (radians).
Rgb Sky(double el, double az) {
    const Rgb zenith{0.18, 0.35, 0.85}, horizon{1.1, 1.05, 1.0}, ground{0.16, 0.13, 0.1};
    Rgb c = el >= 0 ? Mix(horizon, zenith, std::pow(std::sin(el), 0.6))
                    : Mix(Rgb{0.3, 0.27, 0.24}, ground, std::min(1.0, -el * 4));
    // The sun: 40 degrees up, towards -x -y, with a soft glow around it.
    const double sun_el = 40 * kPi / 180, sun_az = -135 * kPi / 180;
    const double cos_angle =
        std::sin(el) * std::sin(sun_el) + std::cos(el) * std::cos(sun_el) * std::cos(az - sun_az);
    const double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, cos_angle)));
    // Broad and soft rather than a tiny bright disk: a few environment samples per pixel
    // then agree, and the object renders without sparkle.
    const double disk = kSunPeak * std::exp(-angle * angle / (2 * kSunWidth * kSunWidth));
    const double glow = 0.8 * std::exp(-angle * angle / 0.3);
    return {c.r + disk * 1.0 + glow * 1.0, c.g + disk * 0.9 + glow * 0.85,
            c.b + disk * 0.75 + glow * 0.6};
}

constexpr const char* kUsage =
    "usage: spirovault-make-sky OUT.hdr [WIDTH HEIGHT]\n\n"
    "Writes an equirectangular sky (64 x 32 unless a size is given) as a Radiance HDR file:\n"
    "a blue zenith fading to a pale horizon, a soft sun, a dark ground.\n";

// A side 1 to kMaxImageSide, or 0.
int Side(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= 1 && value <= imageio::kMaxImageSide
               ? static_cast<int>(value)
               : 0;
}

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(cli::kUsage, stdout);
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "spirovault-make-sky: unknown option \"%s\" (see --help)\n",
                         arg.c_str());
            return 2;
        }
    }
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "spirovault-make-sky: expected OUT.hdr [WIDTH HEIGHT] (see --help)\n");
        return 2;
    }
    const int width = argc == 4 ? cli::Side(argv[2]) : 64;
    const int height = argc == 4 ? cli::Side(argv[3]) : 32;
    if (width == 0 || height == 0) {
        std::fprintf(stderr, "spirovault-make-sky: WIDTH and HEIGHT must be 1 to %d\n",
                     imageio::kMaxImageSide);
        return 2;
    }
    imageio::FloatImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double el = (0.5 - (y + 0.5) / height) * cli::kPi;
            const double az = (x + 0.5) / width * 2 * cli::kPi - cli::kPi;
            const cli::Rgb c = cli::Sky(el, az);
            float* p = image.Pixel(x, y);
            p[0] = static_cast<float>(c.r);
            p[1] = static_cast<float>(c.g);
            p[2] = static_cast<float>(c.b);
            p[3] = 1.0f;
        }
    }
    try {
        imageio::WriteRadianceHdr(argv[1], image);
    } catch (const imageio::ImageError& e) {
        std::fprintf(stderr, "spirovault-make-sky: %s\n", e.what());
        return 1;
    }
    return 0;
}
