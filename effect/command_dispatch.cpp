#include "effect/command_dispatch.h"

#include <array>

#include "device/gpu/gpu_device_setup.h"
#include "effect/command_handlers.h"
#include "effect/param_ui_state.h"
#include "frame/premiere_render.h"
#include "frame/smart_pre_render.h"
#include "frame/smart_render.h"
#include "params/param_dependencies.h"
#include "params/param_table.h"
#include "ramp/arbitrary_data.h"
#include "ramp/editor/ramp_editor_events.h"

namespace spirovault {

namespace {

struct CommandArgs {
    PF_InData* in_data;
    PF_OutData* out_data;
    PF_ParamDef** params;
    PF_LayerDef* output;
    void* extra;
};

using CommandHandler = PF_Err (*)(const CommandArgs&);

PF_Err OnAbout(const CommandArgs& a) {
    return About(a.in_data, a.out_data);
}
PF_Err OnGlobalSetup(const CommandArgs& a) {
    return GlobalSetup(a.in_data, a.out_data, a.params);
}
PF_Err OnGlobalSetdown(const CommandArgs& a) {
    return GlobalSetdown(a.in_data, a.out_data);
}
PF_Err OnParamsSetup(const CommandArgs& a) {
    return ParamsSetup(a.in_data, a.out_data, a.params);
}
// Sent by Premiere Pro, which does not use smart render.
PF_Err OnRender(const CommandArgs& a) {
    return PremiereRender(a.in_data, a.out_data, a.params, a.output);
}
PF_Err OnUserChangedParam(const CommandArgs& a) {
    const auto* changed = static_cast<const PF_UserChangedParamExtra*>(a.extra);
    if (changed != nullptr && IsControllingCheckbox(changed->param_index)) {
        UpdateDependentParamsUI(a.in_data, a.params);
    }
    return PF_Err_NONE;
}
PF_Err OnUpdateParamsUI(const CommandArgs& a) {
    UpdateDependentParamsUI(a.in_data, a.params);
    return PF_Err_NONE;
}
PF_Err OnEvent(const CommandArgs& a) {
    auto* event = static_cast<PF_EventExtra*>(a.extra);
    if (event == nullptr) return PF_Err_NONE;
    switch (event->e_type) {
        case PF_Event_DO_CLICK:
            return DoRampClick(a.in_data, a.out_data, a.params, a.output, event,
                               kColorRampParamIndex);
        case PF_Event_DRAG:
            return DoRampDrag(a.in_data, a.out_data, a.params, a.output, event,
                              kColorRampParamIndex);
        case PF_Event_DRAW:
            return DrawRampEditor(a.in_data, a.out_data, a.params, a.output, event,
                                  kColorRampParamIndex);
        case PF_Event_ADJUST_CURSOR:
            return AdjustRampCursor(a.in_data, a.out_data, a.params, a.output, event,
                                    kColorRampParamIndex);
        default:
            return PF_Err_NONE;
    }
}
PF_Err OnArbitraryCallback(const CommandArgs& a) {
    return HandleArbitraryCallback(a.in_data, a.out_data, a.params, a.output,
                                   static_cast<PF_ArbParamsExtra*>(a.extra));
}
PF_Err OnSmartPreRender(const CommandArgs& a) {
    return SmartPreRender(a.in_data, a.out_data, static_cast<PF_PreRenderExtra*>(a.extra));
}
PF_Err OnSmartRender(const CommandArgs& a) {
    return SmartRender(a.in_data, a.out_data, static_cast<PF_SmartRenderExtra*>(a.extra), false);
}
PF_Err OnSmartRenderGpu(const CommandArgs& a) {
    return SmartRender(a.in_data, a.out_data, static_cast<PF_SmartRenderExtra*>(a.extra), true);
}
PF_Err OnGpuDeviceSetup(const CommandArgs& a) {
    return GPUDeviceSetup(a.in_data, a.out_data, static_cast<PF_GPUDeviceSetupExtra*>(a.extra));
}
PF_Err OnGpuDeviceSetdown(const CommandArgs& a) {
    return GPUDeviceSetdown(a.in_data, a.out_data, static_cast<PF_GPUDeviceSetdownExtra*>(a.extra));
}

constexpr std::array<CommandHandler, PF_Cmd_NUM_CMDS> MakeCommandTable() {
    std::array<CommandHandler, PF_Cmd_NUM_CMDS> table{};
    table[PF_Cmd_ABOUT] = OnAbout;
    table[PF_Cmd_GLOBAL_SETUP] = OnGlobalSetup;
    table[PF_Cmd_GLOBAL_SETDOWN] = OnGlobalSetdown;
    table[PF_Cmd_PARAMS_SETUP] = OnParamsSetup;
    table[PF_Cmd_RENDER] = OnRender;
    table[PF_Cmd_USER_CHANGED_PARAM] = OnUserChangedParam;
    table[PF_Cmd_UPDATE_PARAMS_UI] = OnUpdateParamsUI;
    table[PF_Cmd_EVENT] = OnEvent;
    table[PF_Cmd_ARBITRARY_CALLBACK] = OnArbitraryCallback;
    table[PF_Cmd_SMART_PRE_RENDER] = OnSmartPreRender;
    table[PF_Cmd_SMART_RENDER] = OnSmartRender;
    table[PF_Cmd_SMART_RENDER_GPU] = OnSmartRenderGpu;
    table[PF_Cmd_GPU_DEVICE_SETUP] = OnGpuDeviceSetup;
    table[PF_Cmd_GPU_DEVICE_SETDOWN] = OnGpuDeviceSetdown;
    return table;
}

constexpr std::array<CommandHandler, PF_Cmd_NUM_CMDS> kCommandTable = MakeCommandTable();

}  // namespace

PF_Err DispatchCommand(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                       PF_LayerDef* output, void* extra) {
    // Unsigned, so negative codes fall beyond the table.
    const auto code = static_cast<A_u_long>(cmd);
    if (code >= kCommandTable.size() || kCommandTable[code] == nullptr) return PF_Err_NONE;
    // Every handled command works through the in-data's callbacks and reports in out_data.
    if (in_data == nullptr || out_data == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return kCommandTable[code](CommandArgs{in_data, out_data, params, output, extra});
}

}  // namespace spirovault
