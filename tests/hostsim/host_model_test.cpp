// The standalone host's own models of time, keyframes, worlds and its row pool.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>

#include "hostsim/frames/frame_session.h"
#include "hostsim/frames/host_world.h"
#include "hostsim/frames/row_pool.h"
#include "hostsim/param_store.h"

namespace {

using namespace hostsim;

TEST(FrameTime, WholeAndNtscRates) {
    const std::pair<double, TimeBase> cases[] = {
        {30, {30, 1}},
        {25, {25, 1}},
        {29.97, {30000, 1001}},
        {23.976, {24000, 1001}},
        {59.94, {60000, 1001}},
        {12.5, {12500, 1000}},
        {0, {1, 1}},
    };
    for (const auto& [rate, expected] : cases) {
        const TimeBase base = TimeBaseFor(rate);
        EXPECT_EQ(base.time_scale, expected.time_scale) << rate;
        EXPECT_EQ(base.time_step, expected.time_step) << rate;
    }
}

class Keyframes : public ::testing::Test {
  protected:
    PF_ParamIndex Declare(PF_ParamType type) {
        PF_ParamDef def{};
        def.param_type = type;
        EXPECT_EQ(store_.Add(-1, def), PF_Err_NONE);
        return static_cast<PF_ParamIndex>(store_.size() - 1);
    }
    ParamStore store_;
};

TEST_F(Keyframes, LinearForSlidersAnglesAndColoursHeldForChoices) {
    const PF_ParamIndex slider = Declare(PF_Param_FLOAT_SLIDER);
    const PF_ParamIndex integer = Declare(PF_Param_SLIDER);
    const PF_ParamIndex angle = Declare(PF_Param_ANGLE);
    const PF_ParamIndex box = Declare(PF_Param_CHECKBOX);
    const PF_ParamIndex popup = Declare(PF_Param_POPUP);
    const PF_ParamIndex color = Declare(PF_Param_COLOR);
    // Given out of order: the store sorts them.
    store_.Animate(slider, {{2, 5}, {0, 1}, {1, 3}});
    store_.Animate(integer, {{0, 0}, {1, 5}});
    store_.Animate(angle, {{0, -90}, {1, 90}});
    store_.Animate(box, {{0, 0}, {1, 1}});
    store_.Animate(popup, {{0, 1}, {1, 2}});
    ParamKey black, white;
    white.time = 1;
    white.color = PF_Pixel{255, 255, 255, 255};
    store_.Animate(color, {black, white});

    EXPECT_EQ(store_.ValueAt(slider, -1).u.fs_d.value, 1);  // held before the first key
    EXPECT_EQ(store_.ValueAt(slider, 1.5).u.fs_d.value, 4);
    EXPECT_EQ(store_.ValueAt(slider, 9).u.fs_d.value, 5);   // and after the last
    EXPECT_EQ(store_.ValueAt(integer, 0.5).u.sd.value, 3);  // 2.5 rounded
    EXPECT_EQ(store_.ValueAt(angle, 0.75).u.ad.value, 45 * 65536);
    EXPECT_EQ(store_.ValueAt(box, 0.99).u.bd.value, 0);
    EXPECT_EQ(store_.ValueAt(box, 1.0).u.bd.value, 1);
    EXPECT_EQ(store_.ValueAt(popup, 0.5).u.pd.value, 1);
    EXPECT_EQ(store_.ValueAt(color, 0.5).u.cd.value.green, 128);

    PF_ParamDef copy{};
    ASSERT_EQ(store_.Checkout(slider, 0.5, &copy), PF_Err_NONE);
    EXPECT_EQ(copy.u.fs_d.value, 2);
    EXPECT_EQ(store_.Checkin(&copy), PF_Err_NONE);
}

// A key may hold its value or go on along a Bezier curve: controls 0, 10, 10, 20 give 5.9375 a
// quarter of the way; a colour holds as a number does.
TEST_F(Keyframes, KeysHoldOrCurveWhenTheySay) {
    const PF_ParamIndex slider = Declare(PF_Param_FLOAT_SLIDER);
    const PF_ParamIndex color = Declare(PF_Param_COLOR);
    ParamKey start(0, 0), middle(1, 20), end(2, 0);
    start.interpolation = KeyInterpolation::kBezier;
    start.out_tangent = 10;
    middle.in_tangent = -10;
    middle.interpolation = KeyInterpolation::kHold;
    store_.Animate(slider, {start, middle, end});
    EXPECT_DOUBLE_EQ(store_.ValueAt(slider, 0.25).u.fs_d.value, 5.9375);
    EXPECT_DOUBLE_EQ(store_.ValueAt(slider, 0.5).u.fs_d.value, 10);
    EXPECT_EQ(store_.ValueAt(slider, 1.99).u.fs_d.value, 20);
    EXPECT_EQ(store_.ValueAt(slider, 2).u.fs_d.value, 0);
    ParamKey black, white;
    black.interpolation = KeyInterpolation::kHold;
    white.time = 1;
    white.color = PF_Pixel{255, 255, 255, 255};
    store_.Animate(color, {black, white});
    EXPECT_EQ(store_.ValueAt(color, 0.9).u.cd.value.green, 0);
}

TEST_F(Keyframes, OnlyValueParametersTakeValues) {
    const PF_ParamIndex group = Declare(PF_Param_GROUP_START);
    EXPECT_THROW(store_.SetValue(group, 1), std::invalid_argument);
    EXPECT_THROW(store_.SetValue(99, 1), std::out_of_range);
    EXPECT_THROW(store_.Animate(Declare(PF_Param_FLOAT_SLIDER), {}), std::invalid_argument);
}

TEST(HostWorld, RoundTripsEachDepthWithPaddedRows) {
    HostImage image;
    image.width = 3;
    image.height = 2;
    image.argb = {1, 1, 0.5f, 0, 1,    2,    -1,   0.25f, 0, 0, 0, 0,
                  1, 0, 0,    1, 0.5f, 0.2f, 0.4f, 0.6f,  1, 1, 1, 1};
    for (WorldDepth depth :
         {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32, WorldDepth::kVuya32}) {
        HostWorld world(3, 2, depth);
        EXPECT_GT(static_cast<size_t>(world.world().rowbytes), 3 * PixelBytes(depth));
        world.Fill(image);
        const HostImage back = world.ToImage();
        const bool floats = depth == WorldDepth::k32 || depth == WorldDepth::kVuya32;
        const float step =
            floats ? 1e-5f : (depth == WorldDepth::k8 ? 0.5f / 255 : 0.5f / 32768) + 1e-6f;
        for (size_t i = 0; i < image.argb.size(); ++i) {
            const float expected =
                floats ? image.argb[i] : std::fmin(std::fmax(image.argb[i], 0.0f), 1.0f);
            EXPECT_NEAR(back.argb[i], expected, step) << i;
        }
        EXPECT_TRUE(world.PaddingIntact());
        EXPECT_EQ(world.PackedBytes().size(), 6 * PixelBytes(depth));
    }
}

TEST(HostWorld, VuyaWorldsHoldBt601InMemoryOrderVUYA) {
    // White, red, blue and half-transparent grey, as straight ARGB.
    HostImage image;
    image.width = 4;
    image.height = 1;
    image.argb = {1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0.5f, 0.5f, 0.5f, 0.5f};
    HostWorld world(4, 1, WorldDepth::kVuya32);
    world.Fill(image);
    EXPECT_EQ(world.reported_format(), static_cast<PF_PixelFormat>(0x61795556));
    const std::vector<uint8_t> bytes = world.PackedBytes();
    ASSERT_EQ(bytes.size(), 4 * 16u);
    float vuya[16];
    std::memcpy(vuya, bytes.data(), sizeof vuya);
    const float expected[16] = {0,          0,          1,      1,  // white: full luma, no chroma
                                0.5f,       -0.168736f, 0.299f, 1,  // red: V at its top
                                -0.081312f, 0.5f,       0.114f, 1,  // blue: U at its top
                                0,          0,          0.5f,   0.5f};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(vuya[i], expected[i], 1e-5f) << i;
}

TEST(RowPool, StopsAtTheLowestFailingRowAndReportsEachFinishedRow) {
    std::atomic<int> started{0};
    int reports = 0, last_done = 0;
    const PF_Err err = RunRows(
        0, 100, 1,
        [&](int y) {
            ++started;
            return y == 10 ? PF_Err_OUT_OF_MEMORY : PF_Err(PF_Err_NONE);
        },
        [&](int done, int total) {
            EXPECT_EQ(total, 100);
            EXPECT_EQ(done, last_done + 1);
            last_done = done, ++reports;
        });
    EXPECT_EQ(err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(started, 11);  // one thread: no row after the failing one
    EXPECT_EQ(reports, 10);
    // With several threads the lowest failing row's error wins.
    EXPECT_EQ(RunRows(
                  0, 64, 4, [](int y) { return y >= 30 ? 100 + y : 0; }, nullptr),
              130);
}

TEST(RowPool, ThrowingRowReachesTheCallerNotTerminate) {
    // A row that throws on a pool thread would end the process there; it is thrown again on the
    // calling thread once the others stopped, and (one thread) no row starts after it. With
    // several threads the others may finish every row before the throwing one is scheduled.
    for (int threads : {1, 4}) {
        std::atomic<int> rows{0};
        EXPECT_THROW(RunRows(
                         0, 1000, threads,
                         [&](int y) {
                             ++rows;
                             if (y == 3) throw std::bad_alloc();
                             return PF_Err(PF_Err_NONE);
                         },
                         nullptr),
                     std::bad_alloc);
        if (threads == 1) {
            EXPECT_EQ(rows.load(), 4);
        }
    }
}

}  // namespace
