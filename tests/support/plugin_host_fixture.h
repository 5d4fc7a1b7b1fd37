// Loads the built plug-in into a fresh standalone host for each test.
#ifndef SPIROVAULT_TESTS_SUPPORT_PLUGIN_HOST_FIXTURE_H
#define SPIROVAULT_TESTS_SUPPORT_PLUGIN_HOST_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>

#include "hostsim/effect_host.h"

class PluginHostTest : public ::testing::Test {
  protected:
    void SetUp() override { host_ = std::make_unique<hostsim::EffectHost>(SPIROVAULT_PLUGIN_PATH); }
    void TearDown() override {
        if (host_) {
            const hostsim::ResourceAudit audit = host_->Audit();
            EXPECT_TRUE(audit.clean()) << audit.Describe();
        }
    }

    hostsim::EffectHost& host() { return *host_; }
    hostsim::HandleHeap& handles() { return host_->services().handles(); }
    hostsim::SuiteRegistry& suites() { return host_->services().suites(); }
    hostsim::ParamStore& params() { return host_->services().params(); }

    void Withhold(const char* name, int32_t version) {
        suites().SetAvailability(name, version, hostsim::SuiteRegistry::Availability::kWithheld);
    }

    std::unique_ptr<hostsim::EffectHost> host_;
};

#define EXPECT_CLEAN(result) EXPECT_TRUE((result).audit.clean()) << (result).audit.Describe()

#endif
