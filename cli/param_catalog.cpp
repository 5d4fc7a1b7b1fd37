#include "cli/param_catalog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/cli_error.h"
#include "cli/nearest_names.h"
#include "cli/value_parsing.h"
#include "host/pf_param_def.h"
#include "hostsim/param_store.h"

namespace cli {
using hostsim::DeclaredParam;
using hostsim::ParamStore;

namespace {

std::vector<std::string> SplitChoices(const std::string& names) {
    std::vector<std::string> choices;
    size_t start = 0;
    while (start <= names.size()) {
        const size_t bar = names.find('|', start);
        const size_t end = bar == std::string::npos ? names.size() : bar;
        choices.push_back(names.substr(start, end - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return choices;
}

ParamInfo FromDefinition(int index, const DeclaredParam& declared) {
    const PF_ParamDef& def = declared.def;
    ParamInfo info;
    info.index = index;
    info.name = std::string(def.name, strnlen(def.name, sizeof def.name));
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            info.kind = ParamKind::kFloatSlider;
            info.default_number = def.u.fs_d.dephault;
            info.valid_min = def.u.fs_d.valid_min;
            info.valid_max = def.u.fs_d.valid_max;
            break;
        case PF_Param_SLIDER:
            info.kind = ParamKind::kIntSlider;
            info.default_number = def.u.sd.dephault;
            info.valid_min = def.u.sd.valid_min;
            info.valid_max = def.u.sd.valid_max;
            break;
        case PF_Param_ANGLE:
            info.kind = ParamKind::kAngle;
            info.default_number = def.u.ad.dephault / 65536.0;
            info.valid_min = -kMaxAngleDegrees;
            info.valid_max = kMaxAngleDegrees;
            break;
        case PF_Param_CHECKBOX:
            info.kind = ParamKind::kCheckbox;
            info.default_number = def.u.bd.dephault != 0 ? 1 : 0;
            info.valid_max = 1;
            break;
        case PF_Param_POPUP:
            info.kind = ParamKind::kPopup;
            info.default_number = def.u.pd.dephault;
            info.choices = SplitChoices(declared.popup_choices);
            info.valid_min = 1;
            info.valid_max = static_cast<double>(info.choices.size());
            break;
        case PF_Param_COLOR:
            info.kind = ParamKind::kColor;
            info.default_color = def.u.cd.dephault;
            break;
        case PF_Param_LAYER:
            info.kind = ParamKind::kLayer;
            break;
        case PF_Param_ARBITRARY_DATA:
            info.kind = ParamKind::kArbitraryData;
            break;
        case PF_Param_GROUP_START:
            info.kind = ParamKind::kGroupStart;
            break;
        case PF_Param_GROUP_END:
            info.kind = ParamKind::kGroupEnd;
            break;
        default:
            info.kind = ParamKind::kOther;
            break;
    }
    return info;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

ParamCatalog ParamCatalog::FromStore(const ParamStore& store) {
    std::vector<ParamInfo> params;
    for (size_t i = 1; i < store.size(); ++i) {
        params.push_back(FromDefinition(static_cast<int>(i), store.at(i)));
    }
    return ParamCatalog(std::move(params));
}

const ParamInfo& ParamCatalog::Find(std::string_view name) const {
    // The exact name first; then the same letters in any case, when they name one parameter.
    for (const bool exact : {true, false}) {
        const ParamInfo* group = nullptr;
        std::vector<const ParamInfo*> controls;
        for (const ParamInfo& param : params_) {
            const bool same =
                exact ? param.name == name
                      : param.name.size() == name.size() && NameDistance(param.name, name) == 0;
            if (!same) continue;
            if (param.kind == ParamKind::kGroupStart || param.kind == ParamKind::kGroupEnd) {
                group = &param;
            } else if (std::none_of(controls.begin(), controls.end(),
                                    [&](const ParamInfo* c) { return c->name == param.name; })) {
                controls.push_back(&param);
            }
        }
        if (controls.size() == 1) return *controls.front();
        if (controls.size() > 1) {
            throw UsageError("parameter " + Quoted(name) + " could be " +
                             Quoted(controls[0]->name) + " or " + Quoted(controls[1]->name) +
                             ": write it in its own letter case");
        }
        if (group != nullptr) {
            throw UsageError(Quoted(name) + " is a group heading, not a parameter");
        }
    }
    std::vector<std::string> names;
    for (const ParamInfo& param : params_) {
        if (param.takes_value() || param.kind == ParamKind::kArbitraryData ||
            param.kind == ParamKind::kLayer) {
            names.push_back(param.name);
        }
    }
    const std::string suggestion = DidYouMean(NearestNames(name, names));
    throw UsageError("unknown parameter " + Quoted(name) +
                     (suggestion.empty() ? " (see --list-params)" : suggestion));
}

const ParamInfo* ParamCatalog::FindKind(ParamKind kind) const {
    for (const ParamInfo& param : params_) {
        if (param.kind == kind) return &param;
    }
    return nullptr;
}

std::string FormatColor(const PF_Pixel& color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color.red, color.green, color.blue);
    return text;
}

std::string DescribeParam(const ParamInfo& p) {
    std::string type, dephault, range;
    switch (p.kind) {
        case ParamKind::kFloatSlider:
            type = "float";
            dephault = Number(p.default_number);
            range = Number(p.valid_min) + " to " + Number(p.valid_max);
            break;
        case ParamKind::kIntSlider:
            type = "integer";
            dephault = Number(p.default_number);
            range = Number(p.valid_min) + " to " + Number(p.valid_max);
            break;
        case ParamKind::kAngle:
            type = "angle";
            dephault = Number(p.default_number);
            range = Number(p.valid_min) + " to " + Number(p.valid_max) + " degrees";
            break;
        case ParamKind::kCheckbox:
            type = "checkbox";
            dephault = p.default_number != 0 ? "on" : "off";
            range = "on|off";
            break;
        case ParamKind::kPopup: {
            type = "popup";
            const auto choice = static_cast<size_t>(p.default_number);
            dephault = choice >= 1 && choice <= p.choices.size() ? p.choices[choice - 1]
                                                                 : Number(p.default_number);
            for (size_t i = 0; i < p.choices.size(); ++i) {
                range += (i > 0 ? "|" : "") + p.choices[i];
            }
            range += " or 1 to " + std::to_string(p.choices.size());
            break;
        }
        case ParamKind::kColor:
            type = "color";
            dephault = FormatColor(p.default_color);
            range = "#RRGGBB";
            break;
        case ParamKind::kLayer:
            type = "layer";
            dephault = "none";
            range = "an image file (--hdri)";
            break;
        case ParamKind::kArbitraryData:
            type = "ramp";
            dephault = p.default_text.empty() ? "-" : p.default_text;
            range = "1 to 16 stops POS:#RRGGBB,... (--ramp)";
            break;
        case ParamKind::kGroupStart:
            type = "group";
            dephault = "-";
            range = "-";
            break;
        case ParamKind::kGroupEnd:
            type = "group end";
            dephault = "-";
            range = "-";
            break;
        case ParamKind::kOther:
            type = "other";
            dephault = "-";
            range = "-";
            break;
    }
    char line[256];
    std::snprintf(line, sizeof line, "%2d  %-22s %-9s %-11s %s", p.index,
                  p.name.empty() ? "(end of group)" : p.name.c_str(), type.c_str(),
                  dephault.c_str(), range.c_str());
    return line;
}

}  // namespace cli
