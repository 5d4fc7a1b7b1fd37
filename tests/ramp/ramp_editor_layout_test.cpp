// Where the editor's parts lie and which marker a point hits.
#include "ramp/editor/ramp_editor_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ramp/editor/ramp_hit_test.h"
#include "tests/ramp/ramp_test_support.h"

using namespace spirovault;

namespace {

const PF_Rect kFrame{0, 0, 640, 65};

TEST(RampEditorLayout, PlacesEveryPartOfA640WideFrame) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    EXPECT_EQ(l.x0, 10);
    EXPECT_EQ(l.x1, 630);
    EXPECT_EQ(l.width, 620);
    EXPECT_EQ(l.bar_top, 2);
    EXPECT_EQ(l.bar_bottom, 24);
    EXPECT_EQ(l.y0, 24);
    EXPECT_EQ(MarkerCentre(l, 0.5f), 320);
    const PF_Rect strip{10, 24, 630, 40};
    const PF_Rect randomize{10, 45, 74, 63}, reverse{78, 45, 142, 63}, reset{146, 45, 210, 63};
    for (auto [got, want] : {std::pair{l.strip, strip},
                             {l.randomize, randomize},
                             {l.reverse, reverse},
                             {l.reset, reset}}) {
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
    }
}

TEST(RampEditorLayout, FollowsTheFramesOrigin) {
    const RampEditorLayout l = MakeRampEditorLayout(PF_Rect{100, 40, 400, 105});
    EXPECT_EQ(l.x0, 110);
    EXPECT_EQ(l.width, 280);
    EXPECT_EQ(l.y0, 64);
    EXPECT_EQ(ButtonAt(l, 110, 85), RampButton::kRandomize);
    EXPECT_EQ(ButtonAt(l, 10, 45), RampButton::kNone);
}

TEST(RampEditorLayout, ButtonsEndBeforeTheirGapsAndRows) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    EXPECT_EQ(ButtonAt(l, 73, 45), RampButton::kRandomize);
    for (A_long x = 74; x <= 77; ++x) EXPECT_EQ(ButtonAt(l, x, 50), RampButton::kNone) << x;
    EXPECT_EQ(ButtonAt(l, 78, 62), RampButton::kReverse);
    EXPECT_EQ(ButtonAt(l, 78, 63), RampButton::kNone);
    EXPECT_EQ(ButtonAt(l, 209, 44), RampButton::kNone);
    EXPECT_EQ(ButtonAt(l, 209, 50), RampButton::kReset);
    EXPECT_TRUE(InMarkerStrip(l, 10, 24));
    EXPECT_FALSE(InMarkerStrip(l, 630, 30));
    EXPECT_FALSE(InMarkerStrip(l, 100, 40));
}

TEST(RampEditorLayout, PositionFromXIsClampedAndSafeWithoutWidth) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    EXPECT_EQ(PositionFromX(l, 10), 0.0f);
    EXPECT_EQ(PositionFromX(l, 320), 0.5f);
    EXPECT_EQ(PositionFromX(l, 0), 0.0f);
    EXPECT_EQ(PositionFromX(l, 700), 1.0f);
    const RampEditorLayout narrow = MakeRampEditorLayout(PF_Rect{0, 0, 20, 65});
    EXPECT_EQ(narrow.width, 0);
    EXPECT_EQ(PositionFromX(narrow, 10), 0.5f);
}

TEST(RampEditorLayout, StoredPositionsOfAnyValueGiveAColumn) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    EXPECT_EQ(MarkerCentre(l, std::numeric_limits<float>::quiet_NaN()), 10);
    EXPECT_EQ(MarkerCentre(l, std::numeric_limits<float>::infinity()), 10 + 1000000);
    EXPECT_EQ(MarkerCentre(l, -1e30f), 10 - 1000000);
    EXPECT_EQ(MarkerCentre(l, -0.001f), 10);  // truncated toward zero
}

TEST(RampHitTest, HeadWidensFromItsApexAndBodyIsInclusive) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    const ColorRamp ramp = MakeRamp({{0.5f, 1, 0, 0, 1}});  // centre 320
    EXPECT_EQ(HitTestStop(l, &ramp, 320, 24), 0);           // apex
    EXPECT_EQ(HitTestStop(l, &ramp, 321, 24), -1);
    EXPECT_EQ(HitTestStop(l, &ramp, 323, 27), 0);
    EXPECT_EQ(HitTestStop(l, &ramp, 324, 27), -1);
    EXPECT_EQ(HitTestStop(l, &ramp, 315, 29), 0);  // base corner
    EXPECT_EQ(HitTestStop(l, &ramp, 325, 39), 0);  // body corner
    EXPECT_EQ(HitTestStop(l, &ramp, 326, 35), -1);
    EXPECT_EQ(HitTestStop(l, &ramp, 320, 40), -1);
}

TEST(RampHitTest, FirstStopInIndexOrderWinsAndCountIsBounded) {
    const RampEditorLayout l = MakeRampEditorLayout(kFrame);
    ColorRamp ramp = MakeRamp({{0.5f, 1, 0, 0, 1}, {0.505f, 0, 0, 1, 1}});  // centres 320, 323
    EXPECT_EQ(HitTestStop(l, &ramp, 322, 35), 0);
    EXPECT_EQ(HitTestStop(l, &ramp, 327, 35), 1);
    ramp.stop_count = 1000;  // damaged stored data: only the 16 slots are looked at
    EXPECT_EQ(HitTestStop(l, &ramp, 100, 35), -1);
}

}  // namespace
