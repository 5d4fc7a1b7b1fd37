#include "frame/hdri_layer_checkout.h"

#include "params/param_table.h"

namespace spirovault {

PF_LayerDef* HdriLayerCheckout::CheckOut() {
    param_ = PF_ParamDef{};
    if (in_data_->inter.checkout_param(in_data_->effect_ref, kParamHdriLayer,
                                       in_data_->current_time, in_data_->time_step,
                                       in_data_->time_scale, &param_) != PF_Err_NONE) {
        return nullptr;
    }
    checked_out_ = true;
    PF_LayerDef& layer = param_.u.ld;
    if (layer.data == nullptr || layer.width <= 0 || layer.height <= 0) return nullptr;
    return &layer;
}

PF_Err HdriLayerCheckout::CheckIn(PF_Err err) {
    if (!checked_out_) return err;
    checked_out_ = false;
    const PF_Err checkin_err = in_data_->inter.checkin_param(in_data_->effect_ref, &param_);
    return err != PF_Err_NONE ? err : checkin_err;
}

}  // namespace spirovault
