// The CUDA build of the kernel and its launch. nvcc emits the code that registers the kernel's
// device code with the CUDA runtime when the library is loaded.
#include "drivers/launch_spirovault_kernel.h"
#include "gpu/spirovault_kernel.h"

namespace {

float4 ToFloat4(const GpuFloat4& v) {
    return make_float4(v.x, v.y, v.z, v.w);
}

}  // namespace

void LaunchSpirovaultKernel(const SpirovaultKernelArgs& a) {
    const dim3 block(16, 16, 1);
    const dim3 grid((a.width + 15u) / 16u, (a.height + 15u) / 16u, 1);
    const GpuFloat4* v = a.params.vectors;
    SpirovaultKernel<<<grid, block, 0, 0>>>(
        static_cast<float4*>(a.output), a.output_pitch, a.pixel_size_flag, a.width, a.height,
        a.supersampling, ToFloat4(v[0]), ToFloat4(v[1]), ToFloat4(v[2]), ToFloat4(v[3]),
        ToFloat4(v[4]), ToFloat4(v[5]), ToFloat4(v[6]), ToFloat4(v[7]), ToFloat4(v[8]),
        ToFloat4(v[9]), ToFloat4(v[10]), ToFloat4(v[11]), ToFloat4(v[12]), ToFloat4(v[13]),
        ToFloat4(v[14]), ToFloat4(v[15]), ToFloat4(v[16]), static_cast<const float*>(a.lights),
        static_cast<const float*>(a.ramp), a.environment_present,
        static_cast<float*>(a.environment), a.environment_width, a.environment_height,
        a.hdri_rotation, a.hdri_intensity, a.hdri_samples, a.hdri_shadow_intensity, a.hdri_specular,
        ToFloat4(a.depth), static_cast<const float4*>(a.input), a.input_pitch,
        a.composite_on_original);
    cudaDeviceSynchronize();
}
