// Every lane width computes each estimate exactly as the one-lane core does: the same bits for
// the distance and the orbit trap, whatever the neighbouring lanes do (lanes that bail out at
// different rounds, non-integer powers that stay scalar).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "kernel/cpu/cpu_lanes.h"
#include "tests/kernel/render_test_support.h"

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

const CpuRowPath kPaths[] = {CpuRowPath::kLanes1, CpuRowPath::kLanes4, CpuRowPath::kLanes8,
                             CpuRowPath::kLanes16};

TEST(Lanes, EveryWidthEqualsTheScalarEstimateBitForBit) {
    std::vector<float> x, y, z;
    GridPoints(&x, &y, &z);
    const int count = static_cast<int>(x.size());
    int widths_run = 0;
    for (CpuRowPath path : kPaths) {
        if (LanesOf(path) > LanesOf(WidestCpuRowPath())) {
            std::printf("%d lanes: not run, the processor lacks the instructions\n", LanesOf(path));
            continue;
        }
        widths_run += 1;
        for (const Variant& v : Variants()) {
            std::vector<float> distance(count), trap(count);
            for (int i = 0; i < count; ++i) trap[i] = i % 3 == 0 ? 0.05f : 4.0f;
            EstimateSpanFor(path)(&v.s, x.data(), y.data(), z.data(), count, distance.data(),
                                  trap.data());
            int mismatches = 0;
            for (int i = 0; i < count; ++i) {
                float scalar_trap = i % 3 == 0 ? 0.05f : 4.0f;
                const float d = EstimateDistance(V(x[i], y[i], z[i]), &scalar_trap, &v.s);
                mismatches += !SameBits(d, distance[i]) || !SameBits(scalar_trap, trap[i]);
            }
            EXPECT_EQ(mismatches, 0)
                << LanesOf(path) << " lanes, " << v.label << ", power " << v.s.power;
        }
    }
    EXPECT_GE(widths_run, 2);  // one lane and SSE2 at the least on x86-64
}

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
