// The worlds the standalone host has allocated, so that "PF World Suite" can answer for any world
// record the effect holds (its own copy included) and the audit can count what is still live.
// Frames create and destroy their worlds at once.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_WORLD_REGISTRY_H
#define SPIROVAULT_HOSTSIM_FRAMES_WORLD_REGISTRY_H

#include <map>
#include <memory>
#include <mutex>

#include "hostsim/frames/host_world.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

class WorldRegistry {
  public:
    // `owner`: the frame the world belongs to.
    HostWorld& Create(int width, int height, WorldDepth depth, PF_PixelFormat reported_format = 0,
                      ResourceHolder owner = nullptr);
    void Destroy(HostWorld& world);

    // PF_Err_BAD_CALLBACK_PARAM for a record that names no live world.
    PF_Err PixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) const;
    // Leaves out the worlds of the skipped owners.
    size_t LiveCount(const HolderSet& skip = {}) const;

  private:
    mutable std::mutex mutex_;
    struct Entry {
        std::unique_ptr<HostWorld> world;
        ResourceHolder owner;
    };
    std::map<const HostWorld*, Entry> worlds_;
};

}  // namespace hostsim

#endif
