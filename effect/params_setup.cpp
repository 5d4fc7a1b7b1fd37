#include <cstring>

#include "effect/command_handlers.h"
#include "host/pf_error.h"
#include "params/param_table.h"
#include "ramp/ramp_handle.h"
#include "ramp/ramp_param.h"

namespace spirovault {

namespace {

constexpr PF_FpShort kCurveTolerance = 0.05f;

void CopyName(PF_InData* in_data, const char* name, PF_ParamDef* def) {
    if (name == nullptr) return;
    if (std::strlen(name) > PF_MAX_EFFECT_PARAM_NAME_LEN)
        throw PfError(PF_Err_INTERNAL_STRUCT_DAMAGED);
    in_data->utils->ansi.strcpy(def->name, name);
}

PF_ParamFlags Flags(const ParamSpec& spec) {
    return (spec.collapsed ? PF_ParamFlag_COLLAPSE_TWIRLY : 0) |
           (spec.supervised ? PF_ParamFlag_SUPERVISE : 0);
}

// Fills the type-specific part of a definition from its table row.
void FillDefinition(const ParamSpec& spec, PF_Handle ramp_default, PF_ParamDef* def) {
    switch (spec.kind) {
        case ParamKind::kLayer:
            def->param_type = PF_Param_LAYER;
            def->u.ld.dephault = PF_LayerDefault_NONE;
            break;
        case ParamKind::kFloatSlider: {
            def->param_type = PF_Param_FLOAT_SLIDER;
            PF_FloatSliderDef& fs = def->u.fs_d;
            fs.value = static_cast<PF_FpLong>(spec.default_value);
            fs.dephault = spec.default_value;
            fs.valid_min = spec.valid_min;
            fs.valid_max = spec.valid_max;
            fs.slider_min = spec.slider_min;
            fs.slider_max = spec.slider_max;
            fs.precision = static_cast<A_short>(spec.precision);
            fs.curve_tolerance = kCurveTolerance;
            break;
        }
        case ParamKind::kIntSlider: {
            def->param_type = PF_Param_SLIDER;
            PF_SliderDef& sd = def->u.sd;
            sd.value = static_cast<PF_ParamValue>(spec.default_value);
            sd.dephault = sd.value;
            sd.valid_min = static_cast<PF_ParamValue>(spec.valid_min);
            sd.valid_max = static_cast<PF_ParamValue>(spec.valid_max);
            sd.slider_min = static_cast<PF_ParamValue>(spec.slider_min);
            sd.slider_max = static_cast<PF_ParamValue>(spec.slider_max);
            break;
        }
        case ParamKind::kAngle:
            def->param_type = PF_Param_ANGLE;
            break;
        case ParamKind::kCheckbox:
            def->param_type = PF_Param_CHECKBOX;
            def->u.bd.u.nameptr = "";
            break;
        case ParamKind::kPopup:
            def->param_type = PF_Param_POPUP;
            def->u.pd.value = static_cast<PF_ParamValue>(spec.default_value);
            def->u.pd.dephault = static_cast<A_short>(spec.default_value);
            def->u.pd.num_choices = kAoTypeChoiceCount;
            def->u.pd.u.namesptr = kAoTypeChoices;
            break;
        case ParamKind::kColor: {
            def->param_type = PF_Param_COLOR;
            const PF_Pixel color{255, spec.default_color.red, spec.default_color.green,
                                 spec.default_color.blue};
            def->u.cd.value = color;
            def->u.cd.dephault = color;
            break;
        }
        case ParamKind::kGroupStart:
            def->param_type = PF_Param_GROUP_START;
            break;
        case ParamKind::kGroupEnd:
            def->param_type = PF_Param_GROUP_END;
            break;
        case ParamKind::kArbitraryData:
            def->param_type = PF_Param_ARBITRARY_DATA;
            def->ui_width = kRampEditorWidth;
            def->ui_height = kRampEditorHeight;
            def->ui_flags = kRampEditorUiFlags;
            def->u.arb_d.id = static_cast<A_short>(spec.id);
            def->u.arb_d.dephault = ramp_default;
            def->u.arb_d.refconPV = ColorRampRefcon();
            break;
    }
}

}  // namespace

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[]) {
    if (in_data->utils == nullptr || in_data->utils->ansi.strcpy == nullptr ||
        in_data->inter.add_param == nullptr || in_data->inter.register_ui == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_Err ramp_err = PF_Err_NONE;
    for (const ParamSpec& spec : ParamTable()) {
        if (spec.index == kParamInput) continue;  // the host supplies the input layer
        PF_Handle ramp_default = nullptr;
        if (spec.kind == ParamKind::kArbitraryData) {
            ramp_err = NewDefaultRampHandle(in_data, &ramp_default);
        }
        PF_ParamDef def;
        std::memset(&def, 0, sizeof def);
        def.uu.id = spec.id;
        def.flags = Flags(spec);
        CopyName(in_data, spec.name, &def);
        FillDefinition(spec, ramp_default, &def);
        const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
        if (err != PF_Err_NONE) {
            // The host did not take the default ramp; it would otherwise be lost.
            DisposeRampHandle(in_data, ramp_default);
            return err;
        }
    }
    PF_Err err = ramp_err;
    if (ramp_err == PF_Err_NONE) {
        PF_CustomUIInfo ui;
        std::memset(&ui, 0, sizeof ui);
        ui.events = PF_CustomEFlag_EFFECT;
        err = in_data->inter.register_ui(in_data->effect_ref, &ui);
    }
    out_data->num_params = kNumParams;
    return err;
}

}  // namespace spirovault
