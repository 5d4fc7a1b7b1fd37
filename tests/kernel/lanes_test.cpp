// Every lane width computes each estimate and each pixel exactly as the one-lane core does: the
// same bits for the distance and the orbit trap, whatever the neighbouring lanes do (lanes that
// bail out at different rounds, non-integer powers that stay scalar, lanes in and out of shadow).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "kernel/cpu/cpu_lanes.h"
#include "tests/kernel/render_test_support.h"

// For the test names' parameter notes.
void PrintTo(CpuRowPath path, std::ostream* out) {
    *out << LanesOf(path) << " lanes";
}

namespace {

struct Variant {
    const char* label;
    RenderSettings s;
};

std::vector<Variant> Variants() {
    std::vector<Variant> variants;
    const RenderSettings base = DefaultSettings();
    variants.push_back({"power 8", base});
    for (float power : {2.0f, 3.0f, -3.0f, 3.5f, 7.25f}) {
        RenderSettings s = base;
        s.power = power;
        s.max_iterations = 9;
        variants.push_back({"other power", s});
    }
    RenderSettings s = base;
    s.julia_mode = 1;
    s.julia_c[0] = 0.35f;
    s.julia_c[1] = -0.2f;
    s.julia_c[2] = 0.1f;
    variants.push_back({"julia", s});
    s = base;
    s.phase_x = 0.4f;
    s.phase_y = -0.25f;
    variants.push_back({"phases", s});
    s = base;
    s.radiolaria = 1;
    s.radiolaria_factor = 0.3f;
    variants.push_back({"radiolaria", s});
    s = base;
    s.bailout = 1.3f;  // many points sit right at the bailout radius
    variants.push_back({"low bailout", s});
    return variants;
}

// A grid through the set, its surface and the space around it, including the origin.
void GridPoints(std::vector<float>* x, std::vector<float>* y, std::vector<float>* z) {
    for (float a = -1.4f; a <= 1.41f; a += 0.2f) {
        for (float b = -1.3f; b <= 1.31f; b += 0.26f) {
            for (float c = -1.2f; c <= 1.21f; c += 0.3f) {
                x->push_back(a), y->push_back(b), z->push_back(c);
            }
        }
    }
    x->push_back(0.0f), y->push_back(0.0f), z->push_back(0.0f);
    x->push_back(1.29f), y->push_back(0.0f), z->push_back(0.0f);
}

// Bit for bit, except that a NaN may carry either sign (the origin under a negative power):
// every comparison the march makes treats the two alike.
bool SameBits(float a, float b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// One test per lane width; a width the processor lacks is reported as skipped, by name.
class LaneWidth : public ::testing::TestWithParam<CpuRowPath> {
  protected:
    void SetUp() override {
        if (LanesOf(GetParam()) > LanesOf(WidestCpuRowPath())) {
            GTEST_SKIP() << LanesOf(GetParam()) << " lanes: the processor lacks the instructions";
        }
    }
};
using PacketWidth = LaneWidth;

std::string WidthName(const ::testing::TestParamInfo<CpuRowPath>& info) {
    return std::to_string(LanesOf(info.param)) + "_lanes";
}

TEST_P(LaneWidth, EqualsTheScalarEstimateBitForBit) {
    std::vector<float> x, y, z;
    GridPoints(&x, &y, &z);
    const int count = static_cast<int>(x.size());
    for (const Variant& v : Variants()) {
        std::vector<float> distance(count), trap(count);
        for (int i = 0; i < count; ++i) trap[i] = i % 3 == 0 ? 0.05f : 4.0f;
        EstimateSpanFor(GetParam())(&v.s, x.data(), y.data(), z.data(), count, distance.data(),
                                    trap.data());
        int mismatches = 0;
        for (int i = 0; i < count; ++i) {
            float scalar_trap = i % 3 == 0 ? 0.05f : 4.0f;
            const float d = EstimateDistance(V(x[i], y[i], z[i]), &scalar_trap, &v.s);
            mismatches += !SameBits(d, distance[i]) || !SameBits(scalar_trap, trap[i]);
        }
        EXPECT_EQ(mismatches, 0) << v.label << ", power " << v.s.power;
    }
}

std::vector<PixelF> RenderRows(const RenderSettings& s, CpuRowPath path) {
    const int w = s.output_width;
    std::vector<PixelF> frame(static_cast<size_t>(w) * s.output_height);
    const CpuFrame cpu_frame = MakeCpuFrame(&s);
    ForEachRow(s.output_height, 0, [&](int y) {
        RowSpanFor(path)(&cpu_frame, y, 0, w, nullptr, &frame[static_cast<size_t>(y) * w]);
    });
    return frame;
}

// Packets shade each lane's hit with that lane's own inputs: at a size where the point light's
// shadow and the raytraced occlusion have edges inside packets, every pixel is the one-lane
// pixel, bit for bit, and packets whose lanes are partly in shadow are many.
TEST_P(PacketWidth, RowsEqualOneLaneRowsAcrossShadowAndOcclusionEdges) {
    RenderSettings s = DefaultSettings(241, 135);
    s.ao_type = kAoTypeRaytraced;
    const std::vector<PixelF> one_lane = RenderRows(s, CpuRowPath::kLanes1);
    const std::vector<PixelF> packets = RenderRows(s, GetParam());
    RenderSettings unshadowed = s;
    unshadowed.shadow_intensity = 0.0f;
    const std::vector<PixelF> lit = RenderRows(unshadowed, CpuRowPath::kLanes1);
    const int lanes = LanesOf(GetParam());
    int differing = 0, mixed_packets = 0;
    for (size_t row = 0; row < one_lane.size(); row += s.output_width) {
        for (int x0 = 0; x0 < s.output_width; x0 += lanes) {
            int shadowed = 0, in_light = 0;
            for (int x = x0; x < std::min(x0 + lanes, s.output_width); ++x) {
                const PixelF& a = one_lane[row + x];
                differing += std::memcmp(&a, &packets[row + x], sizeof a) != 0;
                if (a.alpha > 0.0f) {
                    (a.red != lit[row + x].red ? shadowed : in_light) += 1;
                }
            }
            mixed_packets += shadowed > 0 && in_light > 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GE(mixed_packets, 20);
}

INSTANTIATE_TEST_SUITE_P(Widths, LaneWidth,
                         ::testing::Values(CpuRowPath::kLanes1, CpuRowPath::kLanes4,
                                           CpuRowPath::kLanes8, CpuRowPath::kLanes16),
                         WidthName);
INSTANTIATE_TEST_SUITE_P(Widths, PacketWidth,
                         ::testing::Values(CpuRowPath::kLanes4, CpuRowPath::kLanes8,
                                           CpuRowPath::kLanes16),
                         WidthName);

TEST(Lanes, WidthFromTheEnvironmentIsBoundedByTheProcessor) {
    const CpuRowPath widest = WidestCpuRowPath();
    setenv("SPIROVAULT_CPU_LANES", "trig", 1);
    EXPECT_EQ(CpuRowPath::kTrigStep, ChooseCpuRowPath());
    setenv("SPIROVAULT_CPU_LANES", "1", 1);
    EXPECT_EQ(CpuRowPath::kLanes1, ChooseCpuRowPath());
    setenv("SPIROVAULT_CPU_LANES", "16", 1);
    EXPECT_EQ(LanesOf(widest) >= 16 ? CpuRowPath::kLanes16 : widest, ChooseCpuRowPath());
    setenv("SPIROVAULT_CPU_LANES", "seven", 1);
    EXPECT_EQ(widest, ChooseCpuRowPath());
    unsetenv("SPIROVAULT_CPU_LANES");
    EXPECT_EQ(widest, ChooseCpuRowPath());
}

}  // namespace
