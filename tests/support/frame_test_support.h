// A plug-in set up in the standalone host, ready to run frames, and helpers to look at what the
// effect built.
#ifndef SPIROVAULT_TESTS_SUPPORT_FRAME_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_SUPPORT_FRAME_TEST_SUPPORT_H

#include <cstring>

#include "hostsim/frames/frame_session.h"
#include "kernel/settings.h"
#include "params/param_table.h"
#include "tests/support/plugin_host_fixture.h"

namespace spirovault {

class FrameTest : public PluginHostTest {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        ASSERT_EQ(host().GlobalSetup().err, PF_Err_NONE);
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    }

    static hostsim::FrameRequest Request(int width = 24, int height = 16,
                                         hostsim::WorldDepth depth = hostsim::WorldDepth::k8) {
        hostsim::FrameRequest request;
        request.width = width;
        request.height = height;
        request.depth = depth;
        return request;
    }

    // The record the effect handed over as pre-render data (valid until it is disposed).
    static const RenderSettings& Record(hostsim::FrameSession& frame) {
        return *static_cast<const RenderSettings*>(frame.pre_render_output().pre_render_data);
    }

    // Makes "Color Ramp" hold these bytes, in a handle the host keeps.
    void SetRamp(const ColorRamp& ramp) {
        PF_Handle handle = handles().New(sizeof ramp);
        std::memcpy(handles().Lock(handle), &ramp, sizeof ramp);
        handles().Unlock(handle);
        handles().MarkHostOwned(handle);
        params().at(kParamColorRamp).def.u.arb_d.value = handle;
    }
};

inline hostsim::HostImage SolidImage(int width, int height, float alpha, float red, float green,
                                     float blue) {
    hostsim::HostImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i)
        image.argb.insert(image.argb.end(), {alpha, red, green, blue});
    return image;
}

}  // namespace spirovault

#endif
