// ScopedSuite, SuiteHandler and the Drawbot acquisition against the standalone host's suites.
#include <gtest/gtest.h>

#include <cstring>

#include "host/drawbot_acquisition.h"
#include "host/pf_ansi_suite.h"
#include "host/pf_handle_suite.h"
#include "host/scoped_suite.h"
#include "host/suite_handler.h"
#include "hostsim/host_services.h"

namespace {

using namespace hostsim;

struct FakeSuite {
    int marker;
};
const FakeSuite kFake[4] = {{1}, {2}, {3}, {4}};

}  // namespace

class SuiteHolders : public ::testing::Test {
  protected:
    SuiteHolders() : active_(&services_) {
        services_.suites().Provide(kDRAWBOT_DrawSuite, 1, &kFake[0]);
        services_.suites().Provide(kDRAWBOT_SupplierSuite, 1, &kFake[1]);
        services_.suites().Provide(kDRAWBOT_SurfaceSuite, 2, &kFake[2]);
        services_.suites().Provide(kDRAWBOT_PathSuite, 1, &kFake[3]);
    }
    ~SuiteHolders() override {
        EXPECT_TRUE(services_.suites().Outstanding().empty());
        EXPECT_EQ(services_.suites().StrayReleases(), 0);
    }
    SuiteRegistry& registry() { return services_.suites(); }
    const SPBasicSuite* basic() { return HostServices::BasicSuite(); }

    HostServices services_;
    ActiveServicesScope active_;
    PF_OutData out_{};
};

TEST_F(SuiteHolders, ScopedSuiteReleasesOnScopeEndAndOnError) {
    {
        ScopedSuite<PF_HandleSuite1> handles(basic(), kPFHandleSuite, 2);
        EXPECT_NE(handles->host_new_handle, nullptr);
        EXPECT_EQ(registry().Outstanding().size(), 1u);
    }
    try {
        ScopedSuite<PF_HandleSuite1> handles(basic(), kPFHandleSuite, 2);
        throw PfError(PF_Err_OUT_OF_MEMORY);
    } catch (const PfError& e) {
        EXPECT_EQ(e.code(), PF_Err_OUT_OF_MEMORY);
    }
    EXPECT_EQ(registry().CountsFor(kPFHandleSuite, 2).releases, 2);
}

TEST_F(SuiteHolders, ScopedSuiteFailureReportsAndRaises13) {
    for (auto availability :
         {SuiteRegistry::Availability::kWithheld, SuiteRegistry::Availability::kNullPointer}) {
        registry().SetAvailability(kPFHandleSuite, 2, availability);
        PF_OutData out{};
        try {
            ScopedSuite<PF_HandleSuite1> handles(basic(), kPFHandleSuite, 2, &out);
            FAIL() << "acquired a missing suite";
        } catch (const PfError& e) {
            EXPECT_EQ(e.code(), A_Err_MISSING_SUITE);
        }
        EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
        EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    }
    // Without out_data only the code tells.
    EXPECT_THROW(ScopedSuite<PF_HandleSuite1>(basic(), kPFHandleSuite, 1), PfError);
    EXPECT_THROW(ScopedSuite<PF_HandleSuite1>(nullptr, kPFHandleSuite, 2), PfError);
}

TEST_F(SuiteHolders, SuiteHandlerAcquiresOnceAndReleasesEverything) {
    {
        SuiteHandler suites(basic());
        const auto* a = suites.Get<PF_HandleSuite1>(kPFHandleSuite, 2);
        const auto* b = suites.Get<PF_HandleSuite1>(kPFHandleSuite, 2);
        EXPECT_EQ(a, b);
        suites.Get<PF_ANSICallbacksSuite1>(kPFANSISuite, 1);
        EXPECT_EQ(registry().CountsFor(kPFHandleSuite, 2).acquires, 1);
        EXPECT_EQ(registry().Outstanding().size(), 2u);
        // A failure later in the same handler still releases what it holds.
        EXPECT_THROW(suites.Get<PF_ANSICallbacksSuite1>(kPFANSISuite, 9), PfError);
    }
    EXPECT_EQ(registry().CountsFor(kPFANSISuite, 1).releases, 1);
}

TEST_F(SuiteHolders, SuiteHandlerFailuresRaise516WithoutMessage) {
    registry().SetAvailability(kPFHandleSuite, 2, SuiteRegistry::Availability::kNullPointer);
    SuiteHandler suites(basic());
    try {
        suites.Get<PF_HandleSuite1>(kPFHandleSuite, 2);
        FAIL();
    } catch (const PfError& e) {
        EXPECT_EQ(e.code(), PF_Err_BAD_CALLBACK_PARAM);
    }
    SuiteHandler without_basic(nullptr);
    EXPECT_THROW(without_basic.Get<PF_HandleSuite1>(kPFHandleSuite, 2), PfError);
}

TEST_F(SuiteHolders, DrawbotSuitesComeAndGoTogether) {
    DRAWBOT_Suites suites{};
    ASSERT_EQ(AcquireDrawbotSuites(basic(), &out_, &suites), PF_Err_NONE);
    EXPECT_EQ(static_cast<const void*>(suites.drawbot_suiteP), &kFake[0]);
    EXPECT_EQ(static_cast<const void*>(suites.path_suiteP), &kFake[3]);
    EXPECT_EQ(registry().Outstanding().size(), 4u);
    EXPECT_EQ(ReleaseDrawbotSuites(basic(), &out_, &suites), PF_Err_NONE);
    EXPECT_EQ(suites.surface_suiteP, nullptr);
    EXPECT_EQ(registry().CountsFor(kDRAWBOT_SurfaceSuite, 2).releases, 1);
    {
        ScopedDrawbotSuites scoped(basic(), &out_);
        EXPECT_EQ(scoped.error(), PF_Err_NONE);
    }
}

TEST_F(SuiteHolders, DrawbotFailuresReportTheirMessages) {
    registry().SetAvailability(kDRAWBOT_SurfaceSuite, 2, SuiteRegistry::Availability::kWithheld);
    DRAWBOT_Suites suites{};
    EXPECT_EQ(AcquireDrawbotSuites(basic(), &out_, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out_.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_EQ(suites.drawbot_suiteP, nullptr);  // the two taken before were given back
    EXPECT_EQ(registry().CountsFor(kDRAWBOT_SupplierSuite, 1).releases, 1);

    PF_OutData out{};
    EXPECT_EQ(AcquireDrawbotSuites(nullptr, &out, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_EQ(AcquireDrawbotSuites(basic(), &out, nullptr), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_STREQ(out.return_msg, "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
    EXPECT_EQ(ReleaseDrawbotSuites(nullptr, &out, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, "Not able to release AEFX Suite.");
    EXPECT_NE(out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
}
