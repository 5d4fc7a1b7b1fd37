#include "hostsim/frames/frame_time.h"

#include <algorithm>
#include <cmath>

namespace {

bool NearlyWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-6 * std::max(1.0, std::abs(value));
}

}  // namespace

TimeBase TimeBaseFor(double frame_rate) {
    if (!(frame_rate > 0.0)) return TimeBase{1, 1};
    if (NearlyWhole(frame_rate)) {
        return TimeBase{static_cast<A_u_long>(std::round(frame_rate)), 1};
    }
    // 23.976, 29.97, 59.94: nominal x 1000 / 1001, to the precision people type them with.
    const double nominal = std::round(frame_rate * 1.001);
    if (std::abs(nominal * 1000.0 / 1001.0 - frame_rate) < 0.005) {
        return TimeBase{static_cast<A_u_long>(nominal * 1000.0), 1001};
    }
    return TimeBase{static_cast<A_u_long>(std::round(frame_rate * 1000.0)), 1000};
}
