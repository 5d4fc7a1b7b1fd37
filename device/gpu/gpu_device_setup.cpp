#include "device/gpu/gpu_device_setup.h"

#include <cstdint>

#include "device/gpu/cuda_device_module.h"
#include "device/gpu/opencl_device_data.h"
#include "device/gpu/opencl_program.h"
#include "host/pf_error.h"
#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "host/scoped_suite.h"
#include "kernel/gpu/cuda_kernel_image.h"
#include "platform/module_directory.h"

namespace spirovault {

namespace {

// Makes the device's handle and builds its kernel into it. The handle goes to the host whatever
// the build's outcome, so that setdown finds and releases it.
PF_Err SetUpOpenClDevice(const OpenClApi& cl, const PF_HandleSuite1& handles,
                         const PF_GPUDeviceInfo& info, PF_GPUDeviceSetupExtra* extra) {
    PF_Handle handle = handles.host_new_handle(sizeof(OpenCLDeviceData));
    if (handle == nullptr) throw PfError(PF_Err_OUT_OF_MEMORY);
    auto* data = static_cast<OpenCLDeviceData*>(handles.host_lock_handle(handle));
    if (data == nullptr) {
        handles.host_dispose_handle(handle);
        throw PfError(PF_Err_OUT_OF_MEMORY);
    }
    data->kernel = nullptr;
    const cl_int err = BuildSpirovaultKernel(cl, static_cast<cl_context>(info.contextPV),
                                             static_cast<cl_device_id>(info.devicePV),
                                             OpenClBuildOptions(ModuleDirectory()), &data->kernel);
    handles.host_unlock_handle(handle);
    extra->output->gpu_data = handle;
    return err == CL_SUCCESS ? PF_Err_NONE : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

// The device the host made current for this command; the one its info names otherwise.
CUdevice CudaSetupDevice(const CudaDriverApi& cu, const PF_GPUDeviceInfo& info) {
    CUcontext context = nullptr;
    CUdevice device = 0;
    if (cu.CtxGetCurrent(&context) == CUDA_SUCCESS && context != nullptr &&
        cu.CtxGetDevice(&device) == CUDA_SUCCESS) {
        return device;
    }
    return static_cast<CUdevice>(reinterpret_cast<intptr_t>(info.devicePV));
}

// Whether the fat binary runs on the device: its oldest machine code and PTX are for sm_75.
bool CudaDeviceIsSupported(const CudaDriverApi& cu, CUdevice device) {
    int major = 0;
    int minor = 0;
    if (cu.DeviceGetAttribute(&major, CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MAJOR, device) !=
            CUDA_SUCCESS ||
        cu.DeviceGetAttribute(&minor, CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MINOR, device) !=
            CUDA_SUCCESS) {
        return false;
    }
    return major * 10 + minor >= kCudaKernelMinArchitecture;
}

}  // namespace

GpuRuntimes AvailableGpuRuntimes() {
    GpuRuntimes runtimes;
    runtimes.opencl = OpenClRuntime();
    // Without the kernel there is nothing to load: the driver is not even opened.
    if (SpirovaultCudaKernelImage().size != 0) runtimes.cuda = CudaDriver();
    return runtimes;
}

PF_Err GPUDeviceSetup(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetupExtra* extra) {
    return SetUpGpuDevice(AvailableGpuRuntimes(), in_data, out_data, extra);
}

PF_Err SetUpGpuDevice(const GpuRuntimes& runtimes, PF_InData* in_data, PF_OutData* out_data,
                      PF_GPUDeviceSetupExtra* extra) {
    if (extra == nullptr || extra->input == nullptr || extra->output == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // Released in the reverse order: the device suite first, then the handle suite.
    ScopedSuite<PF_HandleSuite1> handles(in_data->pica_basicP, kPFHandleSuite,
                                         kPFHandleSuiteVersion1, out_data);
    ScopedSuite<PF_GPUDeviceSuite1> devices(in_data->pica_basicP, kPFGPUDeviceSuite,
                                            kPFGPUDeviceSuiteVersion1, out_data);
    PF_GPUDeviceInfo info{};
    devices->GetDeviceInfo(in_data->effect_ref, extra->input->device_index, &info);

    PF_Err result = PF_Err_NONE;
    switch (extra->input->what_gpu) {
        case PF_GPU_Framework_OPENCL:
            if (runtimes.opencl == nullptr) break;
            result = SetUpOpenClDevice(*runtimes.opencl, *handles.get(), info, extra);
            out_data->out_flags2 = PF_OutFlag2_SUPPORTS_GPU_RENDER_F32;
            break;
        case PF_GPU_Framework_CUDA:
            if (runtimes.cuda == nullptr ||
                !CudaDeviceIsSupported(*runtimes.cuda, CudaSetupDevice(*runtimes.cuda, info))) {
                break;
            }
            extra->output->gpu_data = NewCudaDeviceHandle(*handles.get());
            if (extra->output->gpu_data == nullptr) throw PfError(PF_Err_OUT_OF_MEMORY);
            out_data->out_flags2 = PF_OutFlag2_SUPPORTS_GPU_RENDER_F32;
            break;
        default:
            break;
    }
    return result;
}

}  // namespace spirovault
