#include "hostsim/effect_host.h"

#include "host/pf_app_suites.h"
#include "host/pf_utility_suite.h"
#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/frames/frame_session.h"
#include "hostsim/gpu_devices/gpu_device_commands.h"
#include "hostsim/param_definition_guard.h"
#include "hostsim/record_canary.h"

namespace hostsim {

EffectHost::EffectHost(const std::string& plugin_path)
    : library_(plugin_path), services_(std::make_unique<HostServices>()) {}

// The host tears its GPU devices down, then the effect's global data, before it unloads it.
EffectHost::~EffectHost() {
    SetDownGpuDevices(*this);
    if (global_setup_done_) Send(PF_Cmd_GLOBAL_SETDOWN);
}

void EffectHost::set_appl_id(A_long appl_id) {
    appl_id_ = appl_id;
    services_->suites().SetAvailabilityOfFamily(
        "AEGP ", premiere_pro() ? SuiteRegistry::Availability::kWithheld
                                : SuiteRegistry::Availability::kProvided);
    services_->suites().SetAvailability(kPFUtilitySuite, kPFUtilitySuiteVersion4,
                                        premiere_pro() ? SuiteRegistry::Availability::kProvided
                                                       : SuiteRegistry::Availability::kWithheld);
}

void EffectHost::MakeHeadless() {
    SuiteRegistry& suites = services_->suites();
    for (const char* family : {kPFAppSuite, kPFEffectCustomUISuite, "DRAWBOT "}) {
        suites.SetAvailabilityOfFamily(family, SuiteRegistry::Availability::kWithheld);
    }
}

PF_InData EffectHost::MakeInData() {
    PF_InData in{};
    in.inter = StandaloneInteractCallbacks();
    in.utils = StandaloneUtilCallbacks();
    in.effect_ref = services_->EffectRef();
    in.version = PF_SpecVersion{13, 27};
    in.appl_id = appl_id_;
    in.num_params = static_cast<A_long>(services_->params().size());
    in.time_step = 1;
    in.local_time_step = 1;
    in.time_scale = 24;
    in.downsample_x = in.downsample_y = in.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in.pica_basicP = HostServices::BasicSuite();
    in.global_data = global_data_;
    return in;
}

CommandResult EffectHost::Send(PF_Cmd cmd, void* extra, const PF_OutData& out_data) {
    PF_InData in = MakeInData();
    return SendWith(cmd, &in, extra, out_data);
}

namespace {

// The effect gets copies at the in-data's time; what it changes reaches the host only through
// callbacks and, after events, the copies' change flags.
std::vector<PF_ParamDef> ParamCopiesAt(const ParamStore& store, const PF_InData& in_data) {
    const double seconds = in_data.time_scale != 0
                               ? static_cast<double>(in_data.current_time) / in_data.time_scale
                               : 0.0;
    std::vector<PF_ParamDef> copies;
    copies.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) copies.push_back(store.ValueAt(i, seconds));
    return copies;
}

std::vector<PF_ParamDef*> Pointers(std::vector<PF_ParamDef>& copies) {
    std::vector<PF_ParamDef*> params;
    for (PF_ParamDef& def : copies) params.push_back(&def);
    return params;
}

// A command that changed a params[] definition in place fails, as it would corrupt the host.
void RejectChangedDefinitions(const ParamDefinitionGuard& guard,
                              const std::vector<PF_ParamDef>& copies, CommandResult* result) {
    result->audit.param_definition_changes = guard.ChangedCount(copies);
    if (result->audit.param_definition_changes > 0 && result->err == PF_Err_NONE) {
        result->err = PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

}  // namespace

std::vector<PF_ParamDef> EffectHost::ParamCopies(const PF_InData& in_data) const {
    return ParamCopiesAt(services_->params(), in_data);
}

CommandResult EffectHost::SendWith(PF_Cmd cmd, PF_InData* in_data, void* extra,
                                   const PF_OutData& out_data) {
    std::vector<PF_ParamDef> copies = ParamCopies(*in_data);
    std::vector<PF_ParamDef*> params = Pointers(copies);
    const ParamDefinitionGuard guard(copies);
    CommandResult result = SendRaw(cmd, in_data, params.data(), extra, out_data);
    RejectChangedDefinitions(guard, copies, &result);
    if (cmd == PF_Cmd_GLOBAL_SETUP && result.err == PF_Err_NONE) {
        // The host keeps the global data and hands it back with every later command.
        global_data_ = result.out_data.global_data;
        global_out_flags_ = result.out_data.out_flags;
        global_setup_done_ = true;
    }
    if (cmd == PF_Cmd_GLOBAL_SETDOWN) {
        global_data_ = nullptr;
        global_setup_done_ = false;
    }
    return result;
}

CommandResult EffectHost::UpdateParamsUI() {
    if (!global_setup_done_) {
        const CommandResult setup = GlobalSetup();
        if (setup.err != PF_Err_NONE) return setup;
    }
    // The selector goes only to effects whose global setup asked for it.
    if ((global_out_flags_ & PF_OutFlag_SEND_UPDATE_PARAMS_UI) == 0) {
        CommandResult not_sent;
        not_sent.audit = Audit();
        return not_sent;
    }
    return Send(PF_Cmd_UPDATE_PARAMS_UI);
}

CommandResult EffectHost::EnsureSetUp() {
    CommandResult result;
    if (!global_setup_done_) result = GlobalSetup();
    // The store holds only the input layer until the effect declared its parameters.
    if (result.err == PF_Err_NONE && services_->params().size() <= 1) result = ParamsSetup();
    return result;
}

EventResult EffectHost::SendEvent(PF_EventExtra* event) {
    PF_InData in = MakeInData();
    std::vector<PF_ParamDef> copies = ParamCopiesAt(services_->params(), in);
    for (PF_ParamDef& def : copies) def.uu.change_flags = PF_ChangeFlag_NONE;
    std::vector<PF_ParamDef*> params = Pointers(copies);
    const ParamDefinitionGuard guard(copies);
    GuardedRecord<PF_EventExtra> guarded(*event);
    EventResult result;
    static_cast<CommandResult&>(result) =
        SendRaw(PF_Cmd_EVENT, &in, params.data(), &guarded.record);
    *event = guarded.record;
    if (!guarded.intact()) result.audit.record_overruns = 1;
    RejectChangedDefinitions(guard, copies, &result);
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) {
            result.changed_params.push_back(static_cast<PF_ParamIndex>(i));
        }
    }
    return result;
}

CommandResult EffectHost::SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_ParamDef* params[],
                                  void* extra, const PF_OutData& out_data, PF_LayerDef* output) {
    CommandResult result;
    result.out_data = out_data;
    PF_LayerDef no_output{};
    // A frame's in-data names the frame; what the effect takes during the call is the frame's.
    FrameSession* frame = nullptr;
    if (in_data != nullptr && HostServices::FromEffectRef(in_data->effect_ref) == services_.get()) {
        frame = HostServices::FrameOfEffectRef(in_data->effect_ref);
    }
    {
        ActiveServicesScope active(services_.get(), frame);
        // Held over the effect's call only: the host's own bookkeeping comes after.
        std::unique_lock<std::recursive_mutex> host_lock;
        if (frame != nullptr && frame->host_holds_handle_lock()) {
            host_lock = services_->handles().HoldLock();
        }
        result.err = library_.effect_main()(cmd, in_data, &result.out_data, params,
                                            output != nullptr ? output : &no_output, extra);
    }
    // The host keeps the effect's global data from global setup to setdown.
    if (cmd == PF_Cmd_GLOBAL_SETUP && result.err == PF_Err_NONE &&
        result.out_data.global_data != nullptr) {
        services_->handles().MarkHostOwned(result.out_data.global_data);
    }
    result.audit = AuditFor(frame);
    return result;
}

CommandResult EffectHost::UserChangedParam(PF_ParamIndex index) {
    PF_UserChangedParamExtra extra{index};
    return Send(PF_Cmd_USER_CHANGED_PARAM, &extra);
}

ResourceAudit EffectHost::AuditFor(const FrameSession* frame) const {
    RenderState& render = services_->render();
    return render.WithFramesInProgress([&](const HolderSet& in_progress) {
        HolderSet others = in_progress;
        others.erase(frame);
        ResourceAudit audit;
        audit.suites_held = services_->suites().Outstanding(others);
        audit.leaked_handles = services_->handles().UnownedLiveCount(others);
        audit.locked_handles = services_->handles().LockedCount(others);
        audit.outstanding_checkouts = services_->params().outstanding_checkouts(others);
        audit.outstanding_layer_checkouts = render.layer_checkouts(others);
        // The worlds of a frame still in progress are not left over.
        audit.live_worlds = render.worlds.LiveCount(in_progress);
        audit.stray_suite_releases = services_->suites().StrayReleases();
        audit.handle_misuses = services_->handles().Misuses();
        audit.live_drawing_objects = services_->drawbot().LiveObjects();
        audit.drawing_misuses = services_->drawbot().misuses();
        const CompositionHandles& comp = services_->comp_handles();
        audit.open_aegp_streams = comp.open_streams(others) + comp.open_values(others);
        audit.aegp_misuses = comp.misuses();
        audit.device_memory_blocks = services_->gpu().effect_blocks(others);
        audit.device_memory_misuses = services_->gpu().effect_memory_misuses();
        return audit;
    });
}

}  // namespace hostsim
