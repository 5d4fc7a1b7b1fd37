#include "hostsim/composition/composition_handles.h"

namespace hostsim {

namespace {

// Layer references are stack index + 1, so that no layer is the null reference.
AEGP_LayerH LayerRef(A_long index) {
    return reinterpret_cast<AEGP_LayerH>(static_cast<uintptr_t>(index) + 1);
}

}  // namespace

CompositionHandles::CompositionHandles(Composition* composition) : composition_(composition) {
    effect_layer_.name = "effect layer";
    effect_layer_.kind = LayerKind::kFootage;
}

AEGP_CompH CompositionHandles::comp() const {
    return reinterpret_cast<AEGP_CompH>(composition_);
}

AEGP_ItemH CompositionHandles::item() const {
    return reinterpret_cast<AEGP_ItemH>(composition_);
}

A_long CompositionHandles::LayerCount() const {
    const A_long listed = static_cast<A_long>(composition_->layers.size());
    return composition_->effect_has_layer ? listed + 1 : listed;
}

AEGP_LayerH CompositionHandles::LayerAt(A_long index) const {
    return index >= 0 && index < LayerCount() ? LayerRef(index) : nullptr;
}

AEGP_LayerH CompositionHandles::EffectLayer() const {
    return composition_->effect_has_layer ? LayerRef(LayerCount() - 1) : nullptr;
}

const CompLayer* CompositionHandles::Find(AEGP_LayerH layer) const {
    const uintptr_t ref = reinterpret_cast<uintptr_t>(layer);
    if (ref == 0 || ref > static_cast<uintptr_t>(LayerCount())) return nullptr;
    const size_t index = ref - 1;
    return index < composition_->layers.size() ? &composition_->layers[index] : &effect_layer_;
}

AEGP_StreamRefH CompositionHandles::OpenStream(AEGP_LayerH layer, AEGP_LayerStream stream,
                                               ResourceHolder holder) {
    std::lock_guard<std::mutex> lock(mutex_);
    // Stream references are counters shifted into the high half, never valid pointers.
    auto ref = reinterpret_cast<AEGP_StreamRefH>((next_stream_++) << 20);
    streams_[ref] = {static_cast<A_long>(reinterpret_cast<uintptr_t>(layer) - 1), stream, holder};
    return ref;
}

bool CompositionHandles::CloseStream(AEGP_StreamRefH stream) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (streams_.erase(stream) == 1) return true;
    ++misuses_;
    return false;
}

bool CompositionHandles::Lookup(AEGP_StreamRefH stream, const CompLayer** layer,
                                AEGP_LayerStream* which) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = streams_.find(stream);
    if (found == streams_.end()) return false;
    *layer = Find(LayerRef(found->second.layer_index));
    *which = found->second.stream;
    return *layer != nullptr;
}

void CompositionHandles::ValueHandedOut(ResourceHolder holder) {
    std::lock_guard<std::mutex> lock(mutex_);
    open_values_.Add(holder);
}

bool CompositionHandles::ValueDisposed(ResourceHolder holder) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_values_.Remove(holder)) return true;
    ++misuses_;
    return false;
}

AEGP_PluginID CompositionHandles::Register(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    registered_.push_back(name);
    return static_cast<AEGP_PluginID>(100 + registered_.size());
}

std::vector<std::string> CompositionHandles::registered_names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return registered_;
}

int CompositionHandles::open_streams(const HolderSet& skip) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int open = 0;
    for (const auto& [ref, record] : streams_) open += skip.count(record.holder) == 0 ? 1 : 0;
    return open;
}

int CompositionHandles::open_values(const HolderSet& skip) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_values_.Total(skip);
}

int CompositionHandles::misuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return misuses_;
}

}  // namespace hostsim
