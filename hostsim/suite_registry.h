// The suites the standalone host offers by name and version, with every acquire and release
// counted, and the ability to withhold a suite to exercise failure paths.
#ifndef SPIROVAULT_HOSTSIM_SUITE_REGISTRY_H
#define SPIROVAULT_HOSTSIM_SUITE_REGISTRY_H

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host/sp_basic_suite.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

class SuiteRegistry {
  public:
    enum class Availability { kProvided, kWithheld, kNullPointer };

    struct Counts {
        int acquires = 0;        // successful
        int releases = 0;        // matched an earlier acquire
        int refusals = 0;        // acquisitions refused
        int stray_releases = 0;  // releases of a suite not held
    };

    void Provide(const std::string& name, int32_t version, const void* suite);
    // Withheld: AcquireSuite fails. Null pointer: it succeeds but yields no suite.
    void SetAvailability(const std::string& name, int32_t version, Availability availability);
    // The same for every provided suite whose name starts with the prefix.
    void SetAvailabilityOfFamily(const std::string& prefix, Availability availability);

    // Safe to call from several frames at once; `holder` is the frame the call belongs to.
    SPErr Acquire(const char* name, int32_t version, const void** suite,
                  ResourceHolder holder = nullptr);
    SPErr Release(const char* name, int32_t version, ResourceHolder holder = nullptr);

    Counts CountsFor(const std::string& name, int32_t version) const;
    // Suites acquired and not yet released, "name vN" once per outstanding acquire, leaving out
    // those the skipped holders hold.
    std::vector<std::string> Outstanding(const HolderSet& skip = {}) const;
    int StrayReleases() const;

  private:
    struct Entry {
        const void* suite = nullptr;
        Availability availability = Availability::kProvided;
        Counts counts;
        HeldCounts held;
    };
    using Key = std::pair<std::string, int32_t>;

    mutable std::mutex mutex_;
    std::map<Key, Entry> entries_;
};

}  // namespace hostsim

#endif
