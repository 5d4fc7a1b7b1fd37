#include "hostsim/param_store.h"

#include <algorithm>
#include <stdexcept>

namespace hostsim {

ParamStore::ParamStore() {
    DeclaredParam input{};
    input.def.param_type = PF_Param_LAYER;
    params_.push_back(input);
}

PF_Err ParamStore::Add(PF_ParamIndex index, const PF_ParamDef& def) {
    std::lock_guard lock(mutex_);
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
    std::lock_guard lock(mutex_);
    fail_add_at_ = nth;
    fail_add_code_ = code;
}

PF_Err ParamStore::RegisterUi(const PF_CustomUIInfo& info) {
    std::lock_guard lock(mutex_);
    ui_registrations_.push_back(info);
    return PF_Err_NONE;
}

PF_Err ParamStore::UpdateUi(PF_ParamIndex index, const PF_ParamDef& def) {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<size_t>(index) >= params_.size()) return PF_Err_INVALID_INDEX;
    ui_updates_.push_back(ParamUiUpdate{index, def});
    params_[static_cast<size_t>(index)].def.ui_flags = def.ui_flags;
    return PF_Err_NONE;
}

void ParamStore::SetValue(PF_ParamIndex index, double number) {
    ParamKey key;
    key.number = number;
    Animate(index, {key});
}

void ParamStore::SetColor(PF_ParamIndex index, PF_Pixel color) {
    ParamKey key;
    key.color = color;
    Animate(index, {key});
}

void ParamStore::Animate(PF_ParamIndex index, std::vector<ParamKey> keys) {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<size_t>(index) >= params_.size()) {
        throw std::out_of_range("no parameter at index " + std::to_string(index));
    }
    PF_ParamDef& def = params_[static_cast<size_t>(index)].def;
    if (!IsAnimatableParamType(def.param_type)) {
        throw std::invalid_argument(std::string("parameter \"") + def.name + "\" has no value");
    }
    if (keys.empty()) throw std::invalid_argument("no keyframes");
    std::stable_sort(keys.begin(), keys.end(),
                     [](const ParamKey& a, const ParamKey& b) { return a.time < b.time; });
    // The stored definition keeps the value at time 0, as the parameter array of commands
    // without a time shows it.
    ApplyKeysAt(keys, 0.0, &def);
    keys_[index] = std::move(keys);
}

PF_ParamDef ParamStore::ValueAt(size_t index, double seconds) const {
    std::lock_guard lock(mutex_);
    return ValueAtLocked(index, seconds);
}

PF_ParamDef ParamStore::ValueAtLocked(size_t index, double seconds) const {
    PF_ParamDef def = params_.at(index).def;
    const auto keyed = keys_.find(static_cast<PF_ParamIndex>(index));
    if (keyed != keys_.end()) ApplyKeysAt(keyed->second, seconds, &def);
    if (def.param_type == PF_Param_ARBITRARY_DATA && def.u.arb_d.value == nullptr) {
        def.u.arb_d.value = def.u.arb_d.dephault;
    }
    return def;
}

PF_Err ParamStore::Checkout(PF_ParamIndex index, double seconds, PF_ParamDef* param,
                            ResourceHolder holder) {
    if (param == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<size_t>(index) >= params_.size()) return PF_Err_INVALID_INDEX;
    const auto failing = failing_checkouts_.find(index);
    if (failing != failing_checkouts_.end()) return failing->second;
    *param = ValueAtLocked(static_cast<size_t>(index), seconds);
    checkouts_.Add(holder);
    checkout_log_.push_back(index);
    return PF_Err_NONE;
}

PF_Err ParamStore::Checkin(PF_ParamDef* param, ResourceHolder holder) {
    if (param == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    std::lock_guard lock(mutex_);
    return checkouts_.Remove(holder) ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
}

void ParamStore::FailCheckout(PF_ParamIndex index, PF_Err code) {
    std::lock_guard lock(mutex_);
    failing_checkouts_[index] = code;
}

int ParamStore::outstanding_checkouts(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    return checkouts_.Total(skip);
}

std::vector<PF_ParamIndex> ParamStore::checkout_log() const {
    std::lock_guard lock(mutex_);
    return checkout_log_;
}

}  // namespace hostsim
