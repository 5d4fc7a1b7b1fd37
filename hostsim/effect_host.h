// The standalone host's command driver: builds in-data, out-data and the parameter array the
// way the host application does, calls EffectMain, and audits resources after every call.
#ifndef SPIROVAULT_HOSTSIM_EFFECT_HOST_H
#define SPIROVAULT_HOSTSIM_EFFECT_HOST_H

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/pf_custom_ui.h"
#include "hostsim/effect_commands.h"
#include "hostsim/frames/frame_request.h"
#include "hostsim/plugin_library.h"

namespace hostsim {

struct EventResult : CommandResult {
    // Parameters whose entry came back with PF_ChangeFlag_CHANGED_VALUE.
    std::vector<PF_ParamIndex> changed_params;
};

class EffectHost final : public EffectCommands {
  public:
    explicit EffectHost(const std::string& plugin_path);
    ~EffectHost() override;
    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    HostServices& services() override { return *services_; }
    const PluginLibrary& library() const { return library_; }
    // kAppIdPremierePro makes the host play Premiere Pro: no general-plug-in (AEGP) suites, and
    // frames rendered through PF_Cmd_RENDER on VUYA float worlds. Any other id offers the AEGP
    // suites again (a suite withheld by hand before included).
    void set_appl_id(A_long appl_id);
    bool premiere_pro() const override { return appl_id_ == kAppIdPremierePro; }
    // Plays the host's command-line renderer: no windows and no panel, so the application and
    // custom-UI suites and the drawing suites are refused.
    void MakeHeadless();

    // The in-data of the next call, for callers that want to alter it.
    PF_InData MakeInData() override;

    // Sends a command with the host's copies of the current parameters.
    CommandResult Send(PF_Cmd cmd, void* extra = nullptr, const PF_OutData& out_data = {}) override;
    // Sends a command with the given in-data and the host's copies of the parameters at its time.
    CommandResult SendWith(PF_Cmd cmd, PF_InData* in_data, void* extra = nullptr,
                           const PF_OutData& out_data = {}) override;
    // Sends a command with the given in-data, parameter array and output world (null: an empty
    // world record).
    CommandResult SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_ParamDef* params[], void* extra,
                          const PF_OutData& out_data = {}, PF_LayerDef* output = nullptr) override;
    // The host's copies of the parameters at the in-data's time, as a command gets them.
    std::vector<PF_ParamDef> ParamCopies(const PF_InData& in_data) const override;

    CommandResult About() { return Send(PF_Cmd_ABOUT); }
    CommandResult GlobalSetup() { return Send(PF_Cmd_GLOBAL_SETUP); }
    CommandResult ParamsSetup() { return Send(PF_Cmd_PARAMS_SETUP); }
    CommandResult UserChangedParam(PF_ParamIndex index);
    // Sent only when global setup asked for it (PF_OutFlag_SEND_UPDATE_PARAMS_UI), as the host
    // application does; global setup is sent first when it has not been.
    CommandResult UpdateParamsUI();
    // PF_Cmd_EVENT with the current parameters; the effect writes its answers into the event.
    EventResult SendEvent(PF_EventExtra* event);

    // One frame through the smart-render protocol, with the parameters the store holds and the
    // composition's time base: on the CPU, or on the GPU device the request names (set up on
    // first use; set down when the host goes). As Premiere Pro, one PF_Cmd_RENDER on the CPU
    // with VUYA float worlds, whatever the request's depths and GPU say. Sends global and parameter
    // setup first when they have not been sent. Throws std::invalid_argument for a request without
    // pixels and std::runtime_error, saying why, for a GPU framework the machine has no device of.
    // Several threads may render frames at once, as the host application's multi-frame
    // rendering does; each frame's audit leaves out what the other frames in progress hold.
    FrameResult RenderFrame(const FrameRequest& request);

    // What the effect left behind outside the frames in progress.
    ResourceAudit Audit() const override { return AuditFor(nullptr); }
    // The same, counting what `frame` (in progress) holds, but not its worlds.
    ResourceAudit AuditFor(const FrameSession* frame) const;

  private:
    // Global and parameter setup, each unless already done; callers hold setup_mutex_.
    CommandResult EnsureSetUp();

    PluginLibrary library_;
    std::unique_ptr<HostServices> services_;
    A_long appl_id_ = kAppIdAfterEffects;
    std::atomic<bool> global_setup_done_{false};
    // What global setup handed back: the effect's global data and out flags.
    std::atomic<PF_Handle> global_data_{nullptr};
    std::atomic<PF_OutFlags> global_out_flags_{0};
    std::mutex setup_mutex_;  // the first frames of several threads set up once
};

}  // namespace hostsim

#endif
