// Clicks in the ramp editor, through the plug-in: buttons, gaps, bar, markers, the strip, the
// colour picker and Premiere Pro's double-click.
#include "tests/ramp/ramp_editor_fixture.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using RampEditorClick = RampEditorTest;

constexpr A_long kHandled = PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW;

TEST_F(RampEditorClick, ButtonsEditTheRampAndSetTheSelection) {
    SetRamp(ThreeStops());
    editor().Click({MarkerX(0.2f), kStripRow});
    EXPECT_EQ(SelectedStops(), std::vector<int>{0});

    const EditorEvent reverse = editor().Click(kReverse);
    EXPECT_TRUE(Changed(reverse));
    ColorRamp ramp = Ramp();
    EXPECT_FLOAT_EQ(ramp.stops[0].position, 0.2f);
    EXPECT_EQ(ramp.stops[0].blue, 1.0f);              // blue now leads
    EXPECT_EQ(SelectedStops(), std::vector<int>{0});  // the index stays, now on blue

    const EditorEvent randomize = editor().Click(kRandomize);
    EXPECT_TRUE(Changed(randomize));
    ramp = Ramp();
    EXPECT_EQ(ramp.stop_count, 3);
    EXPECT_NE(ramp.stops[0].blue, 1.0f);
    EXPECT_TRUE(SelectedStops().empty());

    const EditorEvent reset = editor().Click(kReset);
    EXPECT_TRUE(Changed(reset));
    EXPECT_EQ(Ramp().stop_count, 1);
    EXPECT_EQ(SelectedStops(), std::vector<int>{0});
    for (const EditorEvent* e : {&reverse, &randomize, &reset}) {
        EXPECT_EQ(e->result.err, PF_Err_NONE);
        EXPECT_EQ(e->event.evt_out_flags, kHandled);
        EXPECT_CLEAN(e->result);
    }
}

TEST_F(RampEditorClick, EveryHandledClickAsksForARedrawOfTheWholeControl) {
    editor().Click({MarkerX(0.0f), kStripRow});
    const size_t before = panel().redraws.size();
    editor().Click({300, 5});
    ASSERT_EQ(panel().redraws.size(), before + 1);
    const RedrawRequest& redraw = panel().redraws.back();
    EXPECT_EQ(redraw.context, editor().context());
    ASSERT_TRUE(redraw.rect.has_value());
    EXPECT_EQ(redraw.rect->right, 640);
    EXPECT_EQ(redraw.rect->bottom, 65);
}

TEST_F(RampEditorClick, GapsBarAndOutsideOnlyClearTheSelection) {
    SetRamp(ThreeStops());
    const std::vector<uint8_t> before = editor().ValueBytes();
    for (PF_Point where : {PF_Point{74, 50}, PF_Point{77, 50}, PF_Point{142, 50}, PF_Point{320, 2},
                           PF_Point{320, 23}, PF_Point{320, 42}, PF_Point{635, 30}}) {
        editor().Click({MarkerX(0.5f), kStripRow});
        ASSERT_EQ(SelectedStops(), std::vector<int>{1});
        const EditorEvent e = editor().Click(where);
        EXPECT_FALSE(Changed(e)) << where.h << "," << where.v;
        EXPECT_EQ(e.event.evt_out_flags, kHandled);
        EXPECT_FALSE(e.event.u.do_click.send_drag);
        EXPECT_TRUE(SelectedStops().empty()) << where.h << "," << where.v;
    }
    EXPECT_EQ(editor().ValueBytes(), before);
}

TEST_F(RampEditorClick, AMarkersHeadOrBodySelectsItAndStartsADrag) {
    SetRamp(ThreeStops());
    const std::vector<uint8_t> before = editor().ValueBytes();
    for (auto [where, stop] : {std::pair{PF_Point{MarkerX(0.8f), 24}, 2},
                               std::pair{PF_Point{MarkerX(0.5f) + 5, 39}, 1}}) {
        const EditorEvent e = editor().Click(where);
        EXPECT_TRUE(e.event.u.do_click.send_drag);
        EXPECT_FALSE(Changed(e));
        EXPECT_EQ(SelectedStops(), std::vector<int>{stop});
        editor().Click(where, 0);  // the button comes up without a move
    }
    EXPECT_EQ(editor().ValueBytes(), before);
}

TEST_F(RampEditorClick, AnEmptySpotOfTheStripAddsAStopThere) {
    SetRamp(MakeRamp({{0.5f, 0, 0, 0, 1}, {1.0f, 1, 1, 1, 1}}));
    const EditorEvent left_end = editor().Click({kX0, 30});
    EXPECT_TRUE(Changed(left_end));
    EXPECT_FALSE(left_end.event.u.do_click.send_drag);
    ColorRamp ramp = Ramp();
    ASSERT_EQ(ramp.stop_count, 3);
    EXPECT_EQ(ramp.stops[0].position, 0.0f);
    EXPECT_EQ(ramp.stops[0].red, 0.0f);  // the ramp's colour there
    EXPECT_EQ(SelectedStops(), std::vector<int>{0});

    editor().Click({kX0 + 465, 38});  // position 0.75, mid-grey
    ramp = Ramp();
    ASSERT_EQ(ramp.stop_count, 4);
    EXPECT_FLOAT_EQ(ramp.stops[2].position, 0.75f);
    EXPECT_FLOAT_EQ(ramp.stops[2].green, 0.5f);
    EXPECT_EQ(SelectedStops(), std::vector<int>{2});
}

TEST_F(RampEditorClick, AFullRampAddsNothingAndClearsTheSelection) {
    ColorRamp full = MakeRamp({});
    for (int i = 0; i < kMaxRampStops; ++i) {
        full.stops[full.stop_count++] = RampStop{static_cast<float>(i) / 40.0f, 1, 0, 0, 1};
    }
    SetRamp(full);
    editor().Click({MarkerX(0.0f), kStripRow});
    ASSERT_EQ(SelectedStops(), std::vector<int>{0});
    editor().Drag({MarkerX(0.0f), kStripRow}, true);
    const EditorEvent e = editor().Click({600, 30});
    EXPECT_EQ(Ramp().stop_count, kMaxRampStops);
    EXPECT_TRUE(SelectedStops().empty());
    EXPECT_EQ(e.result.err, PF_Err_NONE);
}

TEST_F(RampEditorClick, DoubleClickOpensThePickerOnTheStopsColour) {
    SetRamp(MakeRamp({{0.5f, 0.25f, 0.5f, 0.75f, 0.9f}}));
    panel().color_picker = [](const ColorPickerRequest&, PF_PixelFloat* result) {
        *result = PF_PixelFloat{0.5f, 0.1f, 0.2f, 0.3f};
        return PF_Err_NONE;
    };
    const EditorEvent e = editor().Click({MarkerX(0.5f), kStripRow}, 2);
    EXPECT_EQ(e.result.err, PF_Err_NONE);
    EXPECT_TRUE(Changed(e));
    EXPECT_FALSE(e.event.u.do_click.send_drag);
    ASSERT_EQ(panel().picker_requests.size(), 1u);
    const ColorPickerRequest& request = panel().picker_requests[0];
    EXPECT_EQ(request.title, "Stop Color");
    EXPECT_TRUE(request.ws_to_monitor);
    EXPECT_EQ(request.sample.alpha, 0.9f);
    EXPECT_EQ(request.sample.red, 0.25f);
    EXPECT_EQ(request.sample.blue, 0.75f);
    const RampStop stop = Ramp().stops[0];
    EXPECT_EQ(stop.red, 0.1f);
    EXPECT_EQ(stop.green, 0.2f);
    EXPECT_EQ(stop.blue, 0.3f);
    EXPECT_EQ(stop.alpha, 0.5f);
}

// The host's record carries the parameter's index ahead of the area: a click on a stop and a
// double-click on it are both taken as the control's, answered inside the record (nothing
// written past its end), and their redraw requests go to PF_InvalidateRect with the event's
// own context, not to a neighbouring slot of the app suite.
TEST_F(RampEditorClick, ClickAndDoubleClickAnswerInsideTheHostsRecord) {
    SetRamp(ThreeStops());
    panel().color_picker = [](const ColorPickerRequest&, PF_PixelFloat* result) {
        *result = PF_PixelFloat{1.0f, 0.5f, 0.5f, 0.5f};
        return PF_Err_NONE;
    };
    const size_t redraws = panel().redraws.size();
    const EditorEvent click = editor().Click({MarkerX(0.5f), kStripRow});
    const EditorEvent twice = editor().Click({MarkerX(0.5f), kStripRow}, 2);
    for (const EditorEvent* e : {&click, &twice}) {
        EXPECT_EQ(e->result.err, PF_Err_NONE);
        EXPECT_EQ(e->event.effect_win.index, kRampParam);
        EXPECT_EQ(e->event.evt_out_flags, kHandled);
        EXPECT_EQ(e->result.audit.record_overruns, 0);
        EXPECT_CLEAN(e->result);
    }
    EXPECT_TRUE(click.event.u.do_click.send_drag);
    EXPECT_EQ(panel().picker_requests.size(), 1u);
    EXPECT_EQ(Ramp().stops[1].red, 0.5f);
    ASSERT_EQ(panel().redraws.size(), redraws + 2);
    for (size_t i = redraws; i < panel().redraws.size(); ++i) {
        EXPECT_EQ(panel().redraws[i].context, editor().context());
    }
}

TEST_F(RampEditorClick, ACancelledPickerReturnsItsCodeAndChangesNothing) {
    SetRamp(ThreeStops());
    const std::vector<uint8_t> before = editor().ValueBytes();
    const size_t redraws = panel().redraws.size();
    const EditorEvent e = editor().Click({MarkerX(0.8f), kStripRow}, 3);
    EXPECT_EQ(e.result.err, PF_Interrupt_CANCEL);
    EXPECT_FALSE(Changed(e));
    EXPECT_EQ(panel().picker_requests.size(), 1u);
    EXPECT_EQ(panel().redraws.size(), redraws);
    EXPECT_EQ(editor().ValueBytes(), before);
    EXPECT_EQ(SelectedStops(), std::vector<int>{2});
    EXPECT_CLEAN(e.result);
}

TEST_F(RampEditorClick, UnderPremiereProADoubleClickStartsADrag) {
    host().set_appl_id(kAppIdPremierePro);
    SetRamp(ThreeStops());
    const EditorEvent e = editor().Click({MarkerX(0.5f), kStripRow}, 2);
    EXPECT_EQ(e.result.err, PF_Err_NONE);
    EXPECT_TRUE(e.event.u.do_click.send_drag);
    EXPECT_TRUE(panel().picker_requests.empty());
    editor().Drag({MarkerX(0.6f), kStripRow}, true);
    EXPECT_FLOAT_EQ(Ramp().stops[1].position, 0.6f);
}

TEST_F(RampEditorClick, EventsForTheTitleAreaAreLeftAlone) {
    SetRamp(ThreeStops());
    for (PF_EventType type :
         {PF_Event_DO_CLICK, PF_Event_DRAG, PF_Event_DRAW, PF_Event_ADJUST_CURSOR}) {
        PF_EventExtra event{};
        event.e_type = type;
        event.effect_win.area = PF_EA_PARAM_TITLE;
        event.effect_win.current_frame = editor().frame();
        event.u.do_click.screen_point = {kX0, 30};
        const EditorEvent e = editor().Send(event);
        EXPECT_EQ(e.result.err, PF_Err_NONE);
        EXPECT_EQ(e.event.evt_out_flags, PF_EO_NONE);
        EXPECT_FALSE(Changed(e));
    }
    EXPECT_EQ(Ramp().stop_count, 3);
}

}  // namespace
