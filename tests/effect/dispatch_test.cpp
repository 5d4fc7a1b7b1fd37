// Command dispatch, About and global setup, through the loaded library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/pf_ansi_suite.h"
#include "host/pf_handle_suite.h"
#include "host/pf_pixel_format_suite.h"
#include "tests/support/plugin_host_fixture.h"

namespace {

using namespace hostsim;

// Recognisable bytes, so that any write by the effect shows.
PF_OutData Poisoned() {
    PF_OutData out;
    std::memset(&out, 0x5A, sizeof out);
    return out;
}

bool SameBytes(const PF_OutData& a, const PF_OutData& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

using Dispatch = PluginHostTest;

TEST_F(Dispatch, UnhandledOutOfRangeAndNegativeCommandsDoNothing) {
    const PF_Cmd unhandled[] = {2,  3,  5,  6,  7,  8,    9,  10,  12,
                                16, 17, 18, 19, 20, 21,   25, 26,  27,
                                28, 29, 30, 34, 35, 1000, -1, -34, static_cast<PF_Cmd>(0x80000000)};
    unsigned char extra[64];
    std::memset(extra, 0x33, sizeof extra);
    for (PF_Cmd cmd : unhandled) {
        const CommandResult result = host().Send(cmd, extra, Poisoned());
        EXPECT_EQ(result.err, PF_Err_NONE) << cmd;
        EXPECT_TRUE(SameBytes(result.out_data, Poisoned())) << cmd;
        EXPECT_CLEAN(result);
    }
    for (unsigned char byte : extra) ASSERT_EQ(byte, 0x33);
    EXPECT_EQ(suites().CountsFor(kPFHandleSuite, 2).acquires, 0);
    EXPECT_EQ(params().size(), 1u);
}

TEST_F(Dispatch, HandledCommandsWithoutHostRecordsFailInsteadOfCrashing) {
    EXPECT_EQ(host().SendRaw(PF_Cmd_ABOUT, nullptr, nullptr, nullptr).err,
              PF_Err_BAD_CALLBACK_PARAM);
    PF_InData in = host().MakeInData();
    EXPECT_EQ(host().SendRaw(PF_Cmd_ARBITRARY_CALLBACK, &in, nullptr, nullptr).err,
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host().SendRaw(PF_Cmd_GPU_DEVICE_SETDOWN, &in, nullptr, nullptr).err,
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host().Send(PF_Cmd_USER_CHANGED_PARAM, nullptr).err, PF_Err_NONE);
    EXPECT_EQ(host().Send(PF_Cmd_EVENT, nullptr).err, PF_Err_NONE);
}

TEST_F(Dispatch, AboutTextUsesCarriageReturnsOnly) {
    const CommandResult result = host().About();
    ASSERT_EQ(result.err, PF_Err_NONE);
    const std::string text = result.out_data.return_msg;
    EXPECT_EQ(text, "Spirovault - v1.0\r\rSpirovault raymarcher.");
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(suites().CountsFor(kPFANSISuite, kPFANSISuiteVersion1).acquires, 1);
    EXPECT_CLEAN(result);
}

TEST_F(Dispatch, AboutWithoutAnsiSuiteFailsWithoutMessage) {
    Withhold(kPFANSISuite, kPFANSISuiteVersion1);
    const CommandResult result = host().About();
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(result.out_data.return_msg[0], '\0');
    EXPECT_EQ(result.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
    EXPECT_CLEAN(result);
}

TEST_F(Dispatch, GlobalSetupOutsidePremiereOffersGpuAndNoPixelFormat) {
    const CommandResult result = host().GlobalSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out_data.my_version, 0x00080001u);
    EXPECT_EQ(result.out_data.out_flags, 0x06008400);
    EXPECT_EQ(result.out_data.out_flags2, 0x0A001486);
    // Registered with the plug-in layer once, the id kept in the global data.
    EXPECT_NE(result.out_data.global_data, nullptr);
    EXPECT_EQ(host().services().comp_handles().registered_names(),
              std::vector<std::string>{"Spirovault_Camera"});
    EXPECT_EQ(host().services().pixel_formats().clear_calls, 0);
    EXPECT_TRUE(host().services().pixel_formats().supported.empty());
    EXPECT_EQ(suites().CountsFor(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1).acquires, 0);
    EXPECT_CLEAN(result);
}

TEST_F(Dispatch, GlobalSetupUnderPremiereOffersOnlyVuyaFloat) {
    host().set_appl_id(PF_FourCharCode("PrMr"));
    const CommandResult result = host().GlobalSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out_data.out_flags, 0x06008400);
    EXPECT_EQ(result.out_data.out_flags2, 0x08001486);
    EXPECT_EQ(host().services().pixel_formats().clear_calls, 1);
    EXPECT_EQ(host().services().pixel_formats().supported, std::vector<PrPixelFormat>{0x61795556});
    EXPECT_EQ(suites().CountsFor(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1).releases, 1);
    // Layer check-outs in that format, not as 8-bit frames.
    EXPECT_TRUE(host().services().pixel_formats().checkouts_match_render_format);
    EXPECT_CLEAN(result);
}

TEST_F(Dispatch, GlobalSetupUnderPremiereWithoutPixelFormatSuiteReportsIt) {
    host().set_appl_id(PF_FourCharCode("PrMr"));
    for (auto availability :
         {SuiteRegistry::Availability::kWithheld, SuiteRegistry::Availability::kNullPointer}) {
        suites().SetAvailability(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1, availability);
        const CommandResult result = host().GlobalSetup();
        EXPECT_EQ(result.err, A_Err_MISSING_SUITE);
        EXPECT_STREQ(result.out_data.return_msg, "Not able to acquire AEFX Suite.");
        EXPECT_NE(result.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
        EXPECT_TRUE(host().services().pixel_formats().supported.empty());
        EXPECT_CLEAN(result);
    }
}

TEST_F(Dispatch, RenderCommandsWithoutTheirRecordsAndEmptyEventsDoNoWork) {
    // Rendering without an output world has nowhere to render to.
    const CommandResult render = host().Send(PF_Cmd_RENDER);
    EXPECT_EQ(render.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(render);
    // Smart rendering without its extra record has nothing to work on.
    EXPECT_EQ(host().Send(PF_Cmd_SMART_PRE_RENDER).err, PF_Err_BAD_CALLBACK_PARAM);
    for (PF_Cmd cmd : {PF_Cmd_SMART_RENDER, PF_Cmd_SMART_RENDER_GPU}) {
        const CommandResult result = host().Send(cmd);
        EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED) << cmd;
        EXPECT_CLEAN(result);
    }
    for (PF_EventType type : {0, 1, 2, 3, 4, 5, 8, 9, 10, 99}) {
        PF_EventExtra event{};
        event.e_type = type;
        EXPECT_EQ(host().Send(PF_Cmd_EVENT, &event).err, PF_Err_NONE) << type;
        EXPECT_EQ(event.evt_out_flags, 0) << type;
    }
}
