// The parameters an effect instance declared, as the host keeps them: definitions, the custom
// UI registration, UI updates the effect sent, and check-outs.
#ifndef SPIROVAULT_HOSTSIM_PARAM_STORE_H
#define SPIROVAULT_HOSTSIM_PARAM_STORE_H

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/pf_custom_ui.h"
#include "host/pf_param_def.h"
#include "hostsim/param_animation.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

struct DeclaredParam {
    PF_ParamDef def;
    // Copies of the strings the definition points into the plug-in's memory.
    std::string popup_choices;
    std::string checkbox_text;
};

struct ParamUiUpdate {
    PF_ParamIndex index;
    PF_ParamDef def;
};

// Several frames read values and check parameters out at once; the store guards what it holds.
// References from at() are for setting the instance up, before frames run.
class ParamStore {
  public:
    ParamStore();  // holds the input layer at index 0

    // add_param: appends for index -1; the n-th call from now can be made to fail with code.
    PF_Err Add(PF_ParamIndex index, const PF_ParamDef& def);
    void FailAdd(int nth, PF_Err code);
    int add_calls() const { return add_calls_; }

    PF_Err RegisterUi(const PF_CustomUIInfo& info);
    const std::vector<PF_CustomUIInfo>& ui_registrations() const { return ui_registrations_; }

    // PF_UpdateParamUI: records the call and keeps the definition's ui flags.
    PF_Err UpdateUi(PF_ParamIndex index, const PF_ParamDef& def);
    const std::vector<ParamUiUpdate>& ui_updates() const { return ui_updates_; }
    void ClearUiUpdates() { ui_updates_.clear(); }

    // Values: constant or keyframed. They throw std::out_of_range for an index that was not
    // declared and std::invalid_argument for a parameter of another type (or no keys).
    void SetValue(PF_ParamIndex index, double number);  // sliders, angle degrees, checkbox, popup
    void SetColor(PF_ParamIndex index, PF_Pixel color);
    void Animate(PF_ParamIndex index, std::vector<ParamKey> keys);

    // The definition as the effect sees it at a time: keyed values interpolated, and an
    // arbitrary-data value that was never set showing the default.
    PF_ParamDef ValueAt(size_t index, double seconds) const;

    // checkout_param at a time in seconds, for the frame `holder`; checkout of `index` can be
    // made to fail with code.
    PF_Err Checkout(PF_ParamIndex index, double seconds, PF_ParamDef* param,
                    ResourceHolder holder = nullptr);
    PF_Err Checkin(PF_ParamDef* param, ResourceHolder holder = nullptr);
    void FailCheckout(PF_ParamIndex index, PF_Err code);
    // Leaves out the check-outs of the skipped holders.
    int outstanding_checkouts(const HolderSet& skip = {}) const;
    // Indices in the order they were checked out.
    std::vector<PF_ParamIndex> checkout_log() const;

    size_t size() const { return params_.size(); }
    const DeclaredParam& at(size_t index) const { return params_.at(index); }
    DeclaredParam& at(size_t index) { return params_.at(index); }

  private:
    PF_ParamDef ValueAtLocked(size_t index, double seconds) const;

    mutable std::mutex mutex_;
    std::vector<DeclaredParam> params_;
    std::vector<PF_CustomUIInfo> ui_registrations_;
    std::vector<ParamUiUpdate> ui_updates_;
    int add_calls_ = 0;
    int fail_add_at_ = 0;
    PF_Err fail_add_code_ = PF_Err_NONE;
    HeldCounts checkouts_;
    std::map<PF_ParamIndex, std::vector<ParamKey>> keys_;
    std::map<PF_ParamIndex, PF_Err> failing_checkouts_;
    std::vector<PF_ParamIndex> checkout_log_;
};

}  // namespace hostsim

#endif
