// Cross-built and run under Wine beside the stand-in CUDA driver (nvcuda.dll in the program's
// directory, where the plug-in's lookup of the driver by name finds it): the Windows plug-in's
// CUDA path through the standalone host's CUDA device.
//   spirovault-cuda-driver-check PLUGIN            the complete stand-in
//   spirovault-cuda-incomplete-driver-check PLUGIN  a stand-in without cuLaunchKernel
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "hostsim/effect_host.h"
#include "hostsim/gpu_devices/gpu_device_commands.h"
#include "platform/cuda_driver_api.h"
#include "tests/cuda_driver_stand_in/stand_in_control.h"

namespace {

using namespace hostsim;

#if defined(STAND_IN_WITHOUT_LAUNCH)
constexpr bool kIncompleteDriver = true;
#else
constexpr bool kIncompleteDriver = false;
#endif

int failures = 0;
int passes = 0;

void Check(bool ok, const std::string& what) {
    (ok ? passes : failures) += 1;
    if (!ok) std::printf("FAILED: %s\n", what.c_str());
}

FrameResult Render(EffectHost& host, int width, int height) {
    host.services().composition().width = width;
    host.services().composition().height = height;
    FrameRequest request;
    request.width = width;
    request.height = height;
    request.depth = WorldDepth::k32;
    request.gpu = PF_GPU_Framework_CUDA;
    return host.RenderFrame(request);
}

void StartHost(EffectHost& host) {
    Check(host.services().gpu().Open(PF_GPU_Framework_CUDA) == 0, "the host opens a CUDA device");
    Check(host.GlobalSetup().err == PF_Err_NONE && host.ParamsSetup().err == PF_Err_NONE,
          "global and parameter setup");
}

void CompleteDriver(const char* plugin) {
    StandInReset(1, 7, 5);
    {
        EffectHost host(plugin);
        StartHost(host);
        bool all_on_gpu = true;
        for (int frame = 0; frame < 3; ++frame) {
            const FrameResult result = Render(host, 24, 16);
            all_on_gpu = all_on_gpu && result.err == PF_Err_NONE && result.on_gpu;
        }
        Check(all_on_gpu, "three frames render on the CUDA device");
        Check(StandInModuleCount() == 1 && StandInLaunchCount() == 3,
              "the module is loaded once for three launches");
        unsigned char header[16] = {};
        const size_t image = StandInModuleImage(0, header, sizeof header);
        unsigned int magic = 0;
        std::memcpy(&magic, header, 4);
        Check(magic == 0xBA55ED50u && image > 100000, "the module is the embedded fat binary");

        const FrameResult full = Render(host, 1920, 1080);
        StandInLaunch launch{};
        StandInGetLaunch(StandInLaunchCount() - 1, &launch);
        Check(full.err == PF_Err_NONE && launch.grid[0] == 120 && launch.grid[1] == 68 &&
                  launch.grid[2] == 1 && launch.block[0] == 16 && launch.block[1] == 16 &&
                  launch.block[2] == 1,
              "1920 x 1080 launches 120 x 68 blocks of 16 x 16");
        unsigned int width = 0, height = 0;
        std::memcpy(&width, launch.params + 16, 4);
        std::memcpy(&height, launch.params + 20, 4);
        Check(launch.param_bytes == 400 && width == 1920 && height == 1080,
              "the 38 arguments in one 400-byte buffer, width and height at 16 and 20");

        // The two tables are the frame's last allocations.
        const int before = StandInCallCount("cuMemAlloc_v2");
        Render(host, 24, 16);
        const int per_frame = StandInCallCount("cuMemAlloc_v2") - before;
        const int launches = StandInLaunchCount();
        StandInFail("cuMemAlloc_v2", per_frame - 1, CUDA_ERROR_OUT_OF_MEMORY);
        const PF_Err no_memory = Render(host, 24, 16).err;
        Check(no_memory == PF_Err_OUT_OF_MEMORY && StandInLaunchCount() == launches,
              "a failed allocation gives 4 without a launch");
        Check(Render(host, 24, 16).err == PF_Err_NONE, "the next frame renders");

        StandInFail("cuLaunchKernel", 0, CUDA_ERROR_LAUNCH_FAILED);
        Check(Render(host, 24, 16).err == PF_Err_INTERNAL_STRUCT_DAMAGED,
              "a failed launch gives 512");
        Check(Render(host, 24, 16).err == PF_Err_NONE, "the next frame renders");

        SetDownGpuDevices(host);
        Check(StandInModuleUnloaded(0) == 1, "setdown unloads the module");
    }
    Check(StandInLiveAllocations() == 0, "all device memory is freed");

    // A device older than the fat binary's oldest architecture.
    StandInReset(1, 6, 1);
    {
        EffectHost host(plugin);
        StartHost(host);
        const FrameResult result = Render(host, 24, 16);
        Check(result.err == PF_Err_NONE && !result.on_gpu && StandInModuleCount() == 0,
              "an sm_61 device is declined and the frame renders on the CPU");
        SetDownGpuDevices(host);
    }
}

void IncompleteDriver(const char* plugin) {
    StandInReset(1, 8, 6);
    EffectHost host(plugin);
    StartHost(host);
    const FrameResult result = Render(host, 24, 16);
    Check(result.err == PF_Err_NONE && !result.on_gpu && StandInModuleCount() == 0,
          "a driver without cuLaunchKernel is declined and the frame renders on the CPU");
    SetDownGpuDevices(host);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PLUGIN\n", argv[0]);
        return 2;
    }
    try {
        if (kIncompleteDriver) {
            IncompleteDriver(argv[1]);
        } else {
            CompleteDriver(argv[1]);
        }
    } catch (const std::exception& error) {
        std::printf("FAILED: %s\n", error.what());
        ++failures;
    }
    std::printf("cuda driver check: %d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
