#include "hostsim/suite_registry.h"

namespace hostsim {

void SuiteRegistry::Provide(const std::string& name, int32_t version, const void* suite) {
    std::lock_guard lock(mutex_);
    entries_[{name, version}].suite = suite;
}

void SuiteRegistry::SetAvailability(const std::string& name, int32_t version,
                                    Availability availability) {
    std::lock_guard lock(mutex_);
    entries_[{name, version}].availability = availability;
}

void SuiteRegistry::SetAvailabilityOfFamily(const std::string& prefix, Availability availability) {
    std::lock_guard lock(mutex_);
    for (auto& [key, entry] : entries_) {
        if (entry.suite != nullptr && key.first.compare(0, prefix.size(), prefix) == 0) {
            entry.availability = availability;
        }
    }
}

SPErr SuiteRegistry::Acquire(const char* name, int32_t version, const void** suite,
                             ResourceHolder holder) {
    std::lock_guard lock(mutex_);
    if (name == nullptr || suite == nullptr) return kSPSuiteNotFoundError;
    Entry& entry = entries_[{name, version}];
    if (entry.availability == Availability::kWithheld ||
        (entry.suite == nullptr && entry.availability == Availability::kProvided)) {
        ++entry.counts.refusals;
        return kSPSuiteNotFoundError;
    }
    *suite = entry.availability == Availability::kNullPointer ? nullptr : entry.suite;
    ++entry.counts.acquires;
    entry.held.Add(holder);
    return kSPNoError;
}

SPErr SuiteRegistry::Release(const char* name, int32_t version, ResourceHolder holder) {
    std::lock_guard lock(mutex_);
    if (name == nullptr) return kSPSuiteNotFoundError;
    Entry& entry = entries_[{name, version}];
    if (entry.counts.releases >= entry.counts.acquires) {
        ++entry.counts.stray_releases;
        return kSPSuiteNotFoundError;
    }
    ++entry.counts.releases;
    entry.held.Remove(holder);
    return kSPNoError;
}

SuiteRegistry::Counts SuiteRegistry::CountsFor(const std::string& name, int32_t version) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find({name, version});
    return it == entries_.end() ? Counts{} : it->second.counts;
}

std::vector<std::string> SuiteRegistry::Outstanding(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> held;
    for (const auto& [key, entry] : entries_) {
        for (int i = entry.held.Total(skip); i > 0; --i) {
            held.push_back(key.first + " v" + std::to_string(key.second));
        }
    }
    return held;
}

int SuiteRegistry::StrayReleases() const {
    std::lock_guard lock(mutex_);
    int stray = 0;
    for (const auto& [key, entry] : entries_) stray += entry.counts.stray_releases;
    return stray;
}

}  // namespace hostsim
