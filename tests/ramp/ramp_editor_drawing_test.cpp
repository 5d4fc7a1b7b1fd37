// The editor as drawn through the plug-in, checked pixel by pixel against the ramp and the
// layout: no stored reference picture.
#include <cmath>
#include <cstdlib>

#include "hostsim/custom_ui_events.h"
#include "hostsim/ramp_editor_image.h"
#include "tests/ramp/ramp_editor_fixture.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using RampEditorDrawing = RampEditorTest;

ColorRamp FiveStops() {
    return MakeRamp({{0.0f, 0.05f, 0.05f, 0.3f, 1},
                     {0.22f, 0.1f, 0.55f, 0.9f, 1},
                     {0.5f, 0.95f, 0.95f, 0.85f, 1},
                     {0.74f, 0.95f, 0.55f, 0.1f, 0.2f},
                     {1.0f, 0.6f, 0.05f, 0.1f, 1}});
}

// Within one 8-bit step of the colour.
::testing::AssertionResult PixelIs(const RgbaImage& image, A_long x, A_long y, float r, float g,
                                   float b) {
    const uint8_t* p = image.At(x, y);
    const float want[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(p[c] - want[c] * 255.0f) > 1.01f || p[3] != 255) {
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is " << int(p[0]) << "," << int(p[1]) << ","
                   << int(p[2]) << "," << int(p[3]) << "; expected " << want[0] * 255 << ","
                   << want[1] * 255 << "," << want[2] * 255;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(RampEditorDrawing, TheBarShowsTheRampColumnByColumn) {
    const ColorRamp ramp = FiveStops();
    SetRamp(ramp);
    const EditorDrawing drawing = editor().Draw();
    ASSERT_EQ(drawing.result.err, PF_Err_NONE);
    EXPECT_EQ(drawing.result.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
    ASSERT_EQ(drawing.image.width, 640);
    ASSERT_EQ(drawing.image.height, 65);
    // Column c shows t = c / 619; the outline covers column 0 and rows 2 and 24.
    for (A_long c : {1, 50, 136, 137, 300, 309, 310, 458, 459, 500, 618, 619}) {
        const Rgba want = Sample(ramp, static_cast<float>(c) / 619.0f);
        for (A_long y : {3, kBarRow, 23}) {
            EXPECT_TRUE(PixelIs(drawing.image, kX0 + c, y, want.r, want.g, want.b)) << c;
        }
    }
    EXPECT_TRUE(PixelIs(drawing.image, kX0, kBarRow, 0.3f, 0.3f, 0.3f));  // outline
    EXPECT_TRUE(PixelIs(drawing.image, kX0 + 300, 2, 0.3f, 0.3f, 0.3f));
}

TEST_F(RampEditorDrawing, BackgroundStripButtonsAndLabelsTakeTheirColours) {
    panel().background = PF_App_Color{0x4000, 0x8000, 0xC000};
    SetRamp(FiveStops());
    const RgbaImage image = editor().Draw().image;
    const float bg[3] = {0x4000 / 65535.0f, 0x8000 / 65535.0f, 0xC000 / 65535.0f};
    for (auto [x, y] : {std::pair{3, 3}, {635, 30}, {76, 50}, {300, 55}, {320, 64}}) {
        EXPECT_TRUE(PixelIs(image, x, y, bg[0], bg[1], bg[2]));
    }
    EXPECT_TRUE(PixelIs(image, 250, kStripRow, 0.14f, 0.14f, 0.14f));
    EXPECT_TRUE(PixelIs(image, 600, 25, 0.14f, 0.14f, 0.14f));
    for (PF_Rect button : {PF_Rect{10, 45, 74, 63}, {78, 45, 142, 63}, {146, 45, 210, 63}}) {
        EXPECT_TRUE(PixelIs(image, button.left + 2, button.top + 2, 0.22f, 0.22f, 0.22f));
        EXPECT_TRUE(PixelIs(image, button.left, button.top + 9, 0.42f, 0.42f, 0.42f));
        EXPECT_TRUE(PixelIs(image, button.left + 20, button.top, 0.42f, 0.42f, 0.42f));
        // The label: light text around the button's middle, none near its ends.
        int light_left = 0, light_middle = 0;
        for (A_long y = button.top + 3; y < button.bottom - 2; ++y) {
            for (A_long x = button.left + 2; x < button.right - 2; ++x) {
                if (image.At(x, y)[0] <= 150) continue;
                if (std::abs(x - (button.left + button.right) / 2) < 12) ++light_middle;
                if (x < button.left + 3) ++light_left;
            }
        }
        EXPECT_GT(light_middle, 10) << button.left;
        EXPECT_EQ(light_left, 0) << button.left;
    }
}

TEST_F(RampEditorDrawing, MarkersShowTheStopColourUnderAGreyHead) {
    const ColorRamp ramp = FiveStops();
    SetRamp(ramp);
    editor().Click({MarkerX(0.74f), kStripRow});  // selects stop 3
    editor().Click({MarkerX(0.74f), kStripRow}, 0);
    const RgbaImage image = editor().Draw().image;
    for (int i = 1; i < 4; ++i) {
        const RampStop& s = ramp.stops[i];
        const A_long sx = MarkerX(s.position);
        EXPECT_TRUE(PixelIs(image, sx, 34, s.red, s.green, s.blue)) << i;  // alpha drawn as 1
        EXPECT_TRUE(PixelIs(image, sx - 4, 38, s.red, s.green, s.blue)) << i;
        const float head = i == 3 ? 0.6f : 0.5f;
        EXPECT_TRUE(PixelIs(image, sx, 27, head, head, head)) << i;
        EXPECT_TRUE(PixelIs(image, sx + 4, 25, 0.14f, 0.14f, 0.14f)) << i;  // beside the apex
    }
}

TEST_F(RampEditorDrawing, LaterStopsAreDrawnOverEarlierOnes) {
    ColorRamp full = MakeRamp({});
    for (int i = 0; i < kMaxRampStops; ++i) {
        const float f = static_cast<float>(i) / 15.0f;
        full.stops[full.stop_count++] = RampStop{0.0f, f, 1.0f - f, 0.5f, 1};
    }
    SetRamp(full);
    const RgbaImage crowded = editor().Draw().image;
    EXPECT_TRUE(PixelIs(crowded, kX0, 34, 1.0f, 0.0f, 0.5f));

    SetRamp(MakeRamp({{0.5f, 1, 0, 0, 1}, {0.5f, 0, 0, 1, 1}, {0.503f, 0, 1, 0, 1}}));
    const RgbaImage pair = editor().Draw().image;
    EXPECT_TRUE(PixelIs(pair, 315, 34, 0, 0, 1));  // blue covers red
    EXPECT_TRUE(PixelIs(pair, 323, 34, 0, 1, 0));  // green, one column on, covers blue
}

TEST_F(RampEditorDrawing, AFrameAwayFromTheOriginDrawsTheSame) {
    SetRamp(FiveStops());
    const RgbaImage at_origin = editor().Draw().image;
    editor().set_frame(PF_Rect{100, 40, 740, 105});
    const EditorDrawing moved = editor().Draw();
    EXPECT_EQ(moved.result.err, PF_Err_NONE);
    EXPECT_EQ(moved.image.pixels, at_origin.pixels);
}

TEST_F(RampEditorDrawing, TheDrawEventIsHandledAndNothingElse) {
    PF_EventExtra event =
        MakeDrawEvent(editor().param_index(), editor().frame(), editor().context());
    event.evt_out_flags = PF_EO_UPDATE_NOW;
    // No canvas: the drawing reference cannot be had; still handled, and the error returned.
    const EditorEvent e = editor().Send(event);
    EXPECT_EQ(e.result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(e.event.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_CLEAN(e.result);
    EXPECT_TRUE(host().services().drawbot().calls().empty());
}

TEST(RampEditorImage, DrawsAStoredRampOrTheDefault) {
    EffectHost host(SPIROVAULT_PLUGIN_PATH);
    const RgbaImage plain = DrawRampEditorImage(host, {}, 300, 65);
    ASSERT_EQ(plain.width, 300);
    EXPECT_TRUE(PixelIs(plain, 150, kBarRow, 1, 1, 1));

    const ColorRamp ramp = FiveStops();
    std::vector<uint8_t> flat(sizeof ramp);
    std::memcpy(flat.data(), &ramp, sizeof ramp);
    const RgbaImage five = DrawRampEditorImage(host, flat, 640, 65);
    const Rgba want = Sample(ramp, 200.0f / 619.0f);
    EXPECT_TRUE(PixelIs(five, kX0 + 200, kBarRow, want.r, want.g, want.b));
    EXPECT_TRUE(host.Audit().clean()) << host.Audit().Describe();
    EXPECT_THROW(DrawRampEditorImage(host, std::vector<uint8_t>(10), 640, 65), std::runtime_error);
    EXPECT_THROW(DrawRampEditorImage(host, {}, 0, 65), std::runtime_error);
}

}  // namespace
