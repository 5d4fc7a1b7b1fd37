#include "hostsim/gpu_devices/gpu_devices.h"

namespace hostsim {

namespace {

constexpr size_t kPixelBytes = sizeof(GpuPixel);

}  // namespace

GpuDevices::~GpuDevices() {
    for (auto& [token, world] : worlds_) devices_[world->device_index]->Free(world->memory);
    for (auto& [memory, block] : effect_blocks_) devices_[block.device_index]->Free(memory);
}

void* GpuDevices::AllocateForEffect(A_u_long device_index, size_t bytes, ResourceHolder holder) {
    GpuDevice* gpu = device(device_index);
    if (gpu == nullptr) return nullptr;
    {
        std::lock_guard lock(mutex_);
        if (fail_effect_allocation_ > 0 && --fail_effect_allocation_ == 0) return nullptr;
        ++host_allocations_;
    }
    void* memory = gpu->Allocate(bytes);
    if (memory == nullptr) return nullptr;
    std::lock_guard lock(mutex_);
    effect_blocks_[memory] = EffectBlock{device_index, holder};
    return memory;
}

void GpuDevices::FreeForEffect(A_u_long device_index, void* memory) {
    {
        std::lock_guard lock(mutex_);
        const auto block = effect_blocks_.find(memory);
        if (block == effect_blocks_.end() || block->second.device_index != device_index) {
            ++effect_memory_misuses_;
            return;
        }
        effect_blocks_.erase(block);
    }
    device(device_index)->Free(memory);
}

void GpuDevices::FailEffectAllocation(int nth) {
    std::lock_guard lock(mutex_);
    fail_effect_allocation_ = nth;
}

size_t GpuDevices::effect_blocks(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    size_t count = 0;
    for (const auto& [memory, block] : effect_blocks_) count += skip.count(block.holder) == 0;
    return count;
}

int GpuDevices::effect_memory_misuses() const {
    std::lock_guard lock(mutex_);
    return effect_memory_misuses_;
}

int GpuDevices::host_allocations() const {
    std::lock_guard lock(mutex_);
    return host_allocations_;
}

int GpuDevices::Open(PF_GPU_Framework framework, std::string* why_not) {
    std::unique_ptr<GpuDevice> device;
    if (framework == PF_GPU_Framework_OPENCL) {
        device = OpenOpenClDevice(why_not);
    } else if (framework == PF_GPU_Framework_CUDA) {
        device = OpenCudaDevice(why_not);
    } else if (why_not != nullptr) {
        *why_not = "the standalone host offers OpenCL and CUDA devices only";
    }
    if (!device) return -1;
    std::lock_guard lock(mutex_);
    devices_.push_back(std::move(device));
    setups_.emplace_back();
    return static_cast<int>(devices_.size() - 1);
}

size_t GpuDevices::count() const {
    std::lock_guard lock(mutex_);
    return devices_.size();
}

GpuDevice* GpuDevices::device(A_u_long index) const {
    std::lock_guard lock(mutex_);
    return index < devices_.size() ? devices_[index].get() : nullptr;
}

int GpuDevices::Find(PF_GPU_Framework framework) const {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < devices_.size(); ++i) {
        if (devices_[i]->framework() == framework) return static_cast<int>(i);
    }
    return -1;
}

void GpuDevices::set_setup(A_u_long index, const Setup& setup) {
    std::lock_guard lock(mutex_);
    if (index < setups_.size()) setups_[index] = setup;
}

GpuDevices::Setup GpuDevices::setup(A_u_long index) const {
    std::lock_guard lock(mutex_);
    return index < setups_.size() ? setups_[index] : Setup{};
}

PF_EffectWorld* GpuDevices::CreateWorld(A_u_long device_index, int width, int height, bool clear) {
    GpuDevice* gpu = device(device_index);
    if (gpu == nullptr || width < 1 || height < 1) return nullptr;
    const size_t pitch =
        (static_cast<size_t>(width) + row_alignment_ - 1) / row_alignment_ * row_alignment_;
    const size_t rowbytes = pitch * kPixelBytes;
    auto world = std::make_unique<World>();
    world->device_index = device_index;
    world->bytes = rowbytes * static_cast<size_t>(height);
    {
        std::lock_guard lock(mutex_);
        ++host_allocations_;
    }
    world->memory = gpu->Allocate(world->bytes);
    if (world->memory == nullptr) return nullptr;
    if (clear) {
        const std::vector<uint8_t> zeros(world->bytes, 0);
        if (!gpu->Write(world->memory, rowbytes, zeros.data(), rowbytes, height)) {
            gpu->Free(world->memory);
            return nullptr;
        }
    }
    PF_EffectWorld& def = world->def;
    def.reserved0 = world.get();
    def.world_flags = PF_WorldFlag_DEEP | PF_WorldFlag_WRITEABLE;
    def.data = nullptr;  // device memory is reached through GetGPUWorldData only
    def.rowbytes = static_cast<A_long>(rowbytes);
    def.width = width;
    def.height = height;
    def.pix_aspect_ratio = PF_RationalScale{1, 1};
    std::lock_guard lock(mutex_);
    return &worlds_.emplace(world.get(), std::move(world)).first->second->def;
}

void GpuDevices::DisposeWorld(PF_EffectWorld* world) {
    std::unique_lock lock(mutex_);
    if (Find(world) == nullptr) return;
    const auto it = worlds_.find(world->reserved0);
    GpuDevice* gpu = devices_[it->second->device_index].get();
    void* memory = it->second->memory;
    worlds_.erase(it);
    lock.unlock();
    gpu->Free(memory);
}

const GpuDevices::World* GpuDevices::Find(const PF_EffectWorld* world) const {
    if (world == nullptr) return nullptr;
    const auto it = worlds_.find(world->reserved0);
    return it == worlds_.end() ? nullptr : it->second.get();
}

bool GpuDevices::IsGpuWorld(const PF_EffectWorld* world) const {
    std::lock_guard lock(mutex_);
    return Find(world) != nullptr;
}

void* GpuDevices::WorldData(const PF_EffectWorld* world) const {
    std::lock_guard lock(mutex_);
    const World* found = Find(world);
    return found != nullptr ? found->memory : nullptr;
}

int GpuDevices::WorldDevice(const PF_EffectWorld* world) const {
    std::lock_guard lock(mutex_);
    const World* found = Find(world);
    return found != nullptr ? static_cast<int>(found->device_index) : -1;
}

size_t GpuDevices::WorldBytes(const PF_EffectWorld* world) const {
    std::lock_guard lock(mutex_);
    const World* found = Find(world);
    return found != nullptr ? found->bytes : 0;
}

size_t GpuDevices::live_worlds() const {
    std::lock_guard lock(mutex_);
    return worlds_.size();
}

bool GpuDevices::Upload(PF_EffectWorld* world, const std::vector<GpuPixel>& pixels) {
    const int index = WorldDevice(world);
    if (index < 0 || pixels.size() != static_cast<size_t>(world->width) * world->height) {
        return false;
    }
    return device(index)->Write(WorldData(world), world->rowbytes, pixels.data(),
                                world->width * kPixelBytes, world->height);
}

std::vector<GpuPixel> GpuDevices::Download(const PF_EffectWorld* world) {
    const int index = WorldDevice(world);
    if (index < 0) return {};
    std::vector<GpuPixel> pixels(static_cast<size_t>(world->width) * world->height);
    if (!device(index)->Read(WorldData(world), world->rowbytes, pixels.data(),
                             world->width * kPixelBytes, world->height)) {
        return {};
    }
    return pixels;
}

}  // namespace hostsim
