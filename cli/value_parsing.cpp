#include "cli/value_parsing.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "cli/cli_error.h"

namespace cli {

namespace {

constexpr int kMaxSide = 32767;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The shortest text that reads back as the same number, so that a message never shows a value
// rounded onto the limit it broke ("32767.5 is outside ... to 32767", not "32767 is outside").
std::string Number(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// A float slider's limit, as the single float it is: 0.1, not 0.10000000149011612.
std::string Number(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseWhole(std::string_view text, long min, long max, long* value) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    const long parsed = std::strtol(std::string(text).c_str(), nullptr, 10);
    if (parsed < min || parsed > max) return false;
    *value = parsed;
    return true;
}

std::string Quoted(std::string_view text) {
    return "\"" + Escaped(text) + "\"";
}

std::string Escaped(std::string_view text) {
    // Control characters would break the one-line message or cut it short (a NUL).
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (byte < 0x20 || byte == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

double ParseNumber(std::string_view text, std::string_view what) {
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    const bool whole = !copy.empty() && end == copy.c_str() + copy.size() &&
                       !std::isspace(static_cast<unsigned char>(copy.front()));
    if (!whole) throw UsageError(std::string(what) + ": " + Quoted(text) + " is not a number");
    // Underflow gives the nearest number (0 or a subnormal), which is what was meant; overflow
    // has no number to give.
    if (!std::isfinite(value)) {
        throw UsageError(std::string(what) + ": " + Quoted(text) +
                         " is not a finite number of the size a double holds");
    }
    return value;
}

FrameSize ParseSize(std::string_view text) {
    const size_t x = text.find_first_of("xX");
    FrameSize size;
    long width = 0, height = 0;
    if (x == std::string_view::npos || !ParseWhole(text.substr(0, x), 1, kMaxSide, &width) ||
        !ParseWhole(text.substr(x + 1), 1, kMaxSide, &height)) {
        throw UsageError("size " + Quoted(text) + ": expected WxH with each side 1 to " +
                         std::to_string(kMaxSide));
    }
    size.width = static_cast<int>(width);
    size.height = static_cast<int>(height);
    return size;
}

namespace {

constexpr long kMaxFrame = 9999999;

// One item of a frame list: "A", "A-B" or "A-BxN"; false when it is none of those.
bool ParseFrameSpan(std::string_view text, FrameRange::Span* span) {
    const size_t x = text.find_first_of("xX");
    if (x != std::string_view::npos) {
        if (!ParseWhole(text.substr(x + 1), 1, kMaxFrame, &span->step)) return false;
        text = text.substr(0, x);
    }
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        // A step needs a range to step through.
        if (x != std::string_view::npos) return false;
        if (!ParseWhole(text, 0, kMaxFrame, &span->first)) return false;
        span->last = span->first;
        return true;
    }
    return ParseWhole(text.substr(0, dash), 0, kMaxFrame, &span->first) &&
           ParseWhole(text.substr(dash + 1), 0, kMaxFrame, &span->last);
}

}  // namespace

long FrameRange::Count() const {
    if (spans.empty()) return last - first + 1;
    long count = 0;
    for (const Span& span : spans) count += (span.last - span.first) / span.step + 1;
    return count;
}

long FrameRange::At(long index) const {
    if (spans.empty()) return first + index;
    for (const Span& span : spans) {
        const long count = (span.last - span.first) / span.step + 1;
        if (index < count) return span.first + index * span.step;
        index -= count;
    }
    return last;
}

std::string FormatFrameRange(const FrameRange& frames) {
    if (frames.spans.empty()) {
        return frames.first == frames.last
                   ? std::to_string(frames.first)
                   : std::to_string(frames.first) + "-" + std::to_string(frames.last);
    }
    std::string text;
    for (const FrameRange::Span& span : frames.spans) {
        if (!text.empty()) text += ",";
        text += std::to_string(span.first);
        if (span.last != span.first) text += "-" + std::to_string(span.last);
        if (span.step != 1) text += "x" + std::to_string(span.step);
    }
    return text;
}

FrameRange ParseFrameRange(std::string_view text) {
    std::vector<FrameRange::Span> spans;
    for (size_t start = 0;;) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        FrameRange::Span span;
        if (!ParseFrameSpan(item, &span)) {
            throw UsageError("frames " + Quoted(text) +
                             ": expected A, A-B, A-BxN (every Nth frame) or a list of those "
                             "(1,7,20-30), frame numbers 0 to " +
                             std::to_string(kMaxFrame));
        }
        if (span.last < span.first) {
            throw UsageError("frames " + Quoted(text) + ": " +
                             (item.size() == text.size() ? "" : "in " + Quoted(item) + " ") +
                             "the last frame comes before the first");
        }
        // "0-100x7" ends at 98, the last frame it renders.
        span.last -= (span.last - span.first) % span.step;
        if (!spans.empty() && span.first <= spans.back().last) {
            throw UsageError("frames " + Quoted(text) + ": " + Quoted(item) +
                             " does not come after the frames before it: list frames in "
                             "ascending order, each once");
        }
        spans.push_back(span);
        if (comma == text.size()) break;
        start = comma + 1;
    }
    FrameRange range;
    range.first = spans.front().first;
    range.last = spans.back().last;
    // A plain range keeps its plain form.
    if (spans.size() > 1 || spans.front().step != 1) range.spans = std::move(spans);
    return range;
}

PF_Pixel ParseColor(std::string_view text) {
    bool ok = text.size() == 7 && text[0] == '#';
    for (size_t i = 1; ok && i < 7; ++i) ok = HexDigit(text[i]) >= 0;
    if (!ok) throw UsageError("color " + Quoted(text) + ": expected #RRGGBB");
    auto byte = [&](size_t at) {
        return static_cast<A_u_char>(HexDigit(text[at]) * 16 + HexDigit(text[at + 1]));
    };
    return PF_Pixel{255, byte(1), byte(3), byte(5)};
}

bool ParseSwitch(std::string_view text, std::string_view what) {
    const std::string lower = Lower(text);
    if (lower == "on" || lower == "true" || lower == "yes" || lower == "1") return true;
    if (lower == "off" || lower == "false" || lower == "no" || lower == "0") return false;
    throw UsageError(std::string(what) + ": " + Quoted(text) + " is not on or off");
}

ParamValue CheckParamNumber(const ParamInfo& param, double number) {
    const std::string what = Quoted(param.name);
    if (!std::isfinite(number)) throw UsageError(what + ": the value is not a finite number");
    ParamValue value;
    value.number = number;
    switch (param.kind) {
        case ParamKind::kIntSlider:
        case ParamKind::kPopup:
            if (number != std::floor(number)) {
                throw UsageError(what + ": " + Number(number) + " is not a whole number");
            }
            [[fallthrough]];
        case ParamKind::kFloatSlider:
        case ParamKind::kAngle: {
            // Float slider limits are single floats: "0.1" must pass a limit of 0.1f.
            const bool single = param.kind == ParamKind::kFloatSlider;
            // A number past the float range is out of it: converting it would be undefined.
            const bool narrowed = single && std::abs(number) <= std::numeric_limits<float>::max();
            const double v = narrowed ? static_cast<float>(number) : number;
            const double min = single ? static_cast<float>(param.valid_min) : param.valid_min;
            const double max = single ? static_cast<float>(param.valid_max) : param.valid_max;
            if (v < min || v > max) {
                throw UsageError(what + ": " + Number(number) + " is outside the valid range " +
                                 (single ? Number(static_cast<float>(min)) : Number(min)) + " to " +
                                 (single ? Number(static_cast<float>(max)) : Number(max)));
            }
            return value;
        }
        case ParamKind::kCheckbox:
            if (number != 0 && number != 1) {
                throw UsageError(what + ": " + Number(number) + " is not 0 (off) or 1 (on)");
            }
            return value;
        default:
            throw UsageError(what + " does not take a number");
    }
}

ParamValue ParseParamValue(const ParamInfo& param, std::string_view text) {
    const std::string what = Quoted(param.name);
    switch (param.kind) {
        case ParamKind::kFloatSlider:
        case ParamKind::kIntSlider:
        case ParamKind::kAngle:
            return CheckParamNumber(param, ParseNumber(text, what));
        case ParamKind::kCheckbox: {
            ParamValue value;
            value.number = ParseSwitch(text, what) ? 1 : 0;
            return value;
        }
        case ParamKind::kPopup: {
            const std::string lower = Lower(text);
            for (size_t i = 0; i < param.choices.size(); ++i) {
                if (Lower(param.choices[i]) == lower) {
                    ParamValue value;
                    value.number = static_cast<double>(i + 1);
                    return value;
                }
            }
            long choice = 0;
            if (ParseWhole(text, 1, static_cast<long>(param.choices.size()), &choice)) {
                ParamValue value;
                value.number = static_cast<double>(choice);
                return value;
            }
            std::string names;
            for (size_t i = 0; i < param.choices.size(); ++i) {
                names += (i > 0 ? ", " : "") + Quoted(param.choices[i]);
            }
            throw UsageError(what + ": " + Quoted(text) + " is not one of " + names + " or 1 to " +
                             std::to_string(param.choices.size()));
        }
        case ParamKind::kColor: {
            ParamValue value;
            try {
                value.color = ParseColor(text);
            } catch (const CliError&) {
                throw UsageError(what + ": " + Quoted(text) + " is not a color #RRGGBB");
            }
            return value;
        }
        case ParamKind::kLayer:
            throw UsageError(what + " is a layer: give an image file with --hdri");
        case ParamKind::kArbitraryData:
            throw UsageError(what + " is set with --ramp");
        default:
            throw UsageError(what + " does not take a value");
    }
}

Assignment ParseAssignment(std::string_view text) {
    // "Power = 6" as "Power=6": spaces around the name and the value are the user's layout.
    const auto trimmed = [](std::string_view part) {
        const size_t begin = part.find_first_not_of(" \t");
        if (begin == std::string_view::npos) return std::string();
        return std::string(part.substr(begin, part.find_last_not_of(" \t") - begin + 1));
    };
    const size_t equals = text.find('=');
    const std::string name =
        trimmed(text.substr(0, equals == std::string_view::npos ? text.size() : equals));
    if (equals == std::string_view::npos || name.empty()) {
        throw UsageError("--set " + Quoted(text) + ": expected NAME=VALUE");
    }
    return Assignment{name, trimmed(text.substr(equals + 1))};
}

}  // namespace cli
