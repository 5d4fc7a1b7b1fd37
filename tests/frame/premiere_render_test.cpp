// The Premiere Pro path: PF_Cmd_RENDER on VUYA float frames, without general-plug-in suites,
// renders what the smart render renders in the default host mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "host/aegp_suites.h"
#include "host/pf_iterate_suites.h"
#include "host/pf_pixel_format_suite.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 96, kH = 54;

// Share of pixels whose four channels (alpha and straight colour) all lie within 2/255.
double ShareWithinTwoSteps(const HostImage& a, const HostImage& b) {
    EXPECT_EQ(a.argb.size(), b.argb.size());
    size_t within = 0;
    for (size_t p = 0; p + 3 < a.argb.size() && p + 3 < b.argb.size(); p += 4) {
        float worst = 0;
        for (size_t c = p; c < p + 4; ++c)
            worst = std::max(worst, std::fabs(a.argb[c] - b.argb[c]));
        within += worst <= 2.0f / 255.0f;
    }
    return static_cast<double>(within) / static_cast<double>(a.argb.size() / 4);
}

int CoveredPixels(const HostImage& image) {
    int covered = 0;
    for (size_t p = 0; p < image.argb.size(); p += 4) covered += image.argb[p] > 0.5f;
    return covered;
}

// A sky that is blue above, warm below, with a bright band: the environment shows in the colour.
HostImage Sky() {
    HostImage sky;
    sky.width = 16;
    sky.height = 8;
    for (int y = 0; y < sky.height; ++y) {
        for (int x = 0; x < sky.width; ++x) {
            const float t = y / 7.0f;
            const float band = y == 3 ? 3.0f : 1.0f;
            sky.argb.insert(sky.argb.end(), {1.0f, (0.2f + 0.8f * t) * band, 0.5f * band,
                                             (1.0f - 0.8f * t) * band});
        }
    }
    return sky;
}

// A semi-transparent input: colour ramps across, alpha ramps down, the top rows fully transparent.
HostImage GradientInput() {
    HostImage input;
    input.width = kW;
    input.height = kH;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const float alpha = std::clamp((y - 4) / 40.0f, 0.0f, 1.0f);
            input.argb.insert(input.argb.end(), {alpha, alpha * x / (kW - 1.0f), alpha * 0.3f,
                                                 alpha * (1.0f - x / (kW - 1.0f))});
        }
    }
    return input;
}

class PremiereRender : public PluginHostTest {
  protected:
    // The same parameters set up in an After Effects host and in a Premiere Pro host.
    void SetUp() override {
        PluginHostTest::SetUp();
        premiere_ = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
        premiere_->set_appl_id(kAppIdPremierePro);
        // A composition of the frame's size: what Premiere Pro's frame stands in for.
        host().services().composition().width = kW;
        host().services().composition().height = kH;
        for (EffectHost* h : {&host(), premiere_.get()}) {
            ASSERT_EQ(h->GlobalSetup().err, PF_Err_NONE);
            ASSERT_EQ(h->ParamsSetup().err, PF_Err_NONE);
        }
    }
    void TearDown() override {
        const ResourceAudit audit = premiere_->Audit();
        EXPECT_TRUE(audit.clean()) << audit.Describe();
        PluginHostTest::TearDown();
    }

    void SetBoth(PF_ParamIndex index, double value) {
        for (EffectHost* h : {&host(), premiere_.get()})
            h->services().params().SetValue(index, value);
    }

    static FrameRequest Request() {
        FrameRequest request;
        request.width = kW;
        request.height = kH;
        request.depth = WorldDepth::k32;
        return request;
    }

    // Renders the request in both hosts and expects the frames to agree.
    void ExpectAgreement(const FrameRequest& request) {
        const FrameResult smart = host().RenderFrame(request);
        const FrameResult premiere = premiere_->RenderFrame(request);
        ASSERT_EQ(smart.err, PF_Err_NONE);
        ASSERT_EQ(premiere.err, PF_Err_NONE) << premiere.return_msg;
        EXPECT_TRUE(premiere.audit.clean()) << premiere.audit.Describe();
        // Not an empty frame agreeing with an empty frame.
        EXPECT_GT(CoveredPixels(smart.output), kW * kH / 10);
        EXPECT_GE(ShareWithinTwoSteps(smart.output, premiere.output), 0.99);
    }

    SuiteRegistry& premiere_suites() { return premiere_->services().suites(); }

    std::unique_ptr<EffectHost> premiere_;
};

TEST_F(PremiereRender, AgreesWithTheSmartRenderWithoutGeneralPluginSuites) {
    ExpectAgreement(Request());

    // The frame came through PF_Cmd_RENDER: the float iterate, no pre-render, no AEGP suite asked
    // for (Premiere Pro has none).
    EXPECT_EQ(premiere_suites().CountsFor(kPFIterateFloatSuite, 2).acquires, 1);
    for (const auto& [name, version] :
         {std::pair{kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},
          std::pair{kAEGPLayerSuite, kAEGPLayerSuiteVersion8},
          std::pair{kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5}}) {
        const SuiteRegistry::Counts counts = premiere_suites().CountsFor(name, version);
        EXPECT_EQ(counts.acquires + counts.refusals, 0) << name;
    }
}

TEST_F(PremiereRender, WritesVuyaInMemoryOrder) {
    // Depth map over the original: opaque everywhere, grey levels only where the fractal is.
    SetBoth(kParamDepthMap, 1);
    SetBoth(kParamCompositeOnOriginal, 1);
    const FrameResult smart = host().RenderFrame(Request());
    const FrameResult premiere = premiere_->RenderFrame(Request());
    ASSERT_EQ(premiere.err, PF_Err_NONE);
    ASSERT_EQ(premiere.raw.size(), static_cast<size_t>(kW * kH) * 16);
    int grey = 0;
    for (int p = 0; p < kW * kH; ++p) {
        float vuya[4];
        std::memcpy(vuya, &premiere.raw[p * 16], sizeof vuya);
        const float level = smart.output.argb[p * 4 + 1];
        EXPECT_NEAR(vuya[0], 0.0f, 1e-5f);           // V
        EXPECT_NEAR(vuya[1], 0.0f, 1e-5f);           // U
        EXPECT_NEAR(vuya[2], level, 2.0f / 255.0f);  // Y
        EXPECT_EQ(vuya[3], 1.0f);                    // A
        grey += level > 0.05f;
    }
    EXPECT_GT(grey, kW * kH / 10);
}

TEST_F(PremiereRender, EnvironmentAndStraightInputAgreeWithTheSmartRender) {
    const HostImage sky = Sky();
    const HostImage input = GradientInput();
    SetBoth(kParamHdriIntensity, 2);
    SetBoth(kParamHdriSamples, 4);
    SetBoth(kParamCompositeOnOriginal, 1);
    SetBoth(kParamSupersampling, 2);
    FrameRequest request = Request();
    request.hdri_layer = &sky;
    request.input = &input;
    ExpectAgreement(request);

    // "HDRI Layer" checked out once and checked in again.
    const std::vector<PF_ParamIndex>& log = premiere_->services().params().checkout_log();
    EXPECT_EQ(std::count(log.begin(), log.end(), kParamHdriLayer), 1);
    EXPECT_EQ(premiere_->services().params().outstanding_checkouts(), 0);
}

TEST_F(PremiereRender, EnvironmentCheckOutErrorsComeBackUnchanged) {
    const HostImage sky = Sky();
    FrameRequest request = Request();
    request.hdri_layer = &sky;
    for (const PF_Err fault : {PF_Err{PF_Interrupt_CANCEL}, PF_Err{PF_Err_OUT_OF_MEMORY}}) {
        request.faults.hdri_checkout = fault;
        const FrameResult result = premiere_->RenderFrame(request);
        EXPECT_EQ(result.err, fault);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
    }
}

TEST_F(PremiereRender, MissingOrForeignOutputIsAnErrorNotASilentSuccess) {
    // No output world at all.
    const CommandResult blank = premiere_->Send(PF_Cmd_RENDER);
    EXPECT_EQ(blank.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(blank);
    PF_InData in = premiere_->MakeInData();
    HostWorld world(8, 4, WorldDepth::kVuya32);
    EXPECT_EQ(premiere_->SendRaw(PF_Cmd_RENDER, &in, nullptr, nullptr, {}, &world.world()).err,
              PF_Err_BAD_CALLBACK_PARAM);

    // An output world in a format other than the one declared.
    FrameRequest request = Request();
    request.faults.output_format_unknown = true;
    FrameSession frame(*premiere_, request);
    const CommandResult foreign = frame.RenderCommand();
    EXPECT_EQ(foreign.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(foreign);
    const std::vector<uint8_t> bytes = frame.output_world().PackedBytes();
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(premiere_suites().CountsFor(kPFIterateFloatSuite, 2).acquires, 0);

    // Rows shorter than the width: nothing is written through them.
    FrameSession short_rows(*premiere_, Request());
    PF_EffectWorld& output = short_rows.output_world().world();
    const A_long rowbytes = output.rowbytes;
    output.rowbytes = kW * 16 - 16;
    const CommandResult refused = short_rows.RenderCommand();
    output.rowbytes = rowbytes;
    EXPECT_EQ(refused.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(refused);
    const std::vector<uint8_t> untouched = short_rows.output_world().PackedBytes();
    EXPECT_TRUE(std::all_of(untouched.begin(), untouched.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(PremiereRender, MissingSuitesEndTheFrameWithTheEnvironmentCheckedIn) {
    const HostImage sky = Sky();
    FrameRequest request = Request();
    request.hdri_layer = &sky;
    for (const auto& [name, version] :
         {std::pair{kPFIterateFloatSuite, kPFIterateFloatSuiteVersion2},
          std::pair{kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1}}) {
        premiere_suites().SetAvailability(name, version, SuiteRegistry::Availability::kWithheld);
        const FrameResult result = premiere_->RenderFrame(request);
        EXPECT_EQ(result.err, A_Err_MISSING_SUITE) << name;
        EXPECT_EQ(result.return_msg, "Not able to acquire AEFX Suite.");
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        premiere_suites().SetAvailability(name, version, SuiteRegistry::Availability::kProvided);
    }
}

TEST_F(PremiereRender, CancelledFrameReturnsTheCancelWithTheEnvironmentCheckedIn) {
    const HostImage sky = Sky();
    FrameRequest request = Request();
    request.hdri_layer = &sky;
    const FrameResult whole = premiere_->RenderFrame(request);
    ASSERT_EQ(whole.err, PF_Err_NONE);
    // Cancelled as the frame starts, then once its first row is done.
    for (bool at_start : {true, false}) {
        SCOPED_TRACE(at_start);
        std::atomic<bool> cancel{at_start};
        FrameRequest cancelled = request;
        cancelled.threads = 1;
        cancelled.cancel = [&] { return cancel.load(); };
        cancelled.progress = [&](int, int) { cancel = true; };
        const FrameResult result = premiere_->RenderFrame(cancelled);
        EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        EXPECT_EQ(premiere_->services().params().outstanding_checkouts(), 0);
        EXPECT_EQ(premiere_->RenderFrame(request).raw, whole.raw);
    }
}

}  // namespace
