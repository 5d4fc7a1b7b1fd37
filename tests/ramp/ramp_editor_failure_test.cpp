// The editor's events when the host falls short: locks that fail, suites it withholds, and
// Drawbot calls that fail part-way through a drawing.
#include <string>

#include "host/drawbot_suites.h"
#include "host/pf_app_suites.h"
#include "host/pf_handle_suite.h"
#include "hostsim/custom_ui_events.h"
#include "tests/ramp/ramp_editor_fixture.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using RampEditorFailure = RampEditorTest;

TEST_F(RampEditorFailure, AFailedLockLeavesRampAndEditorAsTheyWere) {
    SetRamp(ThreeStops());
    const std::vector<uint8_t> before = editor().ValueBytes();
    handles().FailLock(1);
    const EditorEvent click = editor().Click({kX0 + 100, kStripRow});
    EXPECT_EQ(click.result.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(Changed(click));
    EXPECT_FALSE(click.event.u.do_click.send_drag);

    editor().Click({MarkerX(0.5f), kStripRow});
    handles().FailLock(1);
    const EditorEvent drag = editor().Drag({kX1 + 20, kStripRow});
    EXPECT_EQ(drag.result.err, PF_Err_OUT_OF_MEMORY);
    handles().FailLock(1);
    EXPECT_EQ(editor().Draw().result.err, PF_Err_OUT_OF_MEMORY);
    handles().FailLock(1);
    const EditorEvent cursor = editor().AdjustCursor({kX0 + 100, kStripRow});
    EXPECT_EQ(cursor.result.err, PF_Err_NONE);
    EXPECT_EQ(cursor.event.u.adjust_cursor.set_cursor, PF_Cursor_NONE);
    for (const EditorEvent* e : {&click, &drag, &cursor}) EXPECT_CLEAN(e->result);
    EXPECT_EQ(editor().ValueBytes(), before);

    // The drag survived its failed event and still moves the stop.
    editor().Drag({kX0 + 155, kStripRow}, true);
    EXPECT_FLOAT_EQ(Ramp().stops[1].position, 0.25f);
}

TEST_F(RampEditorFailure, WithoutTheHandleSuiteEveryEventFailsWith516) {
    Withhold(kPFHandleSuite, kPFHandleSuiteVersion1);
    const EditorEvent click = editor().Click({kX0 + 100, kStripRow});
    const EditorEvent cursor = editor().AdjustCursor({kX0 + 100, kStripRow});
    const EditorDrawing draw = editor().Draw();
    for (const EventResult* r : {&click.result, &cursor.result, &draw.result}) {
        EXPECT_EQ(r->err, PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_CLEAN(*r);
    }
}

TEST_F(RampEditorFailure, WithoutTheAppSuiteClicksAndDragsFailBeforeAnyEdit) {
    SetRamp(ThreeStops());
    editor().Click({MarkerX(0.5f), kStripRow});
    const std::vector<uint8_t> before = editor().ValueBytes();
    Withhold(kPFAppSuite, kAppSuiteRequestVersion);
    const EditorEvent drag = editor().Drag({kX0 + 30, kStripRow});
    const EditorEvent click = editor().Click({kX0 + 100, kStripRow});
    for (const EditorEvent* e : {&drag, &click}) {
        EXPECT_EQ(e->result.err, PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_FALSE(Changed(*e));
        EXPECT_CLEAN(e->result);
    }
    EXPECT_EQ(editor().ValueBytes(), before);
}

TEST_F(RampEditorFailure, WithheldDrawbotSuitesGive516AndTheMessage) {
    const std::pair<const char*, int32_t> drawbot[] = {
        {kDRAWBOT_DrawSuite, 1},
        {kDRAWBOT_SupplierSuite, 1},
        {kDRAWBOT_SurfaceSuite, 2},
        {kDRAWBOT_PathSuite, 1},
    };
    for (const auto& [name, version] : drawbot) {
        host_ = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
        editor_ = std::make_unique<RampEditorClient>(host());
        Withhold(name, version);
        const EditorDrawing drawing = editor().Draw();
        EXPECT_EQ(drawing.result.err, PF_Err_BAD_CALLBACK_PARAM) << name;
        EXPECT_NE(drawing.result.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
        EXPECT_STREQ(drawing.result.out_data.return_msg, "Not able to acquire AEFX Suite.");
        EXPECT_TRUE(host().services().drawbot().calls().empty()) << name;
        EXPECT_CLEAN(drawing.result);
    }
}

TEST_F(RampEditorFailure, WithoutTheCustomUiSuiteNothingIsDrawn) {
    Withhold(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1);
    const EditorDrawing drawing = editor().Draw();
    EXPECT_EQ(drawing.result.err, A_Err_MISSING_SUITE);
    EXPECT_STREQ(drawing.result.out_data.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(host().services().drawbot().calls().empty());
    EXPECT_CLEAN(drawing.result);
}

TEST_F(RampEditorFailure, AParameterArrayWithoutTheRampIsRefused) {
    PF_InData in = host().MakeInData();
    in.num_params = kRampParam;
    std::vector<PF_ParamDef> defs(kRampParam);
    std::vector<PF_ParamDef*> params;
    for (PF_ParamDef& def : defs) params.push_back(&def);
    PF_EventExtra event =
        MakeClickEvent(editor().param_index(), editor().frame(), editor().context(), {kX0, 30}, 1);
    const CommandResult result = host().SendRaw(PF_Cmd_EVENT, &in, params.data(), &event);
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(result);
}

TEST_F(RampEditorFailure, WithoutTheAppSuiteTheBackgroundIsBlackAndDrawingGoesOn) {
    Withhold(kPFAppSuite, kAppSuiteRequestVersion);
    const EditorDrawing drawing = editor().Draw();
    EXPECT_EQ(drawing.result.err, PF_Err_NONE);
    EXPECT_EQ(drawing.image.At(3, 3)[0], 0);
    EXPECT_EQ(drawing.image.At(3, 3)[3], 255);
    EXPECT_GT(drawing.image.At(320, kBarRow)[0], 250);  // the default ramp's white bar
}

// Fails the nth call of one kind: that error is the result, nothing is drawn after it, and
// every pen, brush, path and font made is released.
TEST_F(RampEditorFailure, ADrawingErrorStopsDrawingButNotTheCleanUp) {
    SetRamp(ThreeStops());
    const std::pair<const char*, int> failing[] = {
        {"GetSupplier", 1}, {"PaintRect", 1},      {"PaintRect", 300},        {"StrokePath", 1},
        {"NewBrush", 2},    {"LineTo", 4},         {"FillPath", 5},           {"AddRect", 6},
        {"DrawString", 2},  {"NewDefaultFont", 3}, {"GetDefaultFontSize", 1},
    };
    constexpr A_Err kInjected = 77;
    for (const auto& [call, nth] : failing) {
        DrawbotHost& drawbot = host().services().drawbot();
        drawbot.ClearCalls();
        drawbot.FailCall(call, nth, kInjected);
        const EditorDrawing drawing = editor().Draw();
        EXPECT_EQ(drawing.result.err, kInjected) << call << " " << nth;
        EXPECT_CLEAN(drawing.result) << call << " " << nth;
        const std::vector<std::string>& calls = drawbot.calls();
        int seen = 0;
        size_t failed_at = calls.size();
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i] == call && ++seen == nth) failed_at = i;
        }
        ASSERT_LT(failed_at, calls.size()) << call << " " << nth;
        for (size_t i = failed_at + 1; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i], "ReleaseObject") << "after failed " << call << " " << nth;
        }
    }
}

TEST_F(RampEditorFailure, ADrawingHoldsEachSuiteOnceAndReleasesIt) {
    const EditorDrawing drawing = editor().Draw();
    EXPECT_EQ(drawing.result.err, PF_Err_NONE);
    EXPECT_EQ(drawing.result.audit.live_drawing_objects, 0u);
    for (const auto& [name, version] : {std::pair<const char*, int32_t>{kDRAWBOT_DrawSuite, 1},
                                        {kDRAWBOT_SupplierSuite, 1},
                                        {kDRAWBOT_SurfaceSuite, 2},
                                        {kDRAWBOT_PathSuite, 1},
                                        {kPFEffectCustomUISuite, 1},
                                        {kPFAppSuite, 6}}) {
        const SuiteRegistry::Counts counts = suites().CountsFor(name, version);
        EXPECT_EQ(counts.acquires, 1) << name;
        EXPECT_EQ(counts.releases, 1) << name;
    }
}

}  // namespace
