// A whole session of commands, successful and failing, leaves no suite held and no handle
// leaked or locked after any of them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/pf_ansi_suite.h"
#include "host/pf_handle_suite.h"
#include "host/pf_param_utils_suite.h"
#include "host/pf_pixel_format_suite.h"
#include "hostsim/arbitrary_data_client.h"
#include "tests/support/plugin_host_fixture.h"

using Resources = PluginHostTest;

TEST_F(Resources, EveryCommandReleasesWhatItTook) {
    std::unique_ptr<hostsim::ArbitraryDataClient> arb;
    std::vector<std::pair<std::string, std::function<hostsim::CommandResult()>>> steps = {
        {"about", [&] { return host().About(); }},
        {"global setup", [&] { return host().GlobalSetup(); }},
        {"premiere global setup",
         [&] {
             host().set_appl_id(kAppIdPremierePro);
             hostsim::CommandResult r = host().GlobalSetup();
             host().set_appl_id(kAppIdAfterEffects);
             return r;
         }},
        {"params setup", [&] { return host().ParamsSetup(); }},
        {"update ui", [&] { return host().UpdateParamsUI(); }},
        {"julia changed", [&] { return host().UserChangedParam(10); }},
        {"ramp round trip",
         [&] {
             const auto a = arb->New();
             std::vector<uint8_t> flat(328);
             arb->Flatten(a.handle, flat.data(), 328);
             const auto b = arb->Unflatten(flat.data(), 328);
             const auto c = arb->Interpolate(a.handle, b.handle, 0.3);
             const auto d = arb->Copy(c.handle);
             char text[64];
             arb->Print(d.handle, text, sizeof text);
             arb->Compare(a.handle, d.handle);
             for (PF_Handle h : {a.handle, b.handle, c.handle, d.handle}) arb->Dispose(h);
             return arb->last();
         }},
    };
    const std::vector<std::pair<const char*, int32_t>> withheld = {
        {kPFANSISuite, kPFANSISuiteVersion1},
        {kPFHandleSuite, kPFHandleSuiteVersion1},
        {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3},
        {kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1},
    };
    // Each step with all suites, then with each suite missing in turn, then with the host's
    // first allocations and locks failing.
    for (int round = 0; round < static_cast<int>(withheld.size()) + 2; ++round) {
        host_ = std::make_unique<hostsim::EffectHost>(SPIROVAULT_PLUGIN_PATH);
        arb = std::make_unique<hostsim::ArbitraryDataClient>(host(),
                                                             reinterpret_cast<void*>(0xDEADBEEF));
        if (round > 0 && round <= static_cast<int>(withheld.size())) {
            Withhold(withheld[round - 1].first, withheld[round - 1].second);
        }
        if (round == static_cast<int>(withheld.size()) + 1) {
            for (int n = 1; n <= 3; ++n) {
                handles().FailAllocation(2 * n);
                handles().FailLock(3 * n);
            }
        }
        for (auto& [name, step] : steps) {
            const hostsim::CommandResult result = step();
            EXPECT_CLEAN(result) << " after " << name << " in round " << round;
        }
    }
}
