// The "Color Ramp" value as the user writes it ("POS:#RRGGBB,...") and as the effect stores it
// in flattened form: 328 little-endian bytes, "QXWV", a 32-bit stop count and 16 slots of five
// 32-bit floats (position, red, green, blue, alpha).
#ifndef SPIROVAULT_CLI_COLOR_RAMP_VALUE_H
#define SPIROVAULT_CLI_COLOR_RAMP_VALUE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

constexpr size_t kFlatRampSize = 328;
constexpr int kMaxFlatRampStops = 16;

struct RampStopValue {
    float position = 0;
    float red = 0, green = 0, blue = 0, alpha = 1;
};

using FlatRamp = std::array<uint8_t, kFlatRampSize>;

// 1 to 16 stops, positions 0 to 1, colours #RRGGBB; stops are ordered by position, keeping the
// given order of equal positions. Throws CliError (usage) naming the faulty stop.
std::vector<RampStopValue> ParseRamp(std::string_view text);

// The flattened record, unused slots zero.
FlatRamp FlattenRamp(const std::vector<RampStopValue>& stops);
// The stops in use of a flattened record (at most 16, whatever its count says).
std::vector<RampStopValue> UnflattenRamp(const FlatRamp& flat);

// "POS:#RRGGBB,..." again, for messages and listings.
std::string FormatRamp(const std::vector<RampStopValue>& stops);

}  // namespace cli

#endif
