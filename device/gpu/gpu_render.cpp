#include "device/gpu/gpu_render.h"

#include "device/gpu/cuda_device_module.h"
#include "device/gpu/gpu_device_memory.h"
#include "device/gpu/gpu_kernel_args.h"
#include "device/gpu/gpu_render_cuda.h"
#include "device/gpu/gpu_render_opencl.h"
#include "device/gpu/opencl_device_data.h"
#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "host/scoped_suite.h"

namespace spirovault {

namespace {

constexpr A_long kGpuPixelBytes = 16;  // blue, green, red, alpha as 32-bit floats

// The kernel that device setup kept in the device's handle; null when there is none.
cl_kernel DeviceKernel(PF_InData* in_data, PF_OutData* out_data, const void* gpu_data) {
    auto handle = static_cast<PF_Handle>(const_cast<void*>(gpu_data));
    if (handle == nullptr) return nullptr;
    ScopedSuite<PF_HandleSuite1> handles(in_data->pica_basicP, kPFHandleSuite,
                                         kPFHandleSuiteVersion1, out_data);
    const auto* data = static_cast<const OpenCLDeviceData*>(handles->host_lock_handle(handle));
    if (data == nullptr) return nullptr;
    cl_kernel kernel = data->kernel;
    handles->host_unlock_handle(handle);
    return kernel;
}

PF_Err RenderOnOpenCl(PF_InData* in_data, PF_OutData* out_data, const PF_GPUDeviceInfo& info,
                      const PF_SmartRenderInput& input, GpuDeviceMemory* memory,
                      const GpuFrameData& frame) {
    const OpenClApi* cl = OpenClRuntime();
    if (cl == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    OpenClQueue device;
    device.context = static_cast<cl_context>(info.contextPV);
    device.queue = static_cast<cl_command_queue>(info.command_queuePV);
    device.kernel = DeviceKernel(in_data, out_data, input.gpu_data);
    return RenderOpenCl(*cl, device, memory, frame);
}

// The host has made the device's context current on this thread; device info is not used.
PF_Err RenderOnCuda(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderInput& input,
                    GpuDeviceMemory* memory, const GpuFrameData& frame) {
    const CudaDriverApi* cu = CudaDriver();
    if (cu == nullptr || input.gpu_data == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    ScopedSuite<PF_HandleSuite1> handles(in_data->pica_basicP, kPFHandleSuite,
                                         kPFHandleSuiteVersion1, out_data);
    const CUfunction kernel = CudaDeviceKernel(
        *cu, *handles.get(), static_cast<PF_Handle>(const_cast<void*>(input.gpu_data)));
    return RenderCuda(*cu, kernel, memory, frame);
}

// The user's cancel, as the host answers it now.
PF_Err AskHostCancel(PF_InData* in_data) {
    return in_data->inter.abort != nullptr ? in_data->inter.abort(in_data->effect_ref)
                                           : PF_Err_NONE;
}

PF_Err RenderOnDevice(PF_InData* in_data, PF_OutData* out_data, const PF_GPUDeviceInfo& info,
                      const PF_SmartRenderInput& input, GpuDeviceMemory* memory,
                      const GpuFrameData& data) {
    switch (input.what_gpu) {
        case PF_GPU_Framework_OPENCL:
            return RenderOnOpenCl(in_data, out_data, info, input, memory, data);
        case PF_GPU_Framework_CUDA:
            return RenderOnCuda(in_data, out_data, input, memory, data);
        default:
            return PF_Err_NONE;
    }
}

}  // namespace

PF_Err RenderGPU(PF_InData* in_data, PF_OutData* out_data, PrPixelFormat pixel_format,
                 PF_EffectWorld* input_world, PF_EffectWorld* output_world,
                 PF_SmartRenderExtra* extra, RenderSettings* record) {
    ScopedSuite<PF_GPUDeviceSuite1> devices(in_data->pica_basicP, kPFGPUDeviceSuite,
                                            kPFGPUDeviceSuiteVersion1, out_data);
    if (pixel_format != static_cast<PrPixelFormat>(PF_PixelFormat_GPU_BGRA128)) {
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    if (extra == nullptr || extra->input == nullptr || output_world == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_SmartRenderInput& input = *extra->input;

    PF_GPUDeviceInfo info{};
    GpuFrame frame;
    PF_Err err = devices->GetDeviceInfo(in_data->effect_ref, input.device_index, &info);
    if (err == PF_Err_NONE) {
        err = devices->GetGPUWorldData(in_data->effect_ref, output_world, &frame.output);
    }
    // Without an input frame on the device the render goes on, without compositing.
    void* input_data = nullptr;
    if (input_world != nullptr &&
        devices->GetGPUWorldData(in_data->effect_ref, input_world, &input_data) == PF_Err_NONE &&
        input_data != nullptr) {
        frame.input = input_data;
        frame.input_pitch = static_cast<uint32_t>(input_world->rowbytes / kGpuPixelBytes);
    }
    frame.output_pitch = static_cast<uint32_t>(output_world->rowbytes / kGpuPixelBytes);
    frame.width = static_cast<uint32_t>(output_world->width);
    frame.height = static_cast<uint32_t>(output_world->height);
    if (err != PF_Err_NONE) return err;
    const GpuFrameData data = MakeGpuFrameData(*record, frame);

    GpuDeviceMemory memory(*devices.get(), in_data->effect_ref, input.device_index);
    // The frame is one launch: the host is asked before it and once the device has it, so that
    // a frame cancelled meanwhile is never reported done.
    err = AskHostCancel(in_data);
    if (err == PF_Err_NONE) err = RenderOnDevice(in_data, out_data, info, input, &memory, data);
    if (err == PF_Err_NONE) err = AskHostCancel(in_data);
    return err;
}

PF_Err ReadGpuWorld(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderExtra& extra,
                    PF_EffectWorld* world, std::vector<unsigned char>* pixels) {
    if (extra.input == nullptr || world == nullptr || world->rowbytes <= 0 || world->height <= 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ScopedSuite<PF_GPUDeviceSuite1> devices(in_data->pica_basicP, kPFGPUDeviceSuite,
                                            kPFGPUDeviceSuiteVersion1, out_data);
    void* device_data = nullptr;
    PF_Err err = devices->GetGPUWorldData(in_data->effect_ref, world, &device_data);
    if (err != PF_Err_NONE) return err;
    if (device_data == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (world->width <= 0 || world->rowbytes / kGpuPixelBytes < world->width) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // Up to the last row's last pixel: the padding after it need not be the world's.
    const size_t rowbytes = static_cast<size_t>(world->rowbytes);
    const size_t bytes = rowbytes * static_cast<size_t>(world->height - 1) +
                         static_cast<size_t>(world->width) * kGpuPixelBytes;
    pixels->assign(rowbytes * static_cast<size_t>(world->height), 0);
    switch (extra.input->what_gpu) {
        case PF_GPU_Framework_OPENCL: {
            const OpenClApi* cl = OpenClRuntime();
            if (cl == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
            PF_GPUDeviceInfo info{};
            err = devices->GetDeviceInfo(in_data->effect_ref, extra.input->device_index, &info);
            if (err != PF_Err_NONE) return err;
            return ReadOpenClBuffer(*cl, static_cast<cl_command_queue>(info.command_queuePV),
                                    device_data, bytes, pixels->data());
        }
        case PF_GPU_Framework_CUDA: {
            const CudaDriverApi* cu = CudaDriver();
            if (cu == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
            return ReadCudaMemory(*cu, device_data, bytes, pixels->data());
        }
        default:
            return PF_Err_BAD_CALLBACK_PARAM;
    }
}

}  // namespace spirovault
