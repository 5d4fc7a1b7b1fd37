// The parameters as the effect declared them to the host: name, kind, default and valid range,
// read from the standalone host's parameter store after PF_Cmd_PARAMS_SETUP.
#ifndef SPIROVAULT_CLI_PARAM_CATALOG_H
#define SPIROVAULT_CLI_PARAM_CATALOG_H

#include <string>
#include <string_view>
#include <vector>

#include "cli/param_info.h"
#include "host/pf_pixel.h"

namespace hostsim {
class ParamStore;
}

namespace cli {

// Angles are held as 16.16 fixed-point degrees by the host.
constexpr double kMaxAngleDegrees = 32767.0;

class ParamCatalog {
  public:
    ParamCatalog() = default;
    explicit ParamCatalog(std::vector<ParamInfo> params) : params_(std::move(params)) {}
    // Indices 1 on; index 0 is the layer the effect is applied to.
    static ParamCatalog FromStore(const hostsim::ParamStore& store);

    const std::vector<ParamInfo>& params() const { return params_; }
    // The parameter a user means by this display name: where a group and a control share a
    // name, the control. Throws CliError naming the name when there is none.
    const ParamInfo& Find(std::string_view name) const;
    // The index of the first parameter of this kind, or -1.
    const ParamInfo* FindKind(ParamKind kind) const;

  private:
    std::vector<ParamInfo> params_;
};

// One line of --list-params: index, name, type, default, valid range.
std::string DescribeParam(const ParamInfo& param);

// "#RRGGBB" of an 8-bit colour.
std::string FormatColor(const PF_Pixel& color);

}  // namespace cli

#endif
