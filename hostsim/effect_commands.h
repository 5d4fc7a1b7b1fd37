// What the host's frame and GPU device helpers need of it: the effect instance's services and a
// way to send the effect a command. They take this, not the whole EffectHost, so that the host
// can own and drive them without the two depending on each other.
#ifndef SPIROVAULT_HOSTSIM_EFFECT_COMMANDS_H
#define SPIROVAULT_HOSTSIM_EFFECT_COMMANDS_H

#include <cstring>
#include <string>
#include <vector>

#include "host/pf_commands.h"
#include "host/pf_in_out_data.h"
#include "hostsim/host_services.h"
#include "hostsim/resource_audit.h"

namespace hostsim {

struct CommandResult {
    PF_Err err = PF_Err_NONE;
    PF_OutData out_data{};
    ResourceAudit audit;
};

// The effect's return_msg as text; the host reads no further than the field's end.
inline std::string ReturnMessage(const PF_OutData& out_data) {
    return std::string(out_data.return_msg,
                       strnlen(out_data.return_msg, sizeof out_data.return_msg));
}

class EffectCommands {
  public:
    virtual ~EffectCommands() = default;

    virtual HostServices& services() = 0;
    // The host plays Premiere Pro.
    virtual bool premiere_pro() const = 0;
    // The in-data of the next call.
    virtual PF_InData MakeInData() = 0;
    // Sends a command with fresh in-data and the host's copies of the current parameters.
    virtual CommandResult Send(PF_Cmd cmd, void* extra, const PF_OutData& out_data) = 0;
    // Sends a command with the given in-data and the host's copies of the parameters at its time.
    virtual CommandResult SendWith(PF_Cmd cmd, PF_InData* in_data, void* extra,
                                   const PF_OutData& out_data) = 0;
    // Sends a command with the given in-data, parameter array and output world (null: an empty
    // world record).
    virtual CommandResult SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_ParamDef* params[],
                                  void* extra, const PF_OutData& out_data, PF_LayerDef* output) = 0;
    // The host's copies of the parameters at the in-data's time, as a command gets them.
    virtual std::vector<PF_ParamDef> ParamCopies(const PF_InData& in_data) const = 0;
    // What the effect left behind outside the frames in progress.
    virtual ResourceAudit Audit() const = 0;
};

}  // namespace hostsim

#endif
