#include "standalone/param_store.h"

ParamStore::ParamStore() {
    DeclaredParam input{};
    input.def.param_type = PF_Param_LAYER;
    params_.push_back(input);
}

PF_Err ParamStore::Add(PF_ParamIndex index, const PF_ParamDef& def) {
    ++add_calls_;
    if (fail_add_at_ > 0 && --fail_add_at_ == 0) return fail_add_code_;
    if (index != -1) return PF_Err_BAD_CALLBACK_PARAM;  // only appending is modelled
    DeclaredParam declared{};
    declared.def = def;
    if (def.param_type == PF_Param_POPUP && def.u.pd.u.namesptr != nullptr) {
        declared.popup_choices = def.u.pd.u.namesptr;
    }
    if (def.param_type == PF_Param_CHECKBOX && def.u.bd.u.nameptr != nullptr) {
        declared.checkbox_text = def.u.bd.u.nameptr;
    }
    params_.push_back(declared);
    return PF_Err_NONE;
}

void ParamStore::FailAdd(int nth, PF_Err code) {
    fail_add_at_ = nth;
    fail_add_code_ = code;
}

PF_Err ParamStore::RegisterUi(const PF_CustomUIInfo& info) {
    ui_registrations_.push_back(info);
    return PF_Err_NONE;
}

PF_Err ParamStore::UpdateUi(PF_ParamIndex index, const PF_ParamDef& def) {
    if (index < 0 || static_cast<size_t>(index) >= params_.size()) return PF_Err_INVALID_INDEX;
    ui_updates_.push_back(ParamUiUpdate{index, def});
    params_[static_cast<size_t>(index)].def.ui_flags = def.ui_flags;
    return PF_Err_NONE;
}

PF_Err ParamStore::Checkout(PF_ParamIndex index, PF_ParamDef* param) {
    if (param == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (index < 0 || static_cast<size_t>(index) >= params_.size()) return PF_Err_INVALID_INDEX;
    *param = params_[static_cast<size_t>(index)].def;
    ++outstanding_checkouts_;
    return PF_Err_NONE;
}

PF_Err ParamStore::Checkin(PF_ParamDef* param) {
    if (param == nullptr || outstanding_checkouts_ == 0) return PF_Err_BAD_CALLBACK_PARAM;
    --outstanding_checkouts_;
    return PF_Err_NONE;
}
