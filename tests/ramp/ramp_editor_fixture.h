// The plug-in loaded into a standalone host with its parameters declared, and the colour ramp
// editor laid out in a 640 x 65 control at the panel's origin: bar columns 10 to 629 (rows 2
// to 23), marker strip rows 24 to 39, buttons in rows 45 to 62.
#ifndef SPIROVAULT_TESTS_RAMP_RAMP_EDITOR_FIXTURE_H
#define SPIROVAULT_TESTS_RAMP_RAMP_EDITOR_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "hostsim/ramp_editor_client.h"
#include "kernel/color_ramp.h"
#include "tests/ramp/ramp_test_support.h"
#include "tests/support/plugin_host_fixture.h"

namespace spirovault {

inline constexpr PF_ParamIndex kRampParam = 19;
inline constexpr A_long kX0 = 10, kX1 = 630, kBarWidth = 620;
inline constexpr A_long kStripRow = 34;  // through marker bodies
inline constexpr A_long kHeadRow = 27;
inline constexpr A_long kBarRow = 12;
inline constexpr PF_Point kRandomize{40, 50}, kReverse{110, 50}, kReset{178, 50};

// The marker centre column of a stop.
inline A_long MarkerX(float position) {
    return kX0 + static_cast<A_long>(static_cast<float>(kBarWidth) * position);
}

class RampEditorTest : public PluginHostTest {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        ASSERT_EQ(host().GlobalSetup().err, PF_Err_NONE);
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
        editor_ = std::make_unique<hostsim::RampEditorClient>(host());
        ASSERT_EQ(editor_->param_index(), kRampParam);
    }

    hostsim::RampEditorClient& editor() { return *editor_; }
    hostsim::PanelServices& panel() { return host().services().panel(); }

    void SetRamp(const ColorRamp& ramp) {
        std::vector<uint8_t> bytes(sizeof ramp);
        std::memcpy(bytes.data(), &ramp, sizeof ramp);
        editor().SetValueBytes(bytes);
    }
    ColorRamp Ramp() {
        ColorRamp ramp;
        const std::vector<uint8_t> bytes = editor().ValueBytes();
        EXPECT_EQ(bytes.size(), sizeof ramp);
        std::memcpy(&ramp, bytes.data(), std::min(bytes.size(), sizeof ramp));
        return ramp;
    }
    static bool Changed(const hostsim::EditorEvent& e) {
        const auto& changed = e.result.changed_params;
        return std::find(changed.begin(), changed.end(), kRampParam) != changed.end();
    }

    // Which stops the drawn editor shows as selected (a lighter marker head).
    std::vector<int> SelectedStops() {
        const hostsim::EditorDrawing drawing = editor().Draw();
        EXPECT_EQ(drawing.result.err, PF_Err_NONE);
        const ColorRamp ramp = Ramp();
        std::vector<int> selected;
        for (int i = 0; i < ramp.stop_count; ++i) {
            const uint8_t* head = drawing.image.At(MarkerX(ramp.stops[i].position), kHeadRow);
            if (head[0] > 140) selected.push_back(i);
        }
        return selected;
    }

    std::unique_ptr<hostsim::RampEditorClient> editor_;
};

// A three-stop ramp: red at 0.2, green at 0.5, blue at 0.8.
inline ColorRamp ThreeStops() {
    return MakeRamp({{0.2f, 1, 0, 0, 1}, {0.5f, 0, 1, 0, 1}, {0.8f, 0, 0, 1, 1}});
}

}  // namespace spirovault

#endif
