// The plug-in property list the host reads before loading the library: the twelve properties,
// defined once, and their serialised resource bytes.
#ifndef SPIROVAULT_EFFECT_PROPERTY_LIST_H
#define SPIROVAULT_EFFECT_PROPERTY_LIST_H

#include <cstdint>
#include <vector>

namespace spirovault {

inline constexpr int kPropertyListResourceId = 16000;
inline constexpr int kPropertyListLanguage = 1033;

// The resource body: list version, reserved word, count, then each property as vendor, key, id,
// padded length and value padded to 4 bytes; little-endian throughout.
std::vector<uint8_t> PropertyListBytes();

}  // namespace spirovault

#endif
