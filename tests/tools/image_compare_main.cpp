// spirovault-image-compare A B [MIN_SHARE [MAX_MEAN]]: compares two renders of the same frame
// (PNG, OpenEXR or Radiance HDR): the share of pixels whose four channels all lie within two
// 8-bit steps, and the mean absolute channel difference. Exits 1 when the share is below
// MIN_SHARE (default 0.97) or the mean above MAX_MEAN (default 0.004), 2 on bad input.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "imageio/image_file.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: spirovault-image-compare A B [MIN_SHARE [MAX_MEAN]]\n");
        return 2;
    }
    const double min_share = argc > 3 ? std::atof(argv[3]) : 0.97;
    const double max_mean = argc > 4 ? std::atof(argv[4]) : 0.004;
    try {
        const imageio::FloatImage a = imageio::ReadImage(argv[1]).image;
        const imageio::FloatImage b = imageio::ReadImage(argv[2]).image;
        if (a.width != b.width || a.height != b.height || a.rgba.empty()) {
            std::fprintf(stderr, "spirovault-image-compare: the images differ in size\n");
            return 2;
        }
        size_t within = 0;
        double total = 0;
        for (size_t p = 0; p < a.rgba.size(); p += 4) {
            float worst = 0;
            for (size_t c = p; c < p + 4; ++c) {
                const float d = std::fabs(a.rgba[c] - b.rgba[c]);
                worst = std::max(worst, d);
                total += d;
            }
            within += worst <= 2.0f / 255.0f;
        }
        const double share = static_cast<double>(within) / (a.rgba.size() / 4);
        const double mean = total / a.rgba.size();
        const bool agree = share >= min_share && mean <= max_mean;
        std::printf("pixels within 2/255: %5.1f %%, mean channel error %.2e: %s\n", 100 * share,
                    mean, agree ? "agree" : "DIFFER");
        return agree ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "spirovault-image-compare: %s\n", e.what());
        return 2;
    }
}
