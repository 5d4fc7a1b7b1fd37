#include "params/param_checkouts.h"

namespace spirovault {

bool IsValueParam(int index) {
    if (index <= kParamInput || index >= kNumParams) return false;
    switch (ParamTable()[index].kind) {
        case ParamKind::kGroupStart:
        case ParamKind::kGroupEnd:
        case ParamKind::kLayer:
            return false;
        default:
            return true;
    }
}

ParamCheckouts::ParamCheckouts(PF_InData* in_data) : in_data_(in_data) {
    for (int i = kParamInput + 1; i < kNumParams; ++i) pointers_[i] = &copies_[i];
}

ParamCheckouts::~ParamCheckouts() {
    // Only reached with copies still out when a raised error ends the command early.
    CheckInAll();
}

PF_Err ParamCheckouts::CheckOutAll() {
    for (int i = kParamInput + 1; i < kNumParams; ++i) {
        if (!IsValueParam(i)) continue;
        const PF_Err err =
            in_data_->inter.checkout_param(in_data_->effect_ref, i, in_data_->current_time,
                                           in_data_->time_step, in_data_->time_scale, &copies_[i]);
        if (err != PF_Err_NONE) return err;
        checked_out_[i] = true;
    }
    return PF_Err_NONE;
}

PF_Err ParamCheckouts::CheckInAll() {
    PF_Err first = PF_Err_NONE;
    for (int i = kParamInput + 1; i < kNumParams; ++i) {
        if (!checked_out_[i]) continue;
        checked_out_[i] = false;
        const PF_Err err = in_data_->inter.checkin_param(in_data_->effect_ref, &copies_[i]);
        if (first == PF_Err_NONE) first = err;
    }
    return first;
}

}  // namespace spirovault
