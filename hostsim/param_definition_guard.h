// The host forbids an effect to change the definition of its own params[] entries (flags,
// UI flags, name, size, type): a changed definition goes through PF_UpdateParamUI as a copy.
// This remembers the definitions handed to a command and counts those changed in place.
#ifndef SPIROVAULT_HOSTSIM_PARAM_DEFINITION_GUARD_H
#define SPIROVAULT_HOSTSIM_PARAM_DEFINITION_GUARD_H

#include <vector>

#include "host/pf_param_def.h"

namespace hostsim {

class ParamDefinitionGuard {
  public:
    explicit ParamDefinitionGuard(const std::vector<PF_ParamDef>& handed_out);
    // How many of the entries differ from what was handed out in a definition member.
    int ChangedCount(const std::vector<PF_ParamDef>& after) const;

  private:
    std::vector<PF_ParamDef> before_;
};

}  // namespace hostsim

#endif
