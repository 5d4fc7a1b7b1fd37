#include "hostsim/param_animation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hostsim {

namespace {

// Rounded to the nearest integer the host stores, saturating.
A_long RoundToLong(double value) {
    if (std::isnan(value)) return 0;
    const double lo = std::numeric_limits<A_long>::min();
    const double hi = std::numeric_limits<A_long>::max();
    return static_cast<A_long>(std::clamp(std::round(value), lo, hi));
}

A_u_char LerpChannel(A_u_char a, A_u_char b, double t) {
    return static_cast<A_u_char>(std::lround(a + (b - a) * t));
}

bool Holds(PF_ParamType type) {
    return type == PF_Param_CHECKBOX || type == PF_Param_POPUP;
}

void WriteNumber(double number, PF_ParamDef* def) {
    switch (def->param_type) {
        case PF_Param_FLOAT_SLIDER:
            def->u.fs_d.value = number;
            break;
        case PF_Param_SLIDER:
            def->u.sd.value = RoundToLong(number);
            break;
        case PF_Param_ANGLE:
            def->u.ad.value = RoundToLong(number * 65536.0);  // PF_Fixed degrees
            break;
        case PF_Param_CHECKBOX:
            def->u.bd.value = number != 0.0 ? 1 : 0;
            break;
        case PF_Param_POPUP:
            def->u.pd.value = RoundToLong(number);
            break;
        default:
            break;
    }
}

}  // namespace

bool IsAnimatableParamType(PF_ParamType type) {
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
        case PF_Param_SLIDER:
        case PF_Param_ANGLE:
        case PF_Param_CHECKBOX:
        case PF_Param_POPUP:
        case PF_Param_COLOR:
            return true;
        default:
            return false;
    }
}

void ApplyKeysAt(const std::vector<ParamKey>& keys, double seconds, PF_ParamDef* def) {
    // The last key at or before the time, and the one after it.
    auto next = std::upper_bound(keys.begin(), keys.end(), seconds,
                                 [](double t, const ParamKey& k) { return t < k.time; });
    const ParamKey& a = next == keys.begin() ? keys.front() : *(next - 1);
    const ParamKey& b = next == keys.end() ? a : *next;
    double t = 0.0;
    if (next != keys.begin() && next != keys.end() && !Holds(def->param_type) &&
        a.interpolation != KeyInterpolation::kHold) {
        t = (seconds - a.time) / (b.time - a.time);
    }
    if (a.interpolation == KeyInterpolation::kBezier && def->param_type != PF_Param_COLOR &&
        !Holds(def->param_type)) {
        // The curve needs every key for its automatic handles.
        std::vector<Keyframe<double>> curve;
        curve.reserve(keys.size());
        for (const ParamKey& key : keys) {
            curve.push_back(Keyframe<double>{key.time, key.number, key.interpolation,
                                             key.in_tangent, key.out_tangent});
        }
        Animated<double> animated;
        animated.SetKeys(std::move(curve));
        WriteNumber(animated.At(seconds), def);
        return;
    }
    if (def->param_type == PF_Param_COLOR) {
        def->u.cd.value = PF_Pixel{LerpChannel(a.color.alpha, b.color.alpha, t),
                                   LerpChannel(a.color.red, b.color.red, t),
                                   LerpChannel(a.color.green, b.color.green, t),
                                   LerpChannel(a.color.blue, b.color.blue, t)};
    } else {
        WriteNumber(a.number + (b.number - a.number) * t, def);
    }
}

}  // namespace hostsim
