// One parameter as the effect declared it to the host: what the catalog lists and what a value
// typed by a user is checked against.
#ifndef SPIROVAULT_CLI_PARAM_INFO_H
#define SPIROVAULT_CLI_PARAM_INFO_H

#include <string>
#include <vector>

#include "host/pf_pixel.h"

namespace cli {

enum class ParamKind {
    kFloatSlider,
    kIntSlider,
    kAngle,
    kCheckbox,
    kPopup,
    kColor,
    kLayer,
    kArbitraryData,
    kGroupStart,
    kGroupEnd,
    kOther,
};

struct ParamInfo {
    int index = 0;
    std::string name;
    ParamKind kind = ParamKind::kOther;
    double default_number = 0;  // sliders, angle degrees, checkbox 0/1, popup choice
    PF_Pixel default_color{};
    double valid_min = 0, valid_max = 0;  // sliders only
    std::vector<std::string> choices;     // popups
    std::string default_text;             // arbitrary data: the default as the user writes it

    // Whether a value can be given as a number, on/off, a choice or a colour.
    bool takes_value() const {
        return kind == ParamKind::kFloatSlider || kind == ParamKind::kIntSlider ||
               kind == ParamKind::kAngle || kind == ParamKind::kCheckbox ||
               kind == ParamKind::kPopup || kind == ParamKind::kColor;
    }
};

}  // namespace cli

#endif
