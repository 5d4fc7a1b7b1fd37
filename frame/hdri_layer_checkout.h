// The "HDRI Layer" parameter checked out at the frame's time, so that its layer's pixels can be
// read, and checked in on every way out: explicitly with the errors kept, or by the destructor
// when a raised error ends the command.
#ifndef SPIROVAULT_FRAME_HDRI_LAYER_CHECKOUT_H
#define SPIROVAULT_FRAME_HDRI_LAYER_CHECKOUT_H

#include "host/pf_in_out_data.h"

namespace spirovault {

class HdriLayerCheckout {
  public:
    explicit HdriLayerCheckout(PF_InData* in_data) : in_data_(in_data) {}
    ~HdriLayerCheckout() { CheckIn(PF_Err_NONE); }
    HdriLayerCheckout(const HdriLayerCheckout&) = delete;
    HdriLayerCheckout& operator=(const HdriLayerCheckout&) = delete;

    // The layer's world, or null when no layer is chosen or it is empty. The check-out's error
    // comes back unchanged, cancel included: a frame without its environment must fail rather
    // than be cached as finished.
    PF_Err CheckOut(PF_LayerDef** layer);
    // Checks the copy in when it is out; the check-in's error replaces `err` only when `err` is
    // PF_Err_NONE.
    PF_Err CheckIn(PF_Err err);

  private:
    PF_InData* in_data_;
    PF_ParamDef param_{};
    bool checked_out_ = false;
};

}  // namespace spirovault

#endif
