// Frames the user cancels: the effect asks the host as it renders, stops on every thread and
// returns the cancel, never success, on every CPU path; the next frame is whole.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "hostsim/suites/standalone_suites.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;
using std::chrono::milliseconds;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

class FrameCancel : public FrameTest {
  protected:
    // What every path must come back to after a cancel: the same small frame as before it.
    void SetUp() override {
        FrameTest::SetUp();
        whole_ = host().RenderFrame(Request());
        ASSERT_EQ(whole_.err, PF_Err_NONE);
    }

    void ExpectNextFrameWhole() {
        const FrameResult next = host().RenderFrame(Request());
        EXPECT_EQ(next.err, PF_Err_NONE);
        EXPECT_EQ(next.raw, whole_.raw);
    }

    // Supersampling 4, raytraced occlusion of 16 rays, soft shadows of 64 samples: milliseconds
    // for a single packet of pixels.
    void SetHeavy() {
        params().SetValue(kParamSupersampling, 4);
        params().SetValue(kParamAoType, 2);
        params().SetValue(kParamAoSamples, 16);
        params().SetValue(kParamLightSize, 3);
        params().SetValue(kParamShadowSamples, 64);
    }

    FrameResult whole_;
};

TEST_F(FrameCancel, HeavyFrameStopsSoonAfterTheCancelOnOneThreadAndOnAll) {
    // At this size seconds of work even on 16 threads.
    SetHeavy();
    whole_ = host().RenderFrame(Request(4, 3));
    for (int threads : {1, 0}) {
        SCOPED_TRACE(threads);
        FrameRequest request = Request(512, 288, WorldDepth::k32);
        request.threads = threads;
        request.cancel_after = milliseconds(100);
        bool reported_done = false;
        request.progress = [&](int done, int total) { reported_done |= done == total; };
        const auto start = std::chrono::steady_clock::now();
        const FrameResult cancelled = host().RenderFrame(request);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(cancelled.err, PF_Interrupt_CANCEL);
        EXPECT_FALSE(reported_done);
        EXPECT_TRUE(cancelled.audit.clean()) << cancelled.audit.Describe();
        // Timing only where it cannot mislead, and generously: the latency itself is measured
        // by the render benchmark.
        if (!kSanitized) {
            EXPECT_LT(took, milliseconds(100 + 400));
        }
        const FrameResult next = host().RenderFrame(Request(4, 3));
        EXPECT_EQ(next.err, PF_Err_NONE);
        EXPECT_EQ(next.raw, whole_.raw);
    }
}

TEST_F(FrameCancel, CancelAsTheEffectReportsProgressReturnsTheCancelNeverSuccess) {
    // The user cancels as the effect first tells the host of rows done (in a frame long enough
    // for that to come before the end), or as it tells it the last row is done: either way the
    // frame must not come back as done.
    for (bool at_the_end : {false, true}) {
        params().SetValue(kParamSupersampling, at_the_end ? 1 : 3);
        for (int threads : {1, 3, 0}) {
            SCOPED_TRACE(threads + 10 * at_the_end);
            std::atomic<bool> cancel{false};
            FrameRequest request = at_the_end ? Request(48, 27) : Request(192, 108);
            request.threads = threads;
            request.cancel = [&] { return cancel.load(); };
            request.progress = [&](int rows, int total) {
                if ((rows == total) == at_the_end) cancel = true;
            };
            const FrameResult result = host().RenderFrame(request);
            ASSERT_TRUE(cancel) << "no such report";
            EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
            EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        }
    }
    params().SetValue(kParamSupersampling, 1);
    ExpectNextFrameWhole();
}

TEST_F(FrameCancel, FrameCancelledBeforeItStartsRendersNothingOnEveryPath) {
    // The effect's bands, and the host's per-pixel iterate of each depth (which looks at the
    // cancel itself, before every row).
    for (bool generic : {true, false}) {
        suites().Provide(
            kPFIterate8Suite, 2,
            generic ? StandaloneIterate8Suite() : StandaloneIterate8SuiteWithoutGeneric());
        for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
            SCOPED_TRACE(static_cast<int>(depth) + 10 * generic);
            FrameRequest request = Request(24, 16, depth);
            request.cancel_after = milliseconds(0);
            const FrameResult result = host().RenderFrame(request);
            EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
            EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
            // Nothing of the frame was drawn.
            for (float c : result.output.argb) ASSERT_EQ(c, 0.0f);
        }
    }
    suites().Provide(kPFIterate8Suite, 2, StandaloneIterate8Suite());
    ExpectNextFrameWhole();
}

}  // namespace
