// The plug-in loaded into the standalone host and set up as the host application does before a
// render (global setup, parameter setup), with the operations the renderer needs on it.
#ifndef SPIROVAULT_CLI_EFFECT_SESSION_H
#define SPIROVAULT_CLI_EFFECT_SESSION_H

#include <string>
#include <vector>

#include "cli/color_ramp_value.h"
#include "cli/param_catalog.h"
#include "cli/scene.h"
#include "cli/value_parsing.h"
#include "hostsim/effect_host.h"
#include "hostsim/frames/frame_request.h"

namespace cli {
using hostsim::Composition;
using hostsim::EffectHost;
using hostsim::FrameRequest;
using hostsim::FrameResult;

class EffectSession {
  public:
    // Throws CliError when the library cannot be loaded or a setup command fails. The host plays
    // the application of appl_id (kAppIdPremierePro: Premiere Pro) from global setup on.
    explicit EffectSession(const std::string& plugin_path, A_long appl_id = kAppIdAfterEffects);

    const ParamCatalog& catalog() const { return catalog_; }
    // The version the effect gave in global setup, packed as the host packs it.
    A_u_long effect_version() const { return effect_version_; }
    EffectHost& host() { return host_; }
    Composition& composition() { return host_.services().composition(); }

    void SetValue(const ParamInfo& param, const ParamValue& value);
    void Animate(const ParamInfo& param, const std::vector<TimedParamValue>& keys);
    // A checkbox's value at a frame, as the host gives it to the effect for that frame.
    bool CheckboxAt(const ParamInfo& param, long frame, double frame_rate);
    // Replaces the "Color Ramp" value with a handle the effect makes from the flattened record.
    void SetRamp(const std::vector<RampStopValue>& stops);

    // Throws CliError with the effect's error code and message when the frame fails.
    FrameResult Render(const FrameRequest& request);

  private:
    std::vector<RampStopValue> DefaultRamp();

    EffectHost host_;
    ParamCatalog catalog_;
    A_u_long effect_version_ = 0;
};

// "PF_Err 516 (PF_Err_BAD_CALLBACK_PARAM)", and the effect's message when it gave one.
std::string DescribeEffectError(PF_Err err, const std::string& return_msg);

}  // namespace cli

#endif
