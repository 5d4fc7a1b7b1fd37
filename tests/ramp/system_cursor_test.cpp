// The cursor handler against the platform layer, which off Windows records the cursor it would
// have made current. Runs the editor's code in-process with the standalone host's suites.
#include "ramp/editor/system_cursor.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/custom_ui_events.h"
#include "hostsim/host_services.h"
#include "kernel/color_ramp.h"
#include "ramp/editor/ramp_editor_events.h"

using namespace spirovault;

namespace {

using namespace hostsim;

class SystemCursorTest : public ::testing::Test {
  protected:
    SystemCursorTest() : active_(&services_) {
        ramp_handle_ = services_.handles().New(sizeof(ColorRamp));
        ColorRamp ramp;
        InitDefaultRamp(&ramp);
        ramp.stops[0].position = 0.5f;  // marker at column 320
        std::memcpy(services_.handles().Lock(ramp_handle_), &ramp, sizeof ramp);
        services_.handles().Unlock(ramp_handle_);
        param_.param_type = PF_Param_ARBITRARY_DATA;
        param_.u.arb_d.value = ramp_handle_;
        in_data_.pica_basicP = HostServices::BasicSuite();
        in_data_.utils = StandaloneUtilCallbacks();
        in_data_.num_params = 1;
    }
    ~SystemCursorTest() override { services_.handles().Dispose(ramp_handle_); }

    // The cursor made current over (x, y), and what the event told the host.
    std::pair<SystemCursor, PF_CursorType> CursorAt(A_long x, A_long y) {
        ClearRecordedSystemCursor();
        PF_EventExtra event = MakeAdjustCursorEvent(0, PF_Rect{0, 0, 640, 65}, nullptr, {x, y});
        PF_ParamDef* params[1] = {&param_};
        EXPECT_EQ(AdjustRampCursor(&in_data_, &out_data_, params, nullptr, &event, 0), PF_Err_NONE);
        EXPECT_TRUE(services_.suites().Outstanding().empty());
        return {RecordedSystemCursor(), event.u.adjust_cursor.set_cursor};
    }

    HostServices services_;
    ActiveServicesScope active_;
    PF_Handle ramp_handle_;
    PF_ParamDef param_{};
    PF_InData in_data_{};
    PF_OutData out_data_{};
};

TEST_F(SystemCursorTest, HandOnAMarkerCrosshairElsewhereInTheStrip) {
    const auto hand = std::pair{SystemCursor::kHand, PF_CursorType{PF_Cursor_CUSTOM}};
    const auto cross = std::pair{SystemCursor::kCrosshair, PF_CursorType{PF_Cursor_CUSTOM}};
    EXPECT_EQ(CursorAt(320, 26), hand);   // head
    EXPECT_EQ(CursorAt(316, 36), hand);   // body
    EXPECT_EQ(CursorAt(200, 30), cross);  // empty strip
    EXPECT_EQ(CursorAt(10, 24), cross);
}

TEST_F(SystemCursorTest, BarButtonsAndOutsideLeaveTheHostsCursor) {
    const auto untouched = std::pair{SystemCursor::kNone, PF_CursorType{PF_Cursor_NONE}};
    EXPECT_EQ(CursorAt(320, 12), untouched);  // gradient bar
    EXPECT_EQ(CursorAt(40, 50), untouched);   // "Randomize"
    EXPECT_EQ(CursorAt(150, 30 + 21), untouched);
    EXPECT_EQ(CursorAt(635, 30), untouched);  // right of the strip
}

TEST_F(SystemCursorTest, ALockFailureChangesNothing) {
    services_.handles().FailLock(1);
    const auto untouched = std::pair{SystemCursor::kNone, PF_CursorType{PF_Cursor_NONE}};
    EXPECT_EQ(CursorAt(320, 26), untouched);
}

}  // namespace
