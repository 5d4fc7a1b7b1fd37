#include "standalone/render/world_registry.h"

HostWorld& WorldRegistry::Create(int width, int height, WorldDepth depth,
                                 PF_PixelFormat reported_format) {
    auto world = std::make_unique<HostWorld>(width, height, depth, reported_format);
    HostWorld& created = *world;
    std::lock_guard lock(mutex_);
    worlds_.emplace(&created, std::move(world));
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
    *format = it->second->reported_format();
    return PF_Err_NONE;
}

size_t WorldRegistry::LiveCount() const {
    std::lock_guard lock(mutex_);
    return worlds_.size();
}
