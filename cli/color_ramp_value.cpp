#include "cli/color_ramp_value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/cli_error.h"
#include "cli/value_parsing.h"

namespace cli {

namespace {

constexpr size_t kStopsOffset = 8;
constexpr size_t kStopSize = 20;

void PutFloat(FlatRamp& flat, size_t at, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i) flat[at + i] = static_cast<uint8_t>(bits >> (8 * i));
}

float GetFloat(const FlatRamp& flat, size_t at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(flat[at + i]) << (8 * i);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

uint8_t ToByte(float unit) {
    const float clamped = unit < 0 ? 0 : (unit > 1 ? 1 : unit);
    return static_cast<uint8_t>(std::lround(clamped * 255.0f));
}

}  // namespace

std::vector<RampStopValue> ParseRamp(std::string_view text) {
    std::vector<RampStopValue> stops;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view piece = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::string where =
            "ramp stop " + std::to_string(stops.size() + 1) + " " + Quoted(piece);
        if (stops.size() == kMaxFlatRampStops) {
            throw UsageError("ramp: more than " + std::to_string(kMaxFlatRampStops) + " stops");
        }
        const size_t colon = piece.find(':');
        if (colon == std::string_view::npos) throw UsageError(where + ": expected POS:#RRGGBB");
        const double position = ParseNumber(piece.substr(0, colon), where + ": position");
        if (position < 0.0 || position > 1.0) {
            throw UsageError(where + ": position is outside the valid range 0 to 1");
        }
        PF_Pixel color;
        try {
            color = ParseColor(piece.substr(colon + 1));
        } catch (const CliError&) {
            throw UsageError(where + ": expected a color #RRGGBB after the colon");
        }
        stops.push_back(RampStopValue{static_cast<float>(position), color.red / 255.0f,
                                      color.green / 255.0f, color.blue / 255.0f, 1.0f});
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    std::stable_sort(
        stops.begin(), stops.end(),
        [](const RampStopValue& a, const RampStopValue& b) { return a.position < b.position; });
    return stops;
}

FlatRamp FlattenRamp(const std::vector<RampStopValue>& stops) {
    FlatRamp flat{};
    std::memcpy(flat.data(), "QXWV", 4);
    const auto count = static_cast<uint32_t>(std::min<size_t>(stops.size(), kMaxFlatRampStops));
    for (int i = 0; i < 4; ++i) flat[4 + i] = static_cast<uint8_t>(count >> (8 * i));
    for (size_t s = 0; s < count; ++s) {
        const size_t at = kStopsOffset + s * kStopSize;
        const RampStopValue& stop = stops[s];
        PutFloat(flat, at, stop.position);
        PutFloat(flat, at + 4, stop.red);
        PutFloat(flat, at + 8, stop.green);
        PutFloat(flat, at + 12, stop.blue);
        PutFloat(flat, at + 16, stop.alpha);
    }
    return flat;
}

std::vector<RampStopValue> UnflattenRamp(const FlatRamp& flat) {
    int32_t count = 0;
    for (int i = 0; i < 4; ++i) count |= static_cast<int32_t>(flat[4 + i]) << (8 * i);
    count = std::clamp(count, 0, kMaxFlatRampStops);
    std::vector<RampStopValue> stops;
    for (int s = 0; s < count; ++s) {
        const size_t at = kStopsOffset + static_cast<size_t>(s) * kStopSize;
        stops.push_back(RampStopValue{GetFloat(flat, at), GetFloat(flat, at + 4),
                                      GetFloat(flat, at + 8), GetFloat(flat, at + 12),
                                      GetFloat(flat, at + 16)});
    }
    return stops;
}

std::string FormatRamp(const std::vector<RampStopValue>& stops) {
    std::string text;
    for (const RampStopValue& stop : stops) {
        // The fewest digits that read back as the same float, so a written ramp reloads exactly.
        int digits = 6;
        char number[24];
        for (; digits < 9; ++digits) {
            std::snprintf(number, sizeof number, "%.*g", digits, stop.position);
            if (std::strtof(number, nullptr) == stop.position) break;
        }
        std::snprintf(number, sizeof number, "%.*g", digits, stop.position);
        char piece[48];
        std::snprintf(piece, sizeof piece, "%s%s:#%02X%02X%02X", text.empty() ? "" : ",", number,
                      ToByte(stop.red), ToByte(stop.green), ToByte(stop.blue));
        text += piece;
    }
    return text;
}

}  // namespace cli
