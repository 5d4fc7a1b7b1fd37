// Compares two renders of one frame and fails when they agree less than required:
//   spirovault-image-agreement A.png B.png TOLERANCE MIN_SHARE MAX_MEAN
// e.g. 2 0.99 0.5: at least 99% of pixels within 2/255 and a mean error of at most 0.5/255.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tests/windows/image_agreement.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s A.png B.png TOLERANCE MIN_SHARE MAX_MEAN\n", argv[0]);
        return 2;
    }
    try {
        const int tolerance = std::atoi(argv[3]);
        const double min_share = std::atof(argv[4]);
        const double max_mean = std::atof(argv[5]);
        const Image8 a = ReadImage(argv[1]);
        const ImageAgreement agreement = CompareImages(a, ReadImage(argv[2]), tolerance);
        std::printf("%dx%d: %.2f%% of pixels within %d/255, mean error %.3f/255, largest %d/255\n",
                    a.width, a.height, 100 * agreement.share_within, tolerance,
                    agreement.mean_error, agreement.max_error);
        const bool agrees = agreement.share_within >= min_share && agreement.mean_error <= max_mean;
        if (!agrees) {
            std::printf("disagree: required %.2f%% within and a mean error of at most %.3f\n",
                        100 * min_share, max_mean);
        }
        return agrees ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
}
