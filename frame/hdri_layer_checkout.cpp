#include "frame/hdri_layer_checkout.h"

#include "params/param_table.h"

namespace spirovault {

PF_Err HdriLayerCheckout::CheckOut(PF_LayerDef** layer) {
    *layer = nullptr;
    param_ = PF_ParamDef{};
    const PF_Err err = in_data_->inter.checkout_param(in_data_->effect_ref, kParamHdriLayer,
                                                      in_data_->current_time, in_data_->time_step,
                                                      in_data_->time_scale, &param_);
    if (err != PF_Err_NONE) return err;
    checked_out_ = true;
    PF_LayerDef& world = param_.u.ld;
    if (world.data != nullptr && world.width > 0 && world.height > 0) *layer = &world;
    return PF_Err_NONE;
}

PF_Err HdriLayerCheckout::CheckIn(PF_Err err) {
    if (!checked_out_) return err;
    checked_out_ = false;
    const PF_Err checkin_err = in_data_->inter.checkin_param(in_data_->effect_ref, &param_);
    return err != PF_Err_NONE ? err : checkin_err;
}

}  // namespace spirovault
