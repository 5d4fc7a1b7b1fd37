// The values "SpirovaultKernel" receives, as the host side holds them before either framework
// passes them: one slot per argument of the kernel's one table (kernel/gpu/kernel_args.h), typed
// by its kind, and the light table.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_KERNEL_ARGS_H
#define SPIROVAULT_DEVICE_GPU_GPU_KERNEL_ARGS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kernel/gpu/kernel_args.h"
#include "kernel/settings.h"

namespace spirovault {

// The arguments by name, in kernel order: KernelArg::width is the kernel's argument `width`.
enum class KernelArg : int {
#define SV_ARG_NAME(name, kind) name,
    SV_KERNEL_ARGUMENTS(SV_ARG_NAME, SV_ARG_NAME)
#undef SV_ARG_NAME
        kCount
};
constexpr int kKernelArgCount = static_cast<int>(KernelArg::kCount);

// How the host passes each kind: a device buffer (a device pointer on CUDA, a cl_mem on
// OpenCL), a 32-bit scalar or four floats.
enum class KernelArgKind { kBuffer, kUint, kFloat, kVector };
#define SvPixelsOutKind KernelArgKind::kBuffer
#define SvPixelsInKind KernelArgKind::kBuffer
#define SvTableKind KernelArgKind::kBuffer
#define SvImageKind KernelArgKind::kBuffer
#define SvUintKind KernelArgKind::kUint
#define SvFloatKind KernelArgKind::kFloat
#define SvVectorKind KernelArgKind::kVector
#define SvParamsKind KernelArgKind::kVector
#define SV_ARG_KIND(name, kind) kind##Kind,
inline constexpr KernelArgKind kKernelArgKinds[] = {SV_KERNEL_ARGUMENTS(SV_ARG_KIND, SV_ARG_KIND)};
#undef SV_ARG_KIND
#undef SvPixelsOutKind
#undef SvPixelsInKind
#undef SvTableKind
#undef SvImageKind
#undef SvUintKind
#undef SvFloatKind
#undef SvVectorKind
#undef SvParamsKind
static_assert(sizeof kKernelArgKinds / sizeof kKernelArgKinds[0] == kKernelArgCount);

constexpr KernelArgKind KindOf(KernelArg arg) {
    return kKernelArgKinds[static_cast<int>(arg)];
}
// The argument's size as the kernel's parameter list declares it (pointers: the host's).
constexpr size_t SizeOf(KernelArg arg) {
    return KindOf(arg) == KernelArgKind::kBuffer   ? sizeof(void*)
           : KindOf(arg) == KernelArgKind::kVector ? sizeof(SvFloat4)
                                                   : 4;
}

template <KernelArgKind K>
struct KernelArgValue;
template <>
struct KernelArgValue<KernelArgKind::kBuffer> {
    using Type = void*;
};
template <>
struct KernelArgValue<KernelArgKind::kUint> {
    using Type = uint32_t;
};
template <>
struct KernelArgValue<KernelArgKind::kFloat> {
    using Type = float;
};
template <>
struct KernelArgValue<KernelArgKind::kVector> {
    using Type = SvFloat4;
};
// The host type of argument A.
template <KernelArg A>
using KernelArgType = typename KernelArgValue<KindOf(A)>::Type;

// Every argument's value, zero until set; each is set and read as its kind's type.
class KernelArgs {
  public:
    template <KernelArg A>
    void Set(KernelArgType<A> value) {
        std::memcpy(slots_[static_cast<int>(A)], &value, sizeof value);
    }
    template <KernelArg A>
    KernelArgType<A> Get() const {
        KernelArgType<A> value;
        std::memcpy(&value, slots_[static_cast<int>(A)], sizeof value);
        return value;
    }
    // The i-th SvParams argument (0 to kSvParamVectorCount - 1).
    void SetParamVector(int i, const SvFloat4& value);
    SvFloat4 ParamVector(int i) const;

    // The argument's bytes, SizeOf(arg) of them, as clSetKernelArg takes them.
    const void* Bytes(KernelArg arg) const { return slots_[static_cast<int>(arg)]; }

  private:
    alignas(16) unsigned char slots_[kKernelArgCount][16] = {};
};

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
struct GpuLightTable {
    float floats[kGpuLightTableFloats];
};
GpuLightTable BuildLightTable(const RenderSettings& record);

// Whether the record carries an environment image the kernel can read.
bool HasEnvironment(const RenderSettings& record);

// Every argument but the three table buffers, from the record as it stands: the environment's
// presence, size and settings as the record holds them; compositing only over an input frame.
KernelArgs MakeKernelArgs(const RenderSettings& record, const GpuFrame& frame);

// What one GPU frame hands the device, built once for either framework: the arguments but the
// table buffers, and the host copies of the tables those buffers will hold.
struct GpuFrameData {
    KernelArgs args;
    GpuLightTable lights;
    const RampTable* ramp = nullptr;
    const float* environment = nullptr;  // float RGB rows; null without an environment image
    size_t environment_bytes = 0;
};
// `record` must outlive the result: the ramp and environment are the record's own.
GpuFrameData MakeGpuFrameData(const RenderSettings& record, const GpuFrame& frame);

}  // namespace spirovault

#endif
