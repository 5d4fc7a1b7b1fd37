// Parameter catalogs built by hand, shaped like the effect's declarations.
#ifndef SPIROVAULT_TESTS_CLI_CLI_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_CLI_CLI_TEST_SUPPORT_H

#include "cli/param_catalog.h"

namespace cli {

inline ParamInfo FloatParam(int index, const char* name, double min, double max) {
    ParamInfo p;
    p.index = index;
    p.name = name;
    p.kind = ParamKind::kFloatSlider;
    p.valid_min = min;
    p.valid_max = max;
    return p;
}

inline ParamCatalog SmallCatalog() {
    ParamInfo samples;
    samples.index = 3;
    samples.name = "AO Samples";
    samples.kind = ParamKind::kIntSlider;
    samples.valid_min = 1;
    samples.valid_max = 256;
    ParamInfo angle;
    angle.index = 4;
    angle.name = "Rotation Z";
    angle.kind = ParamKind::kAngle;
    angle.valid_min = -kMaxAngleDegrees;
    angle.valid_max = kMaxAngleDegrees;
    ParamInfo check;
    check.index = 5;
    check.name = "Julia Mode";
    check.kind = ParamKind::kCheckbox;
    ParamInfo popup;
    popup.index = 6;
    popup.name = "AO Type";
    popup.kind = ParamKind::kPopup;
    popup.choices = {"Orbit Trap", "Raytraced"};
    popup.valid_min = 1;
    popup.valid_max = 2;
    ParamInfo color;
    color.index = 7;
    color.name = "Light Color";
    color.kind = ParamKind::kColor;
    ParamInfo group;
    group.index = 8;
    group.name = "Specularity";
    group.kind = ParamKind::kGroupStart;
    ParamInfo ramp;
    ramp.index = 10;
    ramp.name = "Color Ramp";
    ramp.kind = ParamKind::kArbitraryData;
    ParamInfo layer;
    layer.index = 11;
    layer.name = "HDRI Layer";
    layer.kind = ParamKind::kLayer;
    return ParamCatalog({FloatParam(1, "Power", -20, 20),
                         FloatParam(2, "Epsilon Scale", 0.1f, 1.0f), samples, angle, check, popup,
                         color, group, FloatParam(9, "Specularity", 0, 1), ramp, layer});
}

}  // namespace cli

#endif
