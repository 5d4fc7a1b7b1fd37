#include "hostsim/frames/world_registry.h"

namespace hostsim {

HostWorld& WorldRegistry::Create(int width, int height, WorldDepth depth,
                                 PF_PixelFormat reported_format, ResourceHolder owner) {
    auto world = std::make_unique<HostWorld>(width, height, depth, reported_format);
    HostWorld& created = *world;
    std::lock_guard lock(mutex_);
    worlds_.emplace(&created, Entry{std::move(world), owner});
    return created;
}

void WorldRegistry::Destroy(HostWorld& world) {
    std::lock_guard lock(mutex_);
    worlds_.erase(&world);
}

PF_Err WorldRegistry::PixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) const {
    if (world == nullptr || format == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    std::lock_guard lock(mutex_);
    const auto it = worlds_.find(static_cast<const HostWorld*>(world->reserved0));
    if (it == worlds_.end()) return PF_Err_BAD_CALLBACK_PARAM;
    *format = it->second.world->reported_format();
    return PF_Err_NONE;
}

size_t WorldRegistry::LiveCount(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    size_t live = 0;
    for (const auto& [key, entry] : worlds_) live += skip.count(entry.owner) == 0 ? 1 : 0;
    return live;
}

}  // namespace hostsim
