// The enabled state of the dependent parameters follows their checkboxes.
#include <gtest/gtest.h>

#include "host/pf_param_utils_suite.h"
#include "tests/support/plugin_host_fixture.h"

namespace {

using namespace hostsim;

const std::vector<PF_ParamIndex> kDependents = {11, 12, 13, 15, 58, 59};

}  // namespace

class ParamUiState : public PluginHostTest {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    }
    void SetCheckbox(int index, bool on) { params().at(index).def.u.bd.value = on ? 1 : 0; }
    bool Disabled(int index) { return (params().at(index).def.ui_flags & PF_PUI_DISABLED) != 0; }
    std::vector<PF_ParamIndex> UpdatedIndices() {
        std::vector<PF_ParamIndex> indices;
        for (const ParamUiUpdate& u : params().ui_updates()) indices.push_back(u.index);
        return indices;
    }
};

TEST_F(ParamUiState, DefaultsDisableAllSixOnUpdate) {
    const CommandResult result = host().UpdateParamsUI();
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(UpdatedIndices(), kDependents);
    for (PF_ParamIndex i : kDependents) EXPECT_TRUE(Disabled(i)) << i;
    EXPECT_EQ(suites().CountsFor(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3).acquires, 1);
    EXPECT_CLEAN(result);
}

TEST_F(ParamUiState, CheckboxChangesResendAllSixAndKeepValuesAndOtherFlags) {
    params().at(12).def.u.fs_d.value = 0.75;
    params().at(12).def.ui_flags |= PF_PUI_INVISIBLE;
    SetCheckbox(10, true);
    EXPECT_EQ(host().UserChangedParam(10).err, PF_Err_NONE);
    EXPECT_EQ(UpdatedIndices(), kDependents);
    for (PF_ParamIndex i : {11, 12, 13}) EXPECT_FALSE(Disabled(i)) << i;
    for (PF_ParamIndex i : {15, 58, 59}) EXPECT_TRUE(Disabled(i)) << i;
    EXPECT_EQ(params().at(12).def.u.fs_d.value, 0.75);
    EXPECT_NE(params().at(12).def.ui_flags & PF_PUI_INVISIBLE, 0);

    params().ClearUiUpdates();
    SetCheckbox(14, true);
    SetCheckbox(57, true);
    EXPECT_EQ(host().UserChangedParam(14).err, PF_Err_NONE);
    EXPECT_EQ(UpdatedIndices(), kDependents);
    for (PF_ParamIndex i : kDependents) EXPECT_FALSE(Disabled(i)) << i;

    params().ClearUiUpdates();
    SetCheckbox(10, false);
    EXPECT_EQ(host().UserChangedParam(57).err, PF_Err_NONE);
    EXPECT_EQ(UpdatedIndices(), kDependents);
    for (PF_ParamIndex i : {11, 12, 13}) EXPECT_TRUE(Disabled(i)) << i;
    EXPECT_EQ(params().at(12).def.u.fs_d.value, 0.75);
}

TEST_F(ParamUiState, OtherParametersTriggerNoUpdate) {
    for (PF_ParamIndex index : {0, 1, 11, 15, 51, 56, 58, 60, 61, -1, 1000}) {
        const CommandResult result = host().UserChangedParam(index);
        EXPECT_EQ(result.err, PF_Err_NONE) << index;
        EXPECT_CLEAN(result);
    }
    EXPECT_TRUE(params().ui_updates().empty());
    EXPECT_EQ(suites().CountsFor(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3).acquires, 0);
}

TEST_F(ParamUiState, WithheldSuiteGives516AndReachesNoParameter) {
    for (auto availability :
         {SuiteRegistry::Availability::kWithheld, SuiteRegistry::Availability::kNullPointer}) {
        suites().SetAvailability(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, availability);
        SetCheckbox(10, true);
        EXPECT_EQ(host().UserChangedParam(10).err, PF_Err_BAD_CALLBACK_PARAM);
        const CommandResult result = host().UpdateParamsUI();
        EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_TRUE(params().ui_updates().empty());
        EXPECT_EQ(result.out_data.return_msg[0], '\0');
        EXPECT_CLEAN(result);
    }
}

TEST_F(ParamUiState, ShortParameterArrayIsRefusedNotOverrun) {
    // An instance whose parameter setup stopped early has fewer entries than the table.
    host_ = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
    params().FailAdd(12, PF_Err_OUT_OF_MEMORY);
    ASSERT_EQ(host().ParamsSetup().err, PF_Err_OUT_OF_MEMORY);
    for (PF_ParamIndex changed : {10, 14, 57}) {
        const CommandResult result = host().UserChangedParam(changed);
        EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_CLEAN(result);
    }
    EXPECT_EQ(host().UpdateParamsUI().err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(params().ui_updates().empty());
}
