#include "device/gpu/cuda_device_module.h"
#include "device/gpu/gpu_device_setup.h"
#include "device/gpu/opencl_device_data.h"
#include "device/gpu/opencl_kernel_lock.h"
#include "host/pf_handle_suite.h"
#include "host/scoped_suite.h"
#include "platform/opencl_runtime.h"

namespace spirovault {

PF_Err GPUDeviceSetdown(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetdownExtra* extra) {
    if (extra == nullptr || extra->input == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_GPU_Framework framework = extra->input->what_gpu;
    if (framework != PF_GPU_Framework_OPENCL && framework != PF_GPU_Framework_CUDA) {
        return PF_Err_NONE;
    }
    auto handle = static_cast<PF_Handle>(extra->input->gpu_data);
    if (handle == nullptr) return PF_Err_NONE;
    // Taken first, so that without it nothing is half torn down.
    ScopedSuite<PF_HandleSuite1> handles(in_data->pica_basicP, kPFHandleSuite,
                                         kPFHandleSuiteVersion1, out_data);
    if (framework == PF_GPU_Framework_CUDA) {
        ReleaseCudaDeviceHandle(CudaDriver(), *handles.get(), handle);
        return PF_Err_NONE;
    }
    cl_kernel kernel = nullptr;
    if (auto* data = static_cast<OpenCLDeviceData*>(handles->host_lock_handle(handle))) {
        kernel = data->kernel;
        handles->host_unlock_handle(handle);
    }
    // A kernel exists only where the runtime was loaded to build it.
    const OpenClApi* cl = OpenClRuntime();
    if (kernel != nullptr && cl != nullptr) {
        ForgetOpenClKernelLock(kernel);
        cl->ReleaseKernel(kernel);
    }
    handles->host_dispose_handle(handle);
    return PF_Err_NONE;
}

}  // namespace spirovault
