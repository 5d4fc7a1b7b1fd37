// The values "SpirovaultKernel" receives: the frame's record packed into the light table, the
// seventeen four-float parameter vectors and the scalar arguments, and the 38 arguments in order.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_KERNEL_ARGS_H
#define SPIROVAULT_DEVICE_GPU_GPU_KERNEL_ARGS_H

#include <cstdint>

#include "kernel/settings.h"

struct alignas(16) GpuFloat4 {
    float x = 0, y = 0, z = 0, w = 0;
};

// One composition light: (position, intensity), (colour, casts shadows), (shadow darkness,
// shadow diffusion, the record's shadow samples, 0).
struct GpuLight {
    GpuFloat4 group[3];
};

struct GpuLightTable {
    GpuLight lights[kMaxCompLights];
};

// Kernel arguments 6 to 22; vectors[0] is argument 6.
struct GpuParamVectors {
    static constexpr int kCount = 17;
    static constexpr int kFirstArgument = 6;
    GpuFloat4 vectors[kCount];
};

static_assert(sizeof(GpuLight) == 48, "a light is twelve floats");
static_assert(sizeof(GpuLightTable) == 384, "the light table is eight lights");
static_assert(sizeof(GpuParamVectors) == 17 * 16, "seventeen packed four-float vectors");

// The 38 arguments, in kernel order. Buffers are device pointers on CUDA and cl_mem on OpenCL.
struct SpirovaultKernelArgs {
    void* output = nullptr;              // 0
    uint32_t output_pitch = 0;           // 1, in pixels
    uint32_t pixel_size_flag = 0;        // 2, 0: four 32-bit floats per pixel
    uint32_t width = 0;                  // 3
    uint32_t height = 0;                 // 4
    uint32_t supersampling = 0;          // 5
    GpuParamVectors params;              // 6 to 22
    void* lights = nullptr;              // 23
    void* ramp = nullptr;                // 24
    uint32_t environment_present = 0;    // 25
    void* environment = nullptr;         // 26
    uint32_t environment_width = 0;      // 27
    uint32_t environment_height = 0;     // 28
    float hdri_rotation = 0;             // 29
    float hdri_intensity = 0;            // 30
    uint32_t hdri_samples = 0;           // 31
    float hdri_shadow_intensity = 0;     // 32
    uint32_t hdri_specular = 0;          // 33
    GpuFloat4 depth;                     // 34: depth map, start, end, 0
    void* input = nullptr;               // 35
    uint32_t input_pitch = 0;            // 36, in pixels
    uint32_t composite_on_original = 0;  // 37
};

constexpr int kSpirovaultKernelArgCount = 38;

// The device frames of one GPU render, as the host's GPU worlds give them.
struct GpuFrame {
    void* output = nullptr;
    uint32_t output_pitch = 0;  // pixels
    uint32_t width = 0;
    uint32_t height = 0;
    void* input = nullptr;  // null: no input frame, nothing to composite over
    uint32_t input_pitch = 0;
};

// Entries 0 to comp_light_count - 1 from the record's lights, the rest zero.
GpuLightTable BuildLightTable(const RenderSettings& record);
GpuParamVectors BuildGpuParamVectors(const RenderSettings& record);

// Every argument but the three table buffers, from the record as it stands: the environment's
// presence, size and settings as the record holds them; compositing only over an input frame.
SpirovaultKernelArgs MakeKernelArgs(const RenderSettings& record, const GpuFrame& frame);

// Whether the record carries an environment image the kernel can read.
bool HasEnvironment(const RenderSettings& record);

// Size and address of argument `index` as clSetKernelArg takes them.
struct KernelArgSlot {
    size_t size;
    const void* value;
};
KernelArgSlot KernelArgAt(const SpirovaultKernelArgs& args, int index);

#endif
