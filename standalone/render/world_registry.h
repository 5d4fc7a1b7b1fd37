// The worlds the standalone host has allocated, so that "PF World Suite" can answer for any world
// record the effect holds (its own copy included) and the audit can count what is still live.
#ifndef SPIROVAULT_STANDALONE_RENDER_WORLD_REGISTRY_H
#define SPIROVAULT_STANDALONE_RENDER_WORLD_REGISTRY_H

#include <map>
#include <memory>
#include <mutex>

#include "standalone/render/host_world.h"

class WorldRegistry {
  public:
    HostWorld& Create(int width, int height, WorldDepth depth, PF_PixelFormat reported_format = 0);
    void Destroy(HostWorld& world);

    // PF_Err_BAD_CALLBACK_PARAM for a record that names no live world.
    PF_Err PixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) const;
    size_t LiveCount() const;

  private:
    mutable std::mutex mutex_;
    std::map<const HostWorld*, std::unique_ptr<HostWorld>> worlds_;
};

#endif
