// The cursor handler in-process with the standalone host's suites: which of the host's cursors
// it asks for over the marker strip, and where it leaves the host's choice alone.
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

class RampEditorCursor : public ::testing::Test {
  protected:
    RampEditorCursor() : active_(&services_) {
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
    ~RampEditorCursor() override { services_.handles().Dispose(ramp_handle_); }

    // What the event tells the host over (x, y).
    PF_CursorType CursorAt(A_long x, A_long y) {
        PF_EventExtra event = MakeAdjustCursorEvent(0, PF_Rect{0, 0, 640, 65}, nullptr, {x, y});
        PF_ParamDef* params[1] = {&param_};
        EXPECT_EQ(AdjustRampCursor(&in_data_, &out_data_, params, nullptr, &event, 0), PF_Err_NONE);
        EXPECT_TRUE(services_.suites().Outstanding().empty());
        return event.u.adjust_cursor.set_cursor;
    }

    HostServices services_;
    ActiveServicesScope active_;
    PF_Handle ramp_handle_;
    PF_ParamDef param_{};
    PF_InData in_data_{};
    PF_OutData out_data_{};
};

TEST_F(RampEditorCursor, HostsHandOnAMarkerAndCrosshairsElsewhereInTheStrip) {
    EXPECT_EQ(CursorAt(320, 26), PF_Cursor_HAND);  // head
    EXPECT_EQ(CursorAt(316, 36), PF_Cursor_HAND);  // body
    EXPECT_EQ(CursorAt(200, 30), PF_Cursor_CROSSHAIRS);
    EXPECT_EQ(CursorAt(10, 24), PF_Cursor_CROSSHAIRS);
}

TEST_F(RampEditorCursor, BarButtonsOutsideAndALockFailureLeaveTheHostsCursor) {
    EXPECT_EQ(CursorAt(320, 12), PF_Cursor_NONE);  // gradient bar
    EXPECT_EQ(CursorAt(40, 50), PF_Cursor_NONE);   // "Randomize"
    EXPECT_EQ(CursorAt(150, 30 + 21), PF_Cursor_NONE);
    EXPECT_EQ(CursorAt(635, 30), PF_Cursor_NONE);  // right of the strip
    services_.handles().FailLock(1);
    EXPECT_EQ(CursorAt(320, 26), PF_Cursor_NONE);
}

}  // namespace
