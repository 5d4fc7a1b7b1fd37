// Who holds a host resource (a suite, a handle lock, a check-out, an open stream, a world): the
// frame whose commands took it, or no one in particular (null) outside frames. Frames of one
// instance run at once, so an audit taken while some are in progress leaves out what those hold.
#ifndef SPIROVAULT_HOSTSIM_RESOURCE_HOLDER_H
#define SPIROVAULT_HOSTSIM_RESOURCE_HOLDER_H

#include <map>
#include <set>

namespace hostsim {

using ResourceHolder = const void*;
using HolderSet = std::set<ResourceHolder>;

// Per-holder counts of one kind of resource; the caller guards it.
class HeldCounts {
  public:
    void Add(ResourceHolder holder) { ++counts_[holder]; }
    // Takes one back from `holder`, or else from any holder (something taken in one frame's
    // command may be given back by a call outside it); false when nothing is held at all.
    bool Remove(ResourceHolder holder) {
        auto it = counts_.find(holder);
        if (it == counts_.end()) it = counts_.begin();
        if (it == counts_.end()) return false;
        if (--it->second == 0) counts_.erase(it);
        return true;
    }
    int Total(const HolderSet& skip = {}) const {
        int total = 0;
        for (const auto& [holder, count] : counts_) {
            if (skip.count(holder) == 0) total += count;
        }
        return total;
    }

  private:
    std::map<ResourceHolder, int> counts_;  // only holders with a positive count
};

}  // namespace hostsim

#endif
