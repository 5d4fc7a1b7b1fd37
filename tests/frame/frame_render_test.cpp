// Whole frames through the plug-in: the result does not depend on the host's thread pool, and the
// three depths render the same picture.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 32, kH = 20;

class FrameRender : public FrameTest {
  protected:
    // Raytraced occlusion, soft shadows and supersampling: the paths with the most samples.
    void SetUp() override {
        FrameTest::SetUp();
        params().SetValue(kParamAoType, 2);
        params().SetValue(kParamLightSize, 3);
        params().SetValue(kParamSupersampling, 2);
    }
};

TEST_F(FrameRender, ThreadCountNeverChangesAByte) {
    for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
        FrameRequest request = Request(kW, kH, depth);
        request.threads = 1;
        const FrameResult one = host().RenderFrame(request);
        ASSERT_EQ(one.err, PF_Err_NONE);
        EXPECT_TRUE(one.audit.clean()) << one.audit.Describe();
        for (int threads : {3, 0}) {
            request.threads = threads;
            const FrameResult many = host().RenderFrame(request);
            ASSERT_EQ(many.err, PF_Err_NONE);
            EXPECT_EQ(one.raw, many.raw) << threads << " threads";
        }
    }
}

TEST_F(FrameRender, EightSixteenAndFloatAgreeWithinOneEightBitStep) {
    params().SetValue(kParamCompositeOnOriginal, 1);
    HostImage input = SolidImage(kW, kH, 1, 0, 0, 0);
    for (int i = 0; i < kW * kH; ++i) {
        input.argb[i * 4 + 1] = (i * 7 % 256) / 255.0f;
        input.argb[i * 4 + 2] = (255 - i * 7 % 256) / 255.0f;
        input.argb[i * 4 + 3] = 0.5f;
    }
    std::vector<FrameResult> results;
    for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
        FrameRequest request = Request(kW, kH, depth);
        request.input = &input;
        results.push_back(host().RenderFrame(request));
        ASSERT_EQ(results.back().err, PF_Err_NONE);
    }
    const std::vector<float>& b8 = results[0].output.argb;
    for (const FrameResult* deeper : {&results[1], &results[2]}) {
        int off = 0;
        for (size_t i = 0; i < b8.size(); ++i) {
            const float clamped = std::fmin(std::fmax(deeper->output.argb[i], 0.0f), 1.0f);
            off += std::abs(clamped - b8[i]) > 1.0f / 255.0f + 1e-6f;
        }
        EXPECT_EQ(off, 0);
    }
}

// Progress is the effect's own on the generic iterate (the host reports none there): rows done,
// rising, reported from one thread at a time, ending at the whole frame once it is done.
TEST_F(FrameRender, ReportsRowsDoneUpToTheWholeFrame) {
    for (int threads : {1, 0}) {
        FrameRequest request = Request(kW, kH);
        request.threads = threads;
        std::vector<std::pair<int, int>> reports;
        request.progress = [&](int done, int total) { reports.emplace_back(done, total); };
        ASSERT_EQ(host().RenderFrame(request).err, PF_Err_NONE);
        ASSERT_FALSE(reports.empty());
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i].second, kH);
            if (i > 0) {
                EXPECT_GT(reports[i].first, reports[i - 1].first);
            }
        }
        EXPECT_EQ(reports.back().first, kH);
    }
}

}  // namespace
