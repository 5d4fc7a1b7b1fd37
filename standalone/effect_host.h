// The standalone host's command driver: builds in-data, out-data and the parameter array the
// way the host application does, calls EffectMain, and audits resources after every call.
#ifndef SPIROVAULT_STANDALONE_EFFECT_HOST_H
#define SPIROVAULT_STANDALONE_EFFECT_HOST_H

#include <memory>
#include <string>
#include <vector>

#include "host/pf_commands.h"
#include "host/pf_custom_ui.h"
#include "host/pf_in_out_data.h"
#include "standalone/host_services.h"
#include "standalone/plugin_library.h"

// What a command left behind. A well-behaved effect leaves nothing.
struct ResourceAudit {
    std::vector<std::string> suites_held;
    size_t leaked_handles = 0;  // live and not kept by the host
    size_t locked_handles = 0;
    int outstanding_checkouts = 0;
    int stray_suite_releases = 0;
    int handle_misuses = 0;
    size_t live_drawing_objects = 0;  // pens, brushes, paths and fonts not released
    int drawing_misuses = 0;          // unknown Drawbot references
    int open_aegp_streams = 0;        // stream references and values not disposed of
    int aegp_misuses = 0;             // disposals of streams or values that were not open

    bool clean() const {
        return suites_held.empty() && leaked_handles == 0 && locked_handles == 0 &&
               outstanding_checkouts == 0 && stray_suite_releases == 0 && handle_misuses == 0 &&
               live_drawing_objects == 0 && drawing_misuses == 0 && open_aegp_streams == 0 &&
               aegp_misuses == 0;
    }
    std::string Describe() const;
};

struct CommandResult {
    PF_Err err = PF_Err_NONE;
    PF_OutData out_data{};
    ResourceAudit audit;
};

struct EventResult : CommandResult {
    // Parameters whose entry came back with PF_ChangeFlag_CHANGED_VALUE.
    std::vector<PF_ParamIndex> changed_params;
};

class EffectHost {
  public:
    explicit EffectHost(const std::string& plugin_path);
    ~EffectHost();
    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    HostServices& services() { return *services_; }
    const PluginLibrary& library() const { return library_; }
    void set_appl_id(A_long appl_id) { appl_id_ = appl_id; }

    // The in-data of the next call, for callers that want to alter it.
    PF_InData MakeInData();

    // Sends a command with the host's copies of the current parameters.
    CommandResult Send(PF_Cmd cmd, void* extra = nullptr, const PF_OutData& out_data = {});
    // Sends a command with the given in-data and parameter array.
    CommandResult SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_ParamDef* params[], void* extra,
                          const PF_OutData& out_data = {});

    CommandResult About() { return Send(PF_Cmd_ABOUT); }
    CommandResult GlobalSetup() { return Send(PF_Cmd_GLOBAL_SETUP); }
    CommandResult ParamsSetup() { return Send(PF_Cmd_PARAMS_SETUP); }
    CommandResult UserChangedParam(PF_ParamIndex index);
    CommandResult UpdateParamsUI() { return Send(PF_Cmd_UPDATE_PARAMS_UI); }
    // PF_Cmd_EVENT with the current parameters; the effect writes its answers into the event.
    EventResult SendEvent(PF_EventExtra* event);

    ResourceAudit Audit() const;

  private:
    PluginLibrary library_;
    std::unique_ptr<HostServices> services_;
    A_long appl_id_ = kAppIdAfterEffects;
};

#endif
