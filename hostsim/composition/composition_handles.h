// The opaque references the general-plug-in suites hand out for the composition: the comp and
// its item, layers by stack index, stream references and stream values, with counts of what the
// effect has not disposed of.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_COMPOSITION_HANDLES_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_COMPOSITION_HANDLES_H

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "host/aegp_types.h"
#include "hostsim/composition/composition.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

class CompositionHandles {
  public:
    explicit CompositionHandles(Composition* composition);
    CompositionHandles(const CompositionHandles&) = delete;
    CompositionHandles& operator=(const CompositionHandles&) = delete;

    const Composition& composition() const { return *composition_; }
    AEGP_CompH comp() const;
    AEGP_ItemH item() const;
    bool IsComp(AEGP_CompH comp) const { return comp == this->comp(); }
    bool IsItem(AEGP_ItemH item) const { return item == this->item(); }

    // The stack holds the composition's layers, top first, then the effect's own footage layer
    // at the bottom (when the effect has a layer).
    A_long LayerCount() const;
    AEGP_LayerH LayerAt(A_long index) const;  // null when out of range
    AEGP_LayerH EffectLayer() const;          // null when the effect has no layer
    const CompLayer* Find(AEGP_LayerH layer) const;

    // `holder`: the frame whose command opens the stream or takes the value.
    AEGP_StreamRefH OpenStream(AEGP_LayerH layer, AEGP_LayerStream stream,
                               ResourceHolder holder = nullptr);
    bool CloseStream(AEGP_StreamRefH stream);
    // False for a reference that is not open.
    bool Lookup(AEGP_StreamRefH stream, const CompLayer** layer, AEGP_LayerStream* which) const;
    void ValueHandedOut(ResourceHolder holder = nullptr);
    bool ValueDisposed(ResourceHolder holder = nullptr);  // false when no value was outstanding

    AEGP_PluginID Register(const std::string& name);
    std::vector<std::string> registered_names() const;

    // Both leave out what the skipped holders have open.
    int open_streams(const HolderSet& skip = {}) const;
    int open_values(const HolderSet& skip = {}) const;
    int misuses() const;  // disposals of streams or values that were not open

  private:
    struct OpenStreamRecord {
        A_long layer_index;
        AEGP_LayerStream stream;
        ResourceHolder holder;
    };

    Composition* composition_;
    CompLayer effect_layer_;
    mutable std::mutex mutex_;
    std::map<AEGP_StreamRefH, OpenStreamRecord> streams_;
    uintptr_t next_stream_ = 1;
    HeldCounts open_values_;
    int misuses_ = 0;
    std::vector<std::string> registered_;
};

}  // namespace hostsim

#endif
