#include "cli/effect_session.h"

#include <cstring>
#include <stdexcept>

#include "cli/cli_error.h"
#include "hostsim/arbitrary_data_client.h"
#include "hostsim/frames/frame_session.h"

namespace cli {
using hostsim::ArbitraryDataClient;
using hostsim::CommandResult;
using hostsim::ParamKey;
using hostsim::ParamStore;

namespace {

const char* ErrorName(PF_Err err) {
    switch (err) {
        case PF_Err_OUT_OF_MEMORY:
            return "PF_Err_OUT_OF_MEMORY";
        case A_Err_MISSING_SUITE:
            return "A_Err_MISSING_SUITE";
        case PF_Err_INTERNAL_STRUCT_DAMAGED:
            return "PF_Err_INTERNAL_STRUCT_DAMAGED";
        case PF_Err_INVALID_INDEX:
            return "PF_Err_INVALID_INDEX";
        case PF_Err_UNRECOGNIZED_PARAM_TYPE:
            return "PF_Err_UNRECOGNIZED_PARAM_TYPE";
        case PF_Err_INVALID_CALLBACK:
            return "PF_Err_INVALID_CALLBACK";
        case PF_Err_BAD_CALLBACK_PARAM:
            return "PF_Err_BAD_CALLBACK_PARAM";
        case PF_Interrupt_CANCEL:
            return "PF_Interrupt_CANCEL";
        default:
            return nullptr;
    }
}

void Check(const CommandResult& result, const char* command) {
    if (result.err != PF_Err_NONE) {
        throw CliError(std::string("the effect failed ") + command + ": " +
                       DescribeEffectError(result.err, hostsim::ReturnMessage(result.out_data)));
    }
}

}  // namespace

std::string DescribeEffectError(PF_Err err, const std::string& return_msg) {
    std::string text = "PF_Err " + std::to_string(err);
    if (const char* name = ErrorName(err)) text += std::string(" (") + name + ")";
    if (!return_msg.empty()) text += ": " + return_msg;
    return text;
}

EffectSession::EffectSession(const std::string& plugin_path, A_long appl_id) try
    : host_(plugin_path) {
    host_.set_appl_id(appl_id);
    const CommandResult global = host_.GlobalSetup();
    Check(global, "in global setup");
    effect_version_ = global.out_data.my_version;
    Check(host_.ParamsSetup(), "in parameter setup");
    catalog_ = ParamCatalog::FromStore(host_.services().params());
    // The ramp's default as the user would write it, for the parameter listing.
    std::vector<ParamInfo> params = catalog_.params();
    for (ParamInfo& param : params) {
        if (param.kind == ParamKind::kArbitraryData) param.default_text = FormatRamp(DefaultRamp());
    }
    catalog_ = ParamCatalog(std::move(params));
} catch (const CliError&) {
    throw;
} catch (const std::exception& e) {
    // The library's own message already says what failed to load; say it once.
    const std::string what = e.what();
    const std::string loader = "cannot load plug-in ";
    throw CliError("cannot load the plug-in" +
                   (what.rfind(loader, 0) == 0 ? " " + what.substr(loader.size()) : ": " + what));
}

void EffectSession::SetValue(const ParamInfo& param, const ParamValue& value) {
    ParamStore& store = host_.services().params();
    if (param.kind == ParamKind::kColor) {
        store.SetColor(param.index, value.color);
    } else {
        store.SetValue(param.index, value.number);
    }
}

void EffectSession::Animate(const ParamInfo& param, const std::vector<TimedParamValue>& keys) {
    std::vector<ParamKey> host_keys;
    for (const TimedParamValue& key : keys) {
        ParamKey host_key;
        host_key.time = key.time;
        host_key.number = key.value.number;
        host_key.color = key.value.color;
        host_key.interpolation = key.interpolation;
        host_key.in_tangent = key.in_tangent;
        host_key.out_tangent = key.out_tangent;
        host_keys.push_back(host_key);
    }
    host_.services().params().Animate(param.index, std::move(host_keys));
}

bool EffectSession::CheckboxAt(const ParamInfo& param, long frame, double frame_rate) {
    const hostsim::TimeBase time = hostsim::TimeBaseFor(frame_rate);
    const PF_ParamDef def = host_.services().params().ValueAt(
        param.index, hostsim::FrameSeconds(static_cast<double>(frame), time));
    return def.u.bd.value != 0;
}

std::vector<RampStopValue> EffectSession::DefaultRamp() {
    const ParamInfo* ramp = catalog_.FindKind(ParamKind::kArbitraryData);
    if (ramp == nullptr) return {};
    const PF_ParamDef& def = host_.services().params().at(ramp->index).def;
    ArbitraryDataClient client(host_, def.u.arb_d.refconPV);
    FlatRamp flat{};
    if (client.Flatten(def.u.arb_d.dephault, flat.data(), kFlatRampSize) != PF_Err_NONE) {
        return {};
    }
    return UnflattenRamp(flat);
}

void EffectSession::SetRamp(const std::vector<RampStopValue>& stops) {
    const ParamInfo* ramp = catalog_.FindKind(ParamKind::kArbitraryData);
    if (ramp == nullptr) throw CliError("the effect declared no \"Color Ramp\"");
    PF_ParamDef& def = host_.services().params().at(ramp->index).def;
    ArbitraryDataClient client(host_, def.u.arb_d.refconPV);
    const FlatRamp flat = FlattenRamp(stops);
    const ArbitraryDataClient::HandleResult made = client.Unflatten(flat.data(), kFlatRampSize);
    if (made.err != PF_Err_NONE || made.handle == nullptr) {
        throw CliError(
            "the effect could not take the ramp: " +
            DescribeEffectError(made.err, hostsim::ReturnMessage(client.last().out_data)));
    }
    // The host disposes of the value it replaces through the effect, as for any edit.
    if (def.u.arb_d.value != nullptr && def.u.arb_d.value != def.u.arb_d.dephault) {
        client.Dispose(def.u.arb_d.value);
    }
    def.u.arb_d.value = made.handle;
}

FrameResult EffectSession::Render(const FrameRequest& request) {
    FrameResult result = host_.RenderFrame(request);
    if (result.err == PF_Err_OUT_OF_MEMORY) {
        throw CliError("out of memory while rendering frame " + std::to_string(request.frame) +
                       " (" + DescribeEffectError(result.err, result.return_msg) + ")");
    }
    if (result.err != PF_Err_NONE) {
        throw CliError("the effect failed to render frame " + std::to_string(request.frame) + ": " +
                       DescribeEffectError(result.err, result.return_msg));
    }
    return result;
}

}  // namespace cli
