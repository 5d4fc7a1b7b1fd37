// Dragging stops through the plug-in: moving within the bar's tolerance, taking a stop off,
// keeping the last stop, and the end of a drag sorting the ramp and finding the stop again.
#include "tests/ramp/ramp_editor_fixture.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using RampEditorDrag = RampEditorTest;

TEST_F(RampEditorDrag, WithinSixPixelsBeyondAnEndTheStopParksThere) {
    SetRamp(ThreeStops());
    editor().Click({MarkerX(0.5f), kStripRow});
    const EditorEvent right = editor().Drag({kX1 + 6, 0});  // y is not looked at
    EXPECT_TRUE(Changed(right));
    EXPECT_EQ(right.event.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW);
    EXPECT_EQ(Ramp().stops[1].position, 1.0f);
    EXPECT_EQ(Ramp().stops[2].position, 0.8f);  // not re-sorted while dragging
    editor().Drag({kX0 - 6, kStripRow});
    EXPECT_EQ(Ramp().stops[1].position, 0.0f);
    editor().Drag({kX0 + 310, kStripRow}, true);
    EXPECT_EQ(Ramp().stop_count, 3);
    EXPECT_EQ(Ramp().stops[1].position, 0.5f);
}

TEST_F(RampEditorDrag, SevenPixelsBeyondEitherEndTakesTheStopOff) {
    for (A_long off : {kX1 + 7, kX0 - 7}) {
        SetRamp(ThreeStops());
        editor().Click({MarkerX(0.5f), kStripRow});
        const EditorEvent e = editor().Drag({off, kStripRow});
        EXPECT_TRUE(Changed(e));
        const ColorRamp ramp = Ramp();
        ASSERT_EQ(ramp.stop_count, 2);
        EXPECT_EQ(ramp.stops[1].blue, 1.0f);
        EXPECT_TRUE(SelectedStops().empty());
        // The drag is over: further drag events are ignored.
        const EditorEvent after = editor().Drag({kX0 + 100, kStripRow}, true);
        EXPECT_EQ(after.event.evt_out_flags, PF_EO_NONE);
        EXPECT_EQ(Ramp().stops[0].position, 0.2f);
    }
}

TEST_F(RampEditorDrag, TheOnlyStopCannotBeDraggedOff) {
    SetRamp(MakeRamp({{0.5f, 1, 0, 0, 1}}));
    editor().Click({MarkerX(0.5f), kStripRow});
    const EditorEvent off = editor().Drag({kX1 + 50, kStripRow});
    EXPECT_FALSE(Changed(off));
    EXPECT_EQ(off.event.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW);
    EXPECT_EQ(Ramp().stop_count, 1);
    EXPECT_EQ(Ramp().stops[0].position, 0.5f);
    const EditorEvent back = editor().Drag({kX0, kStripRow}, true);
    EXPECT_EQ(back.event.evt_out_flags, PF_EO_NONE);
    EXPECT_EQ(Ramp().stops[0].position, 0.5f);
}

TEST_F(RampEditorDrag, AClickWithNoCountEndsTheDragSortedAndReselectedByColour) {
    // Red at 0.1 is dragged past the other red: the selection goes to the first red.
    SetRamp(MakeRamp({{0.1f, 1, 0, 0, 1}, {0.5f, 0, 1, 0, 1}, {0.9f, 1, 0, 0, 1}}));
    editor().Click({MarkerX(0.1f), kStripRow});
    editor().Drag({kX0 + 589, kStripRow});  // 0.95
    EXPECT_FLOAT_EQ(Ramp().stops[0].position, 0.95f);
    const EditorEvent end = editor().Click({kX0 + 589, kStripRow}, 0);
    EXPECT_TRUE(Changed(end));
    const ColorRamp ramp = Ramp();
    EXPECT_EQ(ramp.stops[0].green, 1.0f);
    EXPECT_EQ(ramp.stops[1].position, 0.9f);
    EXPECT_FLOAT_EQ(ramp.stops[2].position, 0.95f);
    EXPECT_EQ(SelectedStops(), std::vector<int>{1});
    EXPECT_EQ(editor().Drag({kX0, kStripRow}).event.evt_out_flags, PF_EO_NONE);
}

TEST_F(RampEditorDrag, TheLastDragEventEndsTheDragAsWell) {
    SetRamp(ThreeStops());
    const std::vector<EditorEvent> events =
        editor().PressAndMove({MarkerX(0.8f), kStripRow}, {{kX0 + 300, 30}, {kX0 + 62, 30}});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(events[2].event.u.do_click.last_time);
    const ColorRamp ramp = Ramp();
    EXPECT_EQ(ramp.stops[0].blue, 1.0f);
    EXPECT_FLOAT_EQ(ramp.stops[0].position, 0.1f);
    EXPECT_EQ(ramp.stops[1].red, 1.0f);
    EXPECT_EQ(SelectedStops(), std::vector<int>{0});
    EXPECT_EQ(editor().Drag({kX0, kStripRow}).event.evt_out_flags, PF_EO_NONE);
}

TEST_F(RampEditorDrag, ARampThatLostTheDraggedStopEndsTheDragUntouched) {
    SetRamp(ThreeStops());
    editor().Click({MarkerX(0.8f), kStripRow});
    SetRamp(MakeRamp({{0.3f, 1, 1, 0, 1}}));  // an undo in the host, mid-drag
    const std::vector<uint8_t> before = editor().ValueBytes();
    const EditorEvent e = editor().Drag({kX0 + 100, kStripRow});
    EXPECT_EQ(e.result.err, PF_Err_NONE);
    EXPECT_FALSE(Changed(e));
    EXPECT_EQ(editor().ValueBytes(), before);
    EXPECT_EQ(editor().Drag({kX0 + 100, kStripRow}).event.evt_out_flags, PF_EO_NONE);
}

TEST_F(RampEditorDrag, DragEventsWithoutADragAreIgnored) {
    SetRamp(ThreeStops());
    editor().Click({kX0 + 1, 5});
    const EditorEvent e = editor().Drag({MarkerX(0.5f), kStripRow}, true);
    EXPECT_EQ(e.event.evt_out_flags, PF_EO_NONE);
    EXPECT_FALSE(Changed(e));
    EXPECT_EQ(Ramp().stop_count, 3);
}

}  // namespace
