#include "device/gpu/gpu_kernel_args.h"

namespace spirovault {

namespace {

constexpr int kFirstParams = static_cast<int>(KernelArg::params0);

// The SvParams arguments follow one another from params0, and nothing else is among them.
constexpr bool ParamsAreConsecutive() {
    for (int i = 0; i < kSvParamVectorCount; ++i) {
        if (KindOf(static_cast<KernelArg>(kFirstParams + i)) != KernelArgKind::kVector) {
            return false;
        }
    }
    return KindOf(static_cast<KernelArg>(kFirstParams + kSvParamVectorCount)) !=
           KernelArgKind::kVector;
}
static_assert(ParamsAreConsecutive());

}  // namespace

void KernelArgs::SetParamVector(int i, const SvFloat4& value) {
    std::memcpy(slots_[kFirstParams + i], &value, sizeof value);
}

SvFloat4 KernelArgs::ParamVector(int i) const {
    SvFloat4 value;
    std::memcpy(&value, slots_[kFirstParams + i], sizeof value);
    return value;
}

GpuLightTable BuildLightTable(const RenderSettings& record) {
    GpuLightTable table{};
    const int count = SvClampI(record.comp_light_count, 0, kMaxCompLights);
    for (int l = 0; l < count; ++l) {
        PackLight(&record.comp_lights[l], record.shadow_samples,
                  table.floats + l * kGpuLightFloats);
    }
    return table;
}

bool HasEnvironment(const RenderSettings& record) {
    return record.hdri_pixels != nullptr && record.hdri_width > 0 && record.hdri_height > 0;
}

KernelArgs MakeKernelArgs(const RenderSettings& record, const GpuFrame& frame) {
    KernelArgs a;
    a.Set<KernelArg::output>(frame.output);
    a.Set<KernelArg::output_pitch>(frame.output_pitch);
    a.Set<KernelArg::pixel_size_flag>(0u);
    a.Set<KernelArg::width>(frame.width);
    a.Set<KernelArg::height>(frame.height);
    a.Set<KernelArg::supersampling>(static_cast<uint32_t>(record.supersampling));
    SvFloat4 vectors[kSvParamVectorCount];
    PackParamVectors(&record, vectors);
    for (int i = 0; i < kSvParamVectorCount; ++i) a.SetParamVector(i, vectors[i]);
    a.Set<KernelArg::environment_present>(HasEnvironment(record) ? 1u : 0u);
    a.Set<KernelArg::environment_width>(static_cast<uint32_t>(record.hdri_width));
    a.Set<KernelArg::environment_height>(static_cast<uint32_t>(record.hdri_height));
    a.Set<KernelArg::hdri_rotation>(record.hdri_rotation);
    a.Set<KernelArg::hdri_intensity>(record.hdri_intensity);
    a.Set<KernelArg::hdri_samples>(static_cast<uint32_t>(record.hdri_samples));
    a.Set<KernelArg::hdri_shadow_intensity>(record.hdri_shadow_intensity);
    a.Set<KernelArg::hdri_specular>(static_cast<uint32_t>(record.hdri_specular));
    SvFloat4 depth;
    depth.x = static_cast<float>(record.depth_map);
    depth.y = record.depth_start;
    depth.z = record.depth_end;
    a.Set<KernelArg::depth>(depth);
    a.Set<KernelArg::input>(frame.input);
    a.Set<KernelArg::input_pitch>(frame.input != nullptr ? frame.input_pitch : 0u);
    a.Set<KernelArg::composite_on_original>(
        frame.input != nullptr && record.composite_on_original ? 1u : 0u);
    return a;
}

GpuFrameData MakeGpuFrameData(const RenderSettings& record, const GpuFrame& frame) {
    GpuFrameData data;
    data.args = MakeKernelArgs(record, frame);
    data.lights = BuildLightTable(record);
    data.ramp = &record.ramp_table;
    if (HasEnvironment(record)) {
        data.environment = record.hdri_pixels;
        data.environment_bytes = static_cast<size_t>(record.hdri_width) *
                                 static_cast<size_t>(record.hdri_height) * 3 * sizeof(float);
    }
    return data;
}

}  // namespace spirovault
