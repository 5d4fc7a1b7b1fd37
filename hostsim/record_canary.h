// An extra record with guard bytes right after its last byte. The host allocates exactly the
// record's size, so an effect that writes past it (a field at a wrong offset) damages host
// memory; here the damage shows in the guard bytes.
#ifndef SPIROVAULT_HOSTSIM_RECORD_CANARY_H
#define SPIROVAULT_HOSTSIM_RECORD_CANARY_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace hostsim {

inline constexpr uint8_t kCanaryByte = 0xC5;
inline constexpr size_t kCanaryBytes = 64;

template <typename Record>
struct GuardedRecord {
    explicit GuardedRecord(const Record& value) : record(value) {
        std::fill(std::begin(canary), std::end(canary), kCanaryByte);
    }
    bool intact() const {
        return std::all_of(std::begin(canary), std::end(canary),
                           [](uint8_t b) { return b == kCanaryByte; });
    }

    Record record;
    uint8_t canary[kCanaryBytes];
};

}  // namespace hostsim

#endif
