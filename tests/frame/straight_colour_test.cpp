// The host's worlds hold straight colour: "Composite On Original" puts the fractal over a
// semi-transparent layer exactly as the over operation of straight colours says, in After
// Effects' smart render and in Premiere Pro's render alike.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 28, kH = 16;

// Straight colour: bright red-blue at alpha falling from 0.9 to 0.1 across.
HostImage TranslucentLayer() {
    HostImage image;
    image.width = kW;
    image.height = kH;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const float alpha = 0.9f - 0.8f * x / (kW - 1);
            image.argb.insert(image.argb.end(), {alpha, 0.9f, 0.2f + 0.5f * y / kH, 0.7f});
        }
    }
    return image;
}

// The fractal alone (straight colour F, alpha a) over the layer (straight colour L, alpha b).
HostImage Over(const HostImage& fractal, const HostImage& layer) {
    HostImage out = fractal;
    for (size_t p = 0; p < out.argb.size(); p += 4) {
        const float a = fractal.argb[p];
        const float b = layer.argb[p];
        const float alpha = a + (1.0f - a) * b;
        out.argb[p] = alpha;
        for (size_t c = 1; c < 4; ++c) {
            const float sum = fractal.argb[p + c] * a + layer.argb[p + c] * b * (1.0f - a);
            out.argb[p + c] = alpha > 0 ? sum / alpha : 0.0f;
        }
    }
    return out;
}

double WorstDifference(const HostImage& a, const HostImage& b) {
    double worst = 0;
    for (size_t i = 0; i < a.argb.size(); ++i) {
        worst = std::max(worst, static_cast<double>(std::fabs(a.argb[i] - b.argb[i])));
    }
    return worst;
}

class StraightColour : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        host().services().composition().width = kW;
        host().services().composition().height = kH;
    }

    static HostImage Render(EffectHost& h, const HostImage* input) {
        FrameRequest request = Request(kW, kH, WorldDepth::k32);
        request.input = input;
        const FrameResult result = h.RenderFrame(request);
        EXPECT_EQ(result.err, PF_Err_NONE) << result.return_msg;
        return result.output;
    }

    // Renders the fractal alone and over the layer in one host, and checks the composite.
    void ExpectOverComposite(EffectHost& h, double tolerance, const char* which) {
        const HostImage layer = TranslucentLayer();
        h.services().params().SetValue(kParamCompositeOnOriginal, 0);
        const HostImage fractal = Render(h, nullptr);
        h.services().params().SetValue(kParamCompositeOnOriginal, 1);
        const HostImage composite = Render(h, &layer);
        int partly_covered = 0;
        for (size_t p = 0; p < fractal.argb.size(); p += 4) {
            partly_covered += fractal.argb[p] > 0.05f && fractal.argb[p] < 0.95f;
        }
        EXPECT_GT(partly_covered, 0) << which << ": no edge pixel to show the blend";
        EXPECT_LT(WorstDifference(composite, Over(fractal, layer)), tolerance) << which;
    }
};

TEST_F(StraightColour, CompositeOnOriginalIsTheOverOfStraightColours) {
    params().SetValue(kParamSupersampling, 2);  // partly covered pixels along the edges
    ExpectOverComposite(host(), 1e-5, "After Effects");

    EffectHost premiere(SPIROVAULT_PLUGIN_PATH);
    premiere.set_appl_id(kAppIdPremierePro);
    premiere.services().composition().width = kW;
    premiere.services().composition().height = kH;
    ASSERT_EQ(premiere.GlobalSetup().err, PF_Err_NONE);
    ASSERT_EQ(premiere.ParamsSetup().err, PF_Err_NONE);
    premiere.services().params().SetValue(kParamSupersampling, 2);
    // Premiere's frames go through YUV and back.
    ExpectOverComposite(premiere, 1e-4, "Premiere Pro");
    EXPECT_TRUE(premiere.Audit().clean());
}

}  // namespace
