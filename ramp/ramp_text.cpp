#include "ramp/ramp_text.h"

#include <cstdio>
#include <cstring>

namespace spirovault {

namespace {

// The longest piece: "S15:" and four -FLT_MAX values at three decimals (44 characters each),
// three commas and the bar, 184 characters; damaged data must not overflow it.
constexpr size_t kPieceBufferSize = 256;

}  // namespace

void PrintRampText(const ColorRamp* ramp, char* buffer, size_t size) {
    buffer[0] = '\0';
    size_t length = 0;
    const int n = UsableStopCount(ramp);
    for (int i = 0; i < n; ++i) {
        const RampStop& stop = ramp->stops[i];
        char piece[kPieceBufferSize];
        const int written =
            std::snprintf(piece, sizeof piece, "S%d:%.3f,%.3f,%.3f,%.3f|", i,
                          static_cast<double>(stop.position), static_cast<double>(stop.red),
                          static_cast<double>(stop.green), static_cast<double>(stop.blue));
        if (written < 0 || static_cast<size_t>(written) >= sizeof piece) continue;
        const size_t piece_length = static_cast<size_t>(written);
        if (length + piece_length + 1 >= size) continue;
        std::memcpy(buffer + length, piece, piece_length + 1);
        length += piece_length;
    }
}

}  // namespace spirovault
