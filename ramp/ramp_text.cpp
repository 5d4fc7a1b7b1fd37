#include "ramp/ramp_text.h"

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace spirovault {

namespace {

// The longest piece: "S15:" and four -FLT_MAX values (at most 47 characters each), three commas
// and the bar; damaged data must not overflow it.
constexpr size_t kPieceBufferSize = 256;
constexpr size_t kValueBufferSize = 64;

// Three decimals when they read back as the same float, otherwise the shortest exact form.
void FormatValue(float value, char* out) {
    std::snprintf(out, kValueBufferSize, "%.3f", static_cast<double>(value));
    if (std::strtof(out, nullptr) == value) return;
    for (int digits = 4; digits <= 9; ++digits) {
        std::snprintf(out, kValueBufferSize, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(out, nullptr) == value) return;
    }
}

// Reads one float at `*p` up to `end`, which must be followed by `separator`.
bool ReadValue(const char** p, const char* end, char separator, float* value) {
    const char* start = *p;
    const char* stop = start;
    while (stop < end && *stop != separator) ++stop;
    if (stop == end || stop == start || stop - start >= static_cast<ptrdiff_t>(kValueBufferSize)) {
        return false;
    }
    // strtof needs a terminated copy: the host's text need not end in a zero byte.
    char copy[kValueBufferSize];
    std::memcpy(copy, start, static_cast<size_t>(stop - start));
    copy[stop - start] = '\0';
    if (std::isspace(static_cast<unsigned char>(copy[0]))) return false;
    char* parsed_end = nullptr;
    const float v = std::strtof(copy, &parsed_end);
    if (parsed_end != copy + (stop - start)) return false;
    *value = v;
    *p = stop + 1;
    return true;
}

// "S<index>:" at `*p`.
bool ReadIndex(const char** p, const char* end, int expected) {
    char prefix[16];
    const int n = std::snprintf(prefix, sizeof prefix, "S%d:", expected);
    if (n <= 0 || end - *p < n || std::memcmp(*p, prefix, static_cast<size_t>(n)) != 0) {
        return false;
    }
    *p += n;
    return true;
}

}  // namespace

void PrintRampText(const ColorRamp* ramp, char* buffer, size_t size) {
    buffer[0] = '\0';
    size_t length = 0;
    const int n = UsableStopCount(ramp);
    for (int i = 0; i < n; ++i) {
        const RampStop& stop = ramp->stops[i];
        char values[4][kValueBufferSize];
        FormatValue(stop.position, values[0]);
        FormatValue(stop.red, values[1]);
        FormatValue(stop.green, values[2]);
        FormatValue(stop.blue, values[3]);
        char piece[kPieceBufferSize];
        const int written = std::snprintf(piece, sizeof piece, "S%d:%s,%s,%s,%s|", i, values[0],
                                          values[1], values[2], values[3]);
        if (written < 0 || static_cast<size_t>(written) >= sizeof piece) continue;
        const size_t piece_length = static_cast<size_t>(written);
        if (length + piece_length + 1 >= size) continue;
        std::memcpy(buffer + length, piece, piece_length + 1);
        length += piece_length;
    }
}

bool ScanRampText(const char* text, size_t length, ColorRamp* ramp) {
    if (text == nullptr) return false;
    const char* end = static_cast<const char*>(std::memchr(text, '\0', length));
    if (end == nullptr) end = text + length;
    // Pasted text often ends in a line break.
    while (end > text && std::isspace(static_cast<unsigned char>(end[-1]))) --end;

    ColorRamp scanned;
    InitDefaultRamp(&scanned);
    scanned.stops[0] = RampStop{};
    int count = 0;
    const char* p = text;
    while (p < end) {
        if (count == kMaxRampStops || !ReadIndex(&p, end, count)) return false;
        RampStop& stop = scanned.stops[count];
        if (!ReadValue(&p, end, ',', &stop.position) || !ReadValue(&p, end, ',', &stop.red) ||
            !ReadValue(&p, end, ',', &stop.green) || !ReadValue(&p, end, '|', &stop.blue)) {
            return false;
        }
        stop.alpha = 1.0f;
        ++count;
    }
    if (count == 0) return false;
    scanned.stop_count = count;
    *ramp = scanned;
    return true;
}

}  // namespace spirovault
