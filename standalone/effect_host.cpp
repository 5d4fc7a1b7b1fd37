#include "standalone/effect_host.h"

#include "standalone/callbacks/host_callbacks.h"

std::string ResourceAudit::Describe() const {
    std::string text;
    for (const std::string& suite : suites_held) text += "held suite " + suite + "; ";
    text += "leaked handles " + std::to_string(leaked_handles) + ", locked handles " +
            std::to_string(locked_handles) + ", check-outs " +
            std::to_string(outstanding_checkouts) + ", stray releases " +
            std::to_string(stray_suite_releases) + ", handle misuses " +
            std::to_string(handle_misuses) + ", drawing objects " +
            std::to_string(live_drawing_objects) + ", drawing misuses " +
            std::to_string(drawing_misuses) + ", open streams " +
            std::to_string(open_aegp_streams) + ", stream misuses " + std::to_string(aegp_misuses);
    return text;
}

EffectHost::EffectHost(const std::string& plugin_path)
    : library_(plugin_path), services_(std::make_unique<HostServices>()) {}

EffectHost::~EffectHost() = default;

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
    return in;
}

namespace {

// The effect gets copies; what it changes reaches the host only through callbacks and, after
// events, the copies' change flags.
std::vector<PF_ParamDef> ParamCopies(ParamStore& store) {
    std::vector<PF_ParamDef> copies;
    copies.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) copies.push_back(store.at(i).def);
    return copies;
}

std::vector<PF_ParamDef*> Pointers(std::vector<PF_ParamDef>& copies) {
    std::vector<PF_ParamDef*> params;
    for (PF_ParamDef& def : copies) params.push_back(&def);
    return params;
}

}  // namespace

CommandResult EffectHost::Send(PF_Cmd cmd, void* extra, const PF_OutData& out_data) {
    std::vector<PF_ParamDef> copies = ParamCopies(services_->params());
    std::vector<PF_ParamDef*> params = Pointers(copies);
    PF_InData in = MakeInData();
    return SendRaw(cmd, &in, params.data(), extra, out_data);
}

EventResult EffectHost::SendEvent(PF_EventExtra* event) {
    std::vector<PF_ParamDef> copies = ParamCopies(services_->params());
    for (PF_ParamDef& def : copies) def.uu.change_flags = PF_ChangeFlag_NONE;
    std::vector<PF_ParamDef*> params = Pointers(copies);
    PF_InData in = MakeInData();
    EventResult result;
    static_cast<CommandResult&>(result) = SendRaw(PF_Cmd_EVENT, &in, params.data(), event);
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) {
            result.changed_params.push_back(static_cast<PF_ParamIndex>(i));
        }
    }
    return result;
}

CommandResult EffectHost::SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_ParamDef* params[],
                                  void* extra, const PF_OutData& out_data) {
    CommandResult result;
    result.out_data = out_data;
    PF_LayerDef output{};
    {
        ActiveServicesScope active(services_.get());
        result.err = library_.effect_main()(cmd, in_data, &result.out_data, params, &output, extra);
    }
    result.audit = Audit();
    return result;
}

CommandResult EffectHost::UserChangedParam(PF_ParamIndex index) {
    PF_UserChangedParamExtra extra{index};
    return Send(PF_Cmd_USER_CHANGED_PARAM, &extra);
}

ResourceAudit EffectHost::Audit() const {
    ResourceAudit audit;
    audit.suites_held = services_->suites().Outstanding();
    audit.leaked_handles = services_->handles().UnownedLiveCount();
    audit.locked_handles = services_->handles().LockedCount();
    audit.outstanding_checkouts = services_->params().outstanding_checkouts();
    audit.stray_suite_releases = services_->suites().StrayReleases();
    audit.handle_misuses = services_->handles().Misuses();
    audit.live_drawing_objects = services_->drawbot().LiveObjects();
    audit.drawing_misuses = services_->drawbot().misuses();
    const CompositionHandles& comp = services_->comp_handles();
    audit.open_aegp_streams = comp.open_streams() + comp.open_values();
    audit.aegp_misuses = comp.misuses();
    return audit;
}
