// The stand-in host's guards against an effect that misreads the host's records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/pf_custom_ui.h"
#include "hostsim/param_definition_guard.h"
#include "hostsim/record_canary.h"

namespace {

using namespace hostsim;

TEST(GuardedRecord, AWriteOnePastTheRecordIsSeenAndInsideItIsNot) {
    GuardedRecord<PF_EventExtra> guarded(PF_EventExtra{});
    guarded.record.evt_out_flags = PF_EO_HANDLED_EVENT;
    EXPECT_TRUE(guarded.intact());
    // Where a record laid out 16 bytes too long would put its out flags.
    auto* bytes = reinterpret_cast<unsigned char*>(&guarded.record);
    bytes[sizeof(PF_EventExtra) + 16] = 0x01;
    EXPECT_FALSE(guarded.intact());
}

TEST(ParamDefinitionGuard, CountsDefinitionsChangedInPlaceButNotValues) {
    std::vector<PF_ParamDef> handed(3);
    for (PF_ParamDef& def : handed) def.param_type = PF_Param_FLOAT_SLIDER;
    const ParamDefinitionGuard guard(handed);
    std::vector<PF_ParamDef> after = handed;
    after[0].u.fs_d.value = 2.0;  // values may change
    after[0].uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    EXPECT_EQ(guard.ChangedCount(after), 0);
    after[1].ui_flags |= PF_PUI_DISABLED;
    std::strcpy(after[2].name, "Renamed");
    EXPECT_EQ(guard.ChangedCount(after), 2);
}

}  // namespace
