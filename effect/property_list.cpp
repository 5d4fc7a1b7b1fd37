#include "effect/property_list.h"

#include <cstring>
#include <string_view>

#include "effect/plugin_identity.h"

namespace spirovault {

namespace {

enum class ValueKind { kFourCharCode, kPascalString, kCString, kTwoShorts, kLong, kShort };

struct Property {
    const char* key;
    ValueKind kind;
    const char* text;  // four-character code or string
    A_long first;      // number, or first of two shorts
    A_long second;
};

constexpr Property kProperties[] = {
    {"kind", ValueKind::kFourCharCode, "eFKT", 0, 0},
    {"name", ValueKind::kPascalString, kEffectName, 0, 0},
    {"catg", ValueKind::kPascalString, kEffectCategory, 0, 0},
    {"8664", ValueKind::kCString, kEffectEntryPoint, 0, 0},
    {"ePVR", ValueKind::kTwoShorts, nullptr, 2, 0},
    {"eSVR", ValueKind::kTwoShorts, nullptr, kEffectApiVersionMajor, kEffectApiVersionMinor},
    {"eVER", ValueKind::kLong, nullptr, static_cast<A_long>(kEffectVersion), 0},
    {"eINF", ValueKind::kShort, nullptr, 0, 0},
    {"eGLO", ValueKind::kLong, nullptr, kEffectOutFlags, 0},
    {"eGL2", ValueKind::kLong, nullptr, kEffectOutFlags2Gpu, 0},
    {"eMNA", ValueKind::kPascalString, kEffectMatchName, 0, 0},
    {"aeFL", ValueKind::kLong, nullptr, 0, 0},
};
static_assert(sizeof kProperties / sizeof kProperties[0] == 12);

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
// Codes are numbers, so their characters land in reverse order.
void PutCode(std::vector<uint8_t>& out, const char* code) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(code[i]);
    PutU32(out, v);
}

// The value's bytes unpadded: the length field counts these, the padding follows.
std::vector<uint8_t> Value(const Property& p) {
    std::vector<uint8_t> value;
    switch (p.kind) {
        case ValueKind::kFourCharCode:
            PutCode(value, p.text);
            break;
        case ValueKind::kPascalString: {
            const std::string_view s(p.text);
            value.push_back(static_cast<uint8_t>(s.size()));
            value.insert(value.end(), s.begin(), s.end());
            break;
        }
        case ValueKind::kCString: {
            const std::string_view s(p.text);
            value.insert(value.end(), s.begin(), s.end());
            value.push_back(0);
            break;
        }
        case ValueKind::kTwoShorts:
            PutU16(value, static_cast<uint32_t>(p.first));
            PutU16(value, static_cast<uint32_t>(p.second));
            break;
        case ValueKind::kLong:
            PutU32(value, static_cast<uint32_t>(p.first));
            break;
        case ValueKind::kShort:
            PutU16(value, static_cast<uint32_t>(p.first));
            break;
    }
    return value;
}

// Strings keep the length they have always been written with, terminator and padding
// included; a 16-bit number is two bytes long and padded, as the host's own compiler writes it.
uint32_t DeclaredLength(const Property& p, const std::vector<uint8_t>& padded, size_t unpadded) {
    return p.kind == ValueKind::kShort ? static_cast<uint32_t>(unpadded)
                                       : static_cast<uint32_t>(padded.size());
}

}  // namespace

std::vector<uint8_t> PropertyListBytes() {
    std::vector<uint8_t> out;
    PutU16(out, 1);  // list version
    PutU32(out, 0);  // reserved
    PutU32(out, sizeof kProperties / sizeof kProperties[0]);
    for (const Property& p : kProperties) {
        std::vector<uint8_t> value = Value(p);
        const size_t unpadded = value.size();
        while (value.size() % 4 != 0) value.push_back(0);
        PutCode(out, "8BIM");
        PutCode(out, p.key);
        PutU32(out, 0);  // id
        PutU32(out, DeclaredLength(p, value, unpadded));
        out.insert(out.end(), value.begin(), value.end());
    }
    return out;
}

}  // namespace spirovault
