// Frames through the plug-in on the host's generic iterate: every lane width, any thread count
// and the per-pixel route of hosts without the generic iterate give the same bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/pf_iterate_suites.h"
#include "hostsim/suites/standalone_suites.h"
#include "kernel/cpu/cpu_lanes.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 29, kH = 13;  // a width that leaves part-filled packets at the row's end

class PacketFrame : public FrameTest {
  protected:
    void TearDown() override {
        unsetenv("SPIROVAULT_CPU_LANES");
        FrameTest::TearDown();
    }

    FrameResult RenderWith(const char* lanes, int threads, WorldDepth depth = WorldDepth::k8,
                           const HostImage* input = nullptr) {
        if (lanes != nullptr) {
            setenv("SPIROVAULT_CPU_LANES", lanes, 1);
        } else {
            unsetenv("SPIROVAULT_CPU_LANES");
        }
        FrameRequest request = Request(kW, kH, depth);
        request.threads = threads;
        request.input = input;
        FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        return result;
    }

    // The widths this processor runs, as the environment names them.
    static std::vector<std::string> Widths() {
        std::vector<std::string> widths;
        for (int lanes : {1, 4, 8, 16}) {
            if (lanes <= LanesOf(WidestCpuRowPath())) widths.push_back(std::to_string(lanes));
        }
        return widths;
    }
};

// Samples that march and shade several times per pixel, a lens, a non-integer power in one pass.
TEST_F(PacketFrame, EveryWidthAndThreadCountGivesTheSameBytes) {
    params().SetValue(kParamAoType, 2);
    params().SetValue(kParamLightSize, 3);
    params().SetValue(kParamSupersampling, 2);
    for (double power : {8.0, 5.5}) {
        params().SetValue(kParamPower, power);
        const FrameResult reference = RenderWith("1", 1);
        for (const std::string& width : Widths()) {
            for (int threads : {1, 3, 0}) {
                EXPECT_EQ(reference.raw, RenderWith(width.c_str(), threads).raw)
                    << width << " lanes on " << threads << " threads, power " << power;
            }
        }
    }
}

TEST_F(PacketFrame, HostWithoutGenericIterateGetsTheSameFramePixelByPixel) {
    HostImage input = SolidImage(kW - 7, kH - 3, 1, 0.2f, 0.5f, 0.7f);  // smaller than the output
    params().SetValue(kParamCompositeOnOriginal, 1);
    for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
        suites().Provide(kPFIterate8Suite, 2, StandaloneIterate8Suite());
        const FrameResult packets = RenderWith(nullptr, 0, depth, &input);
        suites().Provide(kPFIterate8Suite, 2, StandaloneIterate8SuiteWithoutGeneric());
        const int float_iterates = suites().CountsFor(kPFIterateFloatSuite, 2).acquires;
        const FrameResult pixels = RenderWith(nullptr, 0, depth, &input);
        EXPECT_EQ(packets.raw, pixels.raw) << static_cast<int>(depth);
        // The float frame really went pixel by pixel through its own suite.
        if (depth == WorldDepth::k32) {
            EXPECT_EQ(float_iterates + 1, suites().CountsFor(kPFIterateFloatSuite, 2).acquires);
        }
    }
}

TEST_F(PacketFrame, TrigonometricStepStaysSelectableAndClose) {
    const FrameResult now = RenderWith(nullptr, 0);
    const FrameResult trig = RenderWith("trig", 0);
    ASSERT_EQ(now.raw.size(), trig.raw.size());
    int differing = 0, worst = 0;
    for (size_t i = 0; i < now.raw.size(); ++i) {
        const int d = std::abs(now.raw[i] - trig.raw[i]);
        differing += d != 0;
        worst = std::max(worst, d);
    }
    EXPECT_LE(worst, 8);
    EXPECT_LE(differing, static_cast<int>(now.raw.size() / 100));
}

}  // namespace
