// The "HDRI Layer" as the record's packed float RGB environment.
#include "frame/environment_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

// A world over caller-owned bytes with `pad` bytes after each row.
template <typename Pixel>
struct TestWorld {
    TestWorld(int width, int height, int pad = 12)
        : rowbytes(width * static_cast<int>(sizeof(Pixel)) + pad), bytes(rowbytes * height, 0x7F) {
        world.data = bytes.data();
        world.rowbytes = rowbytes;
        world.width = width;
        world.height = height;
    }
    Pixel& at(int x, int y) { return reinterpret_cast<Pixel*>(&bytes[y * rowbytes])[x]; }
    int rowbytes;
    std::vector<uint8_t> bytes;
    PF_EffectWorld world{};
};

struct Environment {
    Environment() { std::memset(&record, 0, sizeof record); }
    ~Environment() { std::free(record.hdri_pixels); }
    RenderSettings record;
};

TEST(EnvironmentImage, ConvertsEachDepthByItsOwnScaleAndDropsAlpha) {
    TestWorld<PF_PixelFloat> f(2, 2);
    f.at(1, 1) = PF_PixelFloat{0.0f, 4.5f, -0.25f, 1.0f};
    TestWorld<PF_Pixel16> w16(2, 2);
    w16.at(1, 1) = PF_Pixel16{7, 32768, 16384, 1};
    TestWorld<PF_Pixel8> w8(2, 2);
    w8.at(1, 1) = PF_Pixel8{0, 255, 51, 0};
    Environment ef, e16, e8;
    StoreEnvironmentImage(f.world, PF_PixelFormat_ARGB128, &ef.record);
    StoreEnvironmentImage(w16.world, PF_PixelFormat_ARGB64, &e16.record);
    StoreEnvironmentImage(w8.world, PF_PixelFormat_ARGB32, &e8.record);
    // Pixel (1, 1) is the last of the packed block: the row padding is skipped.
    const float* last_f = ef.record.hdri_pixels + 9;
    EXPECT_EQ(last_f[0], 4.5f);
    EXPECT_EQ(last_f[1], -0.25f);
    EXPECT_EQ(last_f[2], 1.0f);
    const float* last16 = e16.record.hdri_pixels + 9;
    EXPECT_EQ(last16[0], 1.0f);
    EXPECT_EQ(last16[1], 0.5f);
    EXPECT_EQ(last16[2], 3.0517578e-05f);
    const float* last8 = e8.record.hdri_pixels + 9;
    EXPECT_EQ(last8[0], 1.0f);
    EXPECT_EQ(last8[1], 0.2f);
    EXPECT_EQ(e8.record.hdri_width, 2);
    EXPECT_EQ(e8.record.hdri_height, 2);
    // Unknown formats are read as 8-bit.
    Environment unknown;
    StoreEnvironmentImage(w8.world, PF_PixelFormat_INVALID, &unknown.record);
    EXPECT_EQ(unknown.record.hdri_pixels[9], 1.0f);
}

TEST(EnvironmentImage, SidesUpTo32767AreConverted) {
    TestWorld<PF_Pixel8> longest(32767, 1);
    longest.at(32766, 0).blue = 255;
    Environment e;
    StoreEnvironmentImage(longest.world, PF_PixelFormat_ARGB32, &e.record);
    ASSERT_NE(e.record.hdri_pixels, nullptr);
    EXPECT_EQ(e.record.hdri_width, 32767);
    EXPECT_EQ(e.record.hdri_pixels[32766 * 3 + 2], 1.0f);

    // Too long either way, or empty: no environment, and the previous one is gone.
    TestWorld<PF_Pixel8> too_wide(32768, 1), too_tall(1, 32768), empty(0, 0);
    for (const PF_EffectWorld* world : {&too_wide.world, &too_tall.world, &empty.world}) {
        StoreEnvironmentImage(longest.world, PF_PixelFormat_ARGB32, &e.record);
        StoreEnvironmentImage(*world, PF_PixelFormat_ARGB32, &e.record);
        EXPECT_EQ(e.record.hdri_pixels, nullptr);
        EXPECT_EQ(e.record.hdri_width, 0);
        EXPECT_EQ(e.record.hdri_height, 0);
    }
}

using EnvironmentLayer = FrameTest;

TEST_F(EnvironmentLayer, NoneRendersWithoutEnvironmentAndIsCheckedIn) {
    FrameSession frame(host(), Request());
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const CommandResult result = frame.Render();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_CLEAN(result);
    ASSERT_EQ(frame.layer_checkouts().size(), 2u);
    EXPECT_EQ(frame.layer_checkouts()[1].index, kParamHdriLayer);
    EXPECT_EQ(frame.layer_pixel_checkins(), frame.layer_pixel_checkouts());
    EXPECT_EQ(Record(frame).hdri_width, 0);
    EXPECT_EQ(Record(frame).hdri_pixels, nullptr);
}

TEST_F(EnvironmentLayer, ConvertedByItsOwnDepth) {
    const HostImage sky = SolidImage(5, 3, 1.0f, 1.0f, 0.5f, 0.25f);
    FrameRequest request = Request(8, 6, WorldDepth::k8);
    request.hdri_layer = &sky;
    request.hdri_depth = WorldDepth::k16;
    FrameSession frame(host(), request);
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const CommandResult result = frame.Render();
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_CLEAN(result);
    const RenderSettings& s = Record(frame);
    ASSERT_EQ(s.hdri_width, 5);
    ASSERT_EQ(s.hdri_height, 3);
    EXPECT_EQ(s.hdri_pixels[14 * 3 + 0], 1.0f);
    EXPECT_EQ(s.hdri_pixels[14 * 3 + 1], 0.5f);
    EXPECT_EQ(s.hdri_pixels[14 * 3 + 2], 0.25f);
}

// A check-out that fails or that the user cancels is the frame's error and nothing is left out.
TEST_F(EnvironmentLayer, CheckOutErrorsComeBackUnchanged) {
    const HostImage sky = SolidImage(5, 3, 1.0f, 1.0f, 0.5f, 0.25f);
    for (const PF_Err fault : {PF_Err{PF_Interrupt_CANCEL}, PF_Err{PF_Err_OUT_OF_MEMORY}}) {
        FrameRequest request = Request(8, 6, WorldDepth::k32);
        request.hdri_layer = &sky;
        request.faults.hdri_checkout = fault;
        const FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, fault);
        EXPECT_CLEAN(result);
    }
}

}  // namespace
