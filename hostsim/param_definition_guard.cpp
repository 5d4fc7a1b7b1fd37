#include "hostsim/param_definition_guard.h"

#include <cstring>

namespace hostsim {

namespace {

bool SameDefinition(const PF_ParamDef& a, const PF_ParamDef& b) {
    return a.ui_flags == b.ui_flags && a.ui_width == b.ui_width && a.ui_height == b.ui_height &&
           a.param_type == b.param_type && a.flags == b.flags &&
           std::memcmp(a.name, b.name, sizeof(a.name)) == 0;
}

}  // namespace

ParamDefinitionGuard::ParamDefinitionGuard(const std::vector<PF_ParamDef>& handed_out)
    : before_(handed_out) {}

int ParamDefinitionGuard::ChangedCount(const std::vector<PF_ParamDef>& after) const {
    int changed = 0;
    for (size_t i = 0; i < before_.size() && i < after.size(); ++i) {
        if (!SameDefinition(before_[i], after[i])) ++changed;
    }
    return changed;
}

}  // namespace hostsim
