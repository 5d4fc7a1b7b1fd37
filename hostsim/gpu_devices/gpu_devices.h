// The GPU devices the standalone host has opened, what it keeps per device for the effect
// (gpu_data from device setup), and the GPU worlds on them: PF_PixelFormat_GPU_BGRA128, four
// floats per pixel in the order blue, green, red, alpha, with padded rows.
#ifndef SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICES_H
#define SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICES_H

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/pf_effect_world.h"
#include "hostsim/gpu_devices/gpu_device.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

// One pixel of a GPU world.
struct GpuPixel {
    float blue = 0, green = 0, red = 0, alpha = 0;
};

class GpuDevices {
  public:
    GpuDevices() = default;
    ~GpuDevices();
    GpuDevices(const GpuDevices&) = delete;
    GpuDevices& operator=(const GpuDevices&) = delete;

    // Opens the first device of the framework; its index, or -1 with the reason.
    int Open(PF_GPU_Framework framework, std::string* why_not = nullptr);
    size_t count() const;
    // Null for an index that was never opened.
    GpuDevice* device(A_u_long index) const;

    // The first open device of a framework, or -1.
    int Find(PF_GPU_Framework framework) const;

    // What the host keeps for a device between setup and setdown: the effect's gpu_data and
    // whether the effect accepted the device for GPU rendering.
    struct Setup {
        bool done = false;
        bool accepted = false;
        void* gpu_data = nullptr;
    };
    void set_setup(A_u_long index, const Setup& setup);
    Setup setup(A_u_long index) const;

    // Rows are padded to this many pixels (the host's choice; at least 1).
    void set_row_alignment(int pixels) { row_alignment_ = pixels < 1 ? 1 : pixels; }

    // A GPU world on a device, cleared to transparent black when asked; null on failure.
    PF_EffectWorld* CreateWorld(A_u_long device_index, int width, int height, bool clear = true);
    void DisposeWorld(PF_EffectWorld* world);
    bool IsGpuWorld(const PF_EffectWorld* world) const;
    // The world's device memory (cl_mem or device pointer) and device; null / -1 for others.
    void* WorldData(const PF_EffectWorld* world) const;
    int WorldDevice(const PF_EffectWorld* world) const;
    size_t WorldBytes(const PF_EffectWorld* world) const;
    size_t live_worlds() const;

    // Device memory the effect asks for through the GPU device suite, counted by the frame
    // (`holder`) it was asked for in; null when the device cannot give it or a failure was
    // injected. Freeing memory the suite did not hand out counts as a misuse.
    void* AllocateForEffect(A_u_long device_index, size_t bytes, ResourceHolder holder);
    void FreeForEffect(A_u_long device_index, void* memory);
    // The n-th allocation through the suite from now fails, counting from 1.
    void FailEffectAllocation(int nth);
    // Blocks still allocated, leaving out those of the skipped holders.
    size_t effect_blocks(const HolderSet& skip = {}) const;
    int effect_memory_misuses() const;
    // Every allocation the host made on its devices, for worlds and through the suite alike: an
    // allocator call beyond these was the effect's own.
    int host_allocations() const;

    // Packed rows of pixels to and from a world; false on failure.
    bool Upload(PF_EffectWorld* world, const std::vector<GpuPixel>& pixels);
    std::vector<GpuPixel> Download(const PF_EffectWorld* world);

  private:
    struct World {
        PF_EffectWorld def{};
        A_u_long device_index = 0;
        void* memory = nullptr;
        size_t bytes = 0;
    };
    // A world record names its world by the token in reserved0, so that a copy of the record
    // names it too.
    const World* Find(const PF_EffectWorld* world) const;

    struct EffectBlock {
        A_u_long device_index = 0;
        ResourceHolder holder = nullptr;
    };

    mutable std::mutex mutex_;
    std::map<void*, EffectBlock> effect_blocks_;
    int effect_memory_misuses_ = 0;
    int fail_effect_allocation_ = 0;
    int host_allocations_ = 0;
    std::vector<std::unique_ptr<GpuDevice>> devices_;
    std::vector<Setup> setups_;
    std::map<const void*, std::unique_ptr<World>> worlds_;
    int row_alignment_ = 64;
};

}  // namespace hostsim

#endif
