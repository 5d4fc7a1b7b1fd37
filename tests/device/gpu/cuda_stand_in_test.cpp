// The plug-in's CUDA path against the stand-in driver, which this test links under the real
// driver's name: the plug-in opens it as it would the real one, and the standalone host's CUDA
// device runs on it too. Kernels do not run; what the plug-in asks of the driver is recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/gpu/cuda_device_module.h"
#include "device/gpu/cuda_kernel_params.h"
#include "hostsim/gpu_devices/gpu_device_commands.h"
#include "hostsim/host_services.h"
#include "platform/cuda_driver.h"
#include "tests/cuda_driver_stand_in/stand_in_control.h"
#include "tests/support/plugin_host_fixture.h"

using namespace spirovault;

namespace {

using namespace hostsim;

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <typename T>
T ParamAt(const StandInLaunch& launch, size_t offset) {
    T value;
    std::memcpy(&value, launch.params + offset, sizeof value);
    return value;
}

// Offsets of the arguments in the launch's parameter buffer, from the kernel's table of
// arguments, and the buffer's size last.
std::vector<size_t> ExpectedOffsets() {
    std::vector<size_t> offsets(std::begin(kCudaParamLayout.offsets),
                                std::end(kCudaParamLayout.offsets));
    offsets.push_back(kCudaParamLayout.size);
    return offsets;
}

size_t At(KernelArg arg) {
    return kCudaParamLayout.offsets[static_cast<int>(arg)];
}

// The driver's calls since the reset, in the order made.
std::vector<std::string> CallOrder() {
    std::vector<std::string> order;
    for (int i = 0; i < StandInCallOrderLength(); ++i) order.push_back(StandInCallAt(i));
    return order;
}

// The position of the first call to `entry_point` at or after `from`; the length if none.
size_t Next(const std::vector<std::string>& order, const char* entry_point, size_t from = 0) {
    return std::find(order.begin() + std::min(from, order.size()), order.end(), entry_point) -
           order.begin();
}

size_t Last(const std::vector<std::string>& order, const char* entry_point) {
    const auto it = std::find(order.rbegin(), order.rend(), entry_point);
    return it == order.rend() ? order.size() : order.rend() - it - 1;
}

// Around the frame's launch at `launch`: nothing is freed from the last allocation before it
// (the plug-in's tables) until the device has been waited for.
void ExpectFreedAfterTheWait(const std::vector<std::string>& order, size_t launch) {
    ASSERT_LT(launch, order.size());
    const size_t wait = Next(order, "cuCtxSynchronize", launch);
    EXPECT_LT(wait, order.size());
    size_t allocated = launch;
    while (allocated > 0 && order[allocated] != "cuMemAlloc_v2") --allocated;
    EXPECT_LT(wait, Next(order, "cuMemFree_v2", allocated));
}

class CudaStandIn : public PluginHostTest {
  protected:
    void SetUp() override {
        StandInReset(1, 7, 5);
        PluginHostTest::SetUp();
        ASSERT_GE(host().services().gpu().Open(PF_GPU_Framework_CUDA), 0);
        ASSERT_EQ(host().GlobalSetup().err, PF_Err_NONE);
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    }
    void TearDown() override {
        SetDownGpuDevices(host());
        PluginHostTest::TearDown();
        host_.reset();
        EXPECT_EQ(StandInLiveAllocations(), 0);
    }

    FrameResult Render(int width = 24, int height = 16) {
        host().services().composition().width = width;
        host().services().composition().height = height;
        FrameRequest request;
        request.width = width;
        request.height = height;
        request.depth = WorldDepth::k32;
        request.gpu = PF_GPU_Framework_CUDA;
        return host().RenderFrame(request);
    }
};

TEST_F(CudaStandIn, ModuleIsLoadedOnceIntoTheDeviceContextAndUnloadedAtSetdown) {
    for (int frame = 0; frame < 3; ++frame) {
        const FrameResult result = Render();
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(result.on_gpu);
        EXPECT_CLEAN(result);
    }
    EXPECT_EQ(StandInLaunchCount(), 3);
    ASSERT_EQ(StandInModuleCount(), 1);
    EXPECT_EQ(StandInModuleContext(0), host().services().gpu().device(0)->info().contextPV);
    // The module is the fat binary the build made, byte for byte.
    const std::vector<unsigned char> fatbin = ReadFile(SPIROVAULT_CUDA_FATBIN_FILE);
    std::vector<unsigned char> image(fatbin.size() + 64);
    ASSERT_EQ(StandInModuleImage(0, image.data(), image.size()), fatbin.size());
    image.resize(fatbin.size());
    EXPECT_TRUE(image == fatbin);
    EXPECT_EQ(StandInModuleUnloaded(0), 0);

    const auto handle = static_cast<PF_Handle>(host().services().gpu().setup(0).gpu_data);
    ASSERT_TRUE(handles().IsLive(handle));
    const CommandResult setdown = SetDownGpuDevice(host(), 0);
    EXPECT_EQ(setdown.err, PF_Err_NONE);
    EXPECT_CLEAN(setdown);
    EXPECT_EQ(StandInModuleUnloaded(0), 1);
    EXPECT_FALSE(handles().IsLive(handle));
    // Unloaded once the last frame's kernel had finished.
    const std::vector<std::string> order = CallOrder();
    EXPECT_GT(Last(order, "cuModuleUnload"), Last(order, "cuCtxSynchronize"));
    EXPECT_GT(Last(order, "cuModuleUnload"), Last(order, "cuLaunchKernel"));
    EXPECT_LT(Last(order, "cuModuleUnload"), order.size());
}

TEST_F(CudaStandIn, SetdownWithoutAFrameLoadsNothing) {
    const GpuSetupResult setup = SetUpGpuDevice(host(), 0);
    EXPECT_TRUE(setup.accepted);
    EXPECT_EQ(SetDownGpuDevice(host(), 0).err, PF_Err_NONE);
    EXPECT_EQ(StandInModuleCount(), 0);
    EXPECT_EQ(StandInCallCount("cuModuleUnload"), 0);
}

TEST_F(CudaStandIn, DevicesBelowTheOldestArchitectureAreDeclined) {
    for (const auto& [major, minor] : {std::pair{6, 1}, std::pair{7, 0}}) {
        StandInReset(1, major, minor);
        const GpuSetupResult setup = SetUpGpuDevice(host(), 0);
        EXPECT_EQ(setup.command.err, PF_Err_NONE);
        EXPECT_FALSE(setup.accepted) << major << "." << minor;
        EXPECT_EQ(setup.gpu_data, nullptr);
        EXPECT_CLEAN(setup.command);
        SetDownGpuDevice(host(), 0);
    }
    // The host then renders the device's frames on the CPU.
    const FrameResult result = Render();
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_FALSE(result.on_gpu);
    EXPECT_EQ(StandInModuleCount(), 0);
    EXPECT_EQ(StandInLaunchCount(), 0);
    StandInReset(1, 8, 6);
    SetDownGpuDevices(host());
    EXPECT_TRUE(SetUpGpuDevice(host(), 0).accepted);
}

TEST_F(CudaStandIn, FullHdFrameLaunchesOneThreadPerPixelWithTheArgumentsInOrder) {
    const FrameResult result = Render(1920, 1080);
    ASSERT_EQ(result.err, PF_Err_NONE);
    ASSERT_EQ(StandInLaunchCount(), 1);
    StandInLaunch launch{};
    ASSERT_TRUE(StandInGetLaunch(0, &launch));
    EXPECT_EQ(launch.result, 0);
    EXPECT_EQ(launch.grid[0], 120u);
    EXPECT_EQ(launch.grid[1], 68u);
    EXPECT_EQ(launch.grid[2], 1u);
    EXPECT_EQ(launch.block[0], 16u);
    EXPECT_EQ(launch.block[1], 16u);
    EXPECT_EQ(launch.block[2], 1u);
    EXPECT_EQ(launch.shared_bytes, 0u);
    EXPECT_EQ(launch.stream, nullptr);
    EXPECT_FALSE(launch.had_kernel_params);

    ASSERT_EQ(launch.param_bytes, kCudaParamLayout.size);
    // The output frame, its pitch in pixels (rows padded to 64 pixels) and size.
    EXPECT_NE(ParamAt<uint64_t>(launch, At(KernelArg::output)), 0u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::output_pitch)), 1920u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::pixel_size_flag)), 0u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::width)), 1920u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::height)), 1080u);
    EXPECT_GE(ParamAt<uint32_t>(launch, At(KernelArg::supersampling)), 1u);
    // The composition light count in a composition without lights.
    EXPECT_EQ(ParamAt<float>(launch, At(KernelArg::params16)), 0.0f);
    // The light and ramp tables were copied to where arguments 23 and 24 point.
    const int copies = StandInCopyCount();
    std::vector<std::pair<uint64_t, size_t>> tables;
    for (int c = 0; c < copies; ++c) {
        unsigned long long destination = 0;
        const size_t bytes = StandInGetCopy(c, &destination, nullptr, 0);
        if (bytes == 384 || bytes == 256) tables.emplace_back(destination, bytes);
    }
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0],
              (std::pair<uint64_t, size_t>{ParamAt<uint64_t>(launch, At(KernelArg::lights)), 384}));
    EXPECT_EQ(tables[1],
              (std::pair<uint64_t, size_t>{ParamAt<uint64_t>(launch, At(KernelArg::ramp)), 256}));
    // No environment image: absent, null, with the record's size of 0 x 0.
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::environment_present)), 0u);
    EXPECT_EQ(ParamAt<uint64_t>(launch, At(KernelArg::environment)), 0u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::environment_width)), 0u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::environment_height)), 0u);
    // The input frame on the device, its pitch, and no compositing by default.
    EXPECT_NE(ParamAt<uint64_t>(launch, At(KernelArg::input)), 0u);
    EXPECT_NE(ParamAt<uint64_t>(launch, At(KernelArg::input)),
              ParamAt<uint64_t>(launch, At(KernelArg::output)));
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::input_pitch)), 1920u);
    EXPECT_EQ(ParamAt<uint32_t>(launch, At(KernelArg::composite_on_original)), 0u);
    // The frame's data was copied before the launch and freed after the device had finished.
    const std::vector<std::string> order = CallOrder();
    const size_t launched = Next(order, "cuLaunchKernel");
    EXPECT_LT(Next(order, "cuMemcpyHtoD_v2"), launched);
    EXPECT_EQ(Next(order, "cuMemcpyHtoD_v2", launched), order.size());
    ExpectFreedAfterTheWait(order, launched);
}

TEST_F(CudaStandIn, ArgumentLayoutIsTheOneTheCompiledKernelDeclares) {
    // The PTX in the fat binary lists the kernel's parameters with their alignment and size.
    const std::vector<unsigned char> fatbin = ReadFile(SPIROVAULT_CUDA_FATBIN_FILE);
    const std::string text(fatbin.begin(), fatbin.end());
    const size_t entry = text.find(".entry SpirovaultKernel(");
    if (entry == std::string::npos) GTEST_SKIP() << "the fat binary's PTX is compressed";
    const std::string list = text.substr(entry, text.find(')', entry) - entry);
    // One parameter a line: ".param .u64 name," or ".param .align 16 .b8 name[16],".
    std::vector<size_t> declared;
    size_t offset = 0;
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word, type;
        words >> word;
        if (word != ".param") continue;
        size_t align = 0, size = 0;
        words >> type;
        if (type == ".align") {
            words >> align >> type;
            size = std::stoul(line.substr(line.find('[') + 1));
        } else {
            size = std::stoul(type.substr(2)) / 8;  // .u32, .f32, .u64, ...
            align = size;
        }
        offset = (offset + align - 1) / align * align;
        declared.push_back(offset);
        offset += size;
    }
    declared.push_back(offset);
    EXPECT_EQ(declared, ExpectedOffsets());
}

// Every cuMemAlloc_v2 of a frame is the host's: its worlds, and the tables the effect asks its
// GPU device suite for, all freed by the frame's end.
TEST_F(CudaStandIn, DeviceMemoryIsAllocatedThroughTheHostOnly) {
    GpuDevices& gpu = host().services().gpu();
    for (int frame = 0; frame < 3; ++frame) {
        const int driver_before = StandInCallCount("cuMemAlloc_v2");
        const int host_before = gpu.host_allocations();
        const FrameResult result = Render();
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_CLEAN(result);
        EXPECT_EQ(StandInCallCount("cuMemAlloc_v2") - driver_before,
                  gpu.host_allocations() - host_before);
        EXPECT_EQ(gpu.host_allocations() - host_before, 2 + 2);  // two worlds, two tables
        EXPECT_EQ(gpu.effect_blocks(), 0u);
    }
}

// The environment layer arrives as a GPU world; what the kernel gets is its pixels, read back
// from the device, as red-green-blue rows in memory from the host.
TEST_F(CudaStandIn, EnvironmentLayerIsReadFromItsGpuWorld) {
    HostImage sky;
    sky.width = 3;
    sky.height = 2;
    for (int i = 0; i < 6; ++i) sky.argb.insert(sky.argb.end(), {1.0f, 0.5f * i, 2.0f, 0.25f});
    FrameRequest request;
    request.width = 24;
    request.height = 16;
    request.depth = WorldDepth::k32;
    request.gpu = PF_GPU_Framework_CUDA;
    request.hdri_layer = &sky;
    GpuDevices& gpu = host().services().gpu();
    const int host_before = gpu.host_allocations();
    const FrameResult result = host().RenderFrame(request);
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_CLEAN(result);
    EXPECT_EQ(gpu.host_allocations() - host_before, 3 + 3);  // three worlds, three tables
    std::vector<float> expected;
    for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {0.5f * i, 2.0f, 0.25f});
    std::vector<float> copied(expected.size());
    unsigned long long destination = 0;
    const int last = StandInCopyCount() - 1;
    ASSERT_EQ(StandInGetCopy(last, &destination, copied.data(), copied.size() * sizeof(float)),
              copied.size() * sizeof(float));
    EXPECT_EQ(copied, expected);
}

TEST_F(CudaStandIn, RefusedDeviceMemoryGivesOutOfMemoryWithoutLaunching) {
    for (int table = 1; table <= 2; ++table) {
        const int launches = StandInLaunchCount();
        host().services().gpu().FailEffectAllocation(table);
        const FrameResult failed = Render();
        EXPECT_EQ(failed.err, PF_Err_OUT_OF_MEMORY) << table;
        EXPECT_EQ(StandInLaunchCount(), launches);
        EXPECT_CLEAN(failed);
        // The next frame renders.
        EXPECT_EQ(Render().err, PF_Err_NONE);
        EXPECT_EQ(StandInLaunchCount(), launches + 1);
    }
}

// Frames of one instance at once on a CUDA device, the first while the host holds its handle
// lock (a frame the application renders on its own thread). Under the thread sanitizer an
// effect that holds a lock of its own across a handle call is a lock-order inversion with that
// frame; every frame renders and the module is loaded once.
TEST_F(CudaStandIn, EightFramesAtOnceHoldNoLockOfTheEffectsAcrossTheHost) {
    FrameRequest request;
    request.width = 24;
    request.height = 16;
    request.depth = WorldDepth::k32;
    request.gpu = PF_GPU_Framework_CUDA;
    request.host_holds_handle_lock = true;
    ASSERT_EQ(host().RenderFrame(request).err, PF_Err_NONE);
    request.host_holds_handle_lock = false;
    std::vector<FrameResult> results(8);
    std::vector<std::thread> frames;
    for (size_t i = 0; i < results.size(); ++i) {
        frames.emplace_back([&, i] { results[i] = host().RenderFrame(request); });
    }
    for (std::thread& frame : frames) frame.join();
    for (const FrameResult& result : results) {
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_CLEAN(result);
    }
    EXPECT_EQ(StandInModuleCount(), 1);
    EXPECT_EQ(StandInLaunchCount(), 9);
}

TEST_F(CudaStandIn, FailedLaunchOrKernelGivesInternalErrorAndTheNextFrameRenders) {
    ASSERT_EQ(Render().err, PF_Err_NONE);
    StandInFail("cuLaunchKernel", 0, CUDA_ERROR_LAUNCH_FAILED);
    const size_t before = CallOrder().size();
    const FrameResult failed = Render();
    EXPECT_EQ(failed.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_CLEAN(failed);
    // The device was waited for even so, before the tables were freed.
    const std::vector<std::string> order = CallOrder();
    ExpectFreedAfterTheWait(order, Next(order, "cuLaunchKernel", before));
    EXPECT_EQ(Render().err, PF_Err_NONE);

    // A kernel that fails on the device shows at the wait.
    StandInFail("cuCtxSynchronize", 0, CUDA_ERROR_LAUNCH_FAILED);
    EXPECT_EQ(Render().err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(Render().err, PF_Err_NONE);
    StandInLaunch last{};
    ASSERT_TRUE(StandInGetLaunch(StandInLaunchCount() - 1, &last));
    EXPECT_EQ(last.result, 0);
}

TEST_F(CudaStandIn, ModuleThatFailsToLoadFailsTheFrameAndIsLoadedByTheNext) {
    StandInFail("cuModuleLoadData", 0, CUDA_ERROR_INVALID_IMAGE);
    EXPECT_EQ(Render().err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(StandInLaunchCount(), 0);
    EXPECT_EQ(Render().err, PF_Err_NONE);
    EXPECT_EQ(StandInModuleCount(), 1);
    EXPECT_EQ(StandInLaunchCount(), 1);
}

TEST(CudaDriverLibrary, LoadsOnlyADriverWithEveryEntryPoint) {
    EXPECT_NE(CudaDriverLibrary::Load(SPIROVAULT_CUDA_STAND_IN), nullptr);
    EXPECT_EQ(CudaDriverLibrary::Load(SPIROVAULT_CUDA_STAND_IN_WITHOUT_LAUNCH), nullptr);
    EXPECT_EQ(CudaDriverLibrary::Load("/nonexistent/libcuda.so.1"), nullptr);
}

}  // namespace

// The stand-in's own entry points, for a test that plays the host's part itself.
extern "C" CUresult cuDevicePrimaryCtxRetain(CUcontext* context, CUdevice device);
extern "C" CUresult cuCtxSetCurrent(CUcontext context);

namespace {

TEST(CudaDeviceModule, FramesArrivingTogetherLoadTheModuleOnce) {
    StandInReset(1, 7, 5);
    const CudaDriverApi* cu = CudaDriver();
    ASSERT_NE(cu, nullptr);
    HostServices services;
    ActiveServicesScope active(&services);
    const void* suite = nullptr;
    ASSERT_EQ(
        HostServices::BasicSuite()->AcquireSuite(kPFHandleSuite, kPFHandleSuiteVersion1, &suite),
        0);
    const auto& handles = *static_cast<const PF_HandleSuite1*>(suite);
    CUcontext context = nullptr;
    ASSERT_EQ(cuDevicePrimaryCtxRetain(&context, 0), CUDA_SUCCESS);

    PF_Handle handle = NewCudaDeviceHandle(handles);
    ASSERT_NE(handle, nullptr);
    std::vector<CUfunction> kernels(8);
    std::vector<std::thread> frames;
    for (size_t i = 0; i < kernels.size(); ++i) {
        frames.emplace_back([&, i] {
            ActiveServicesScope frame_services(&services);
            cuCtxSetCurrent(context);
            kernels[i] = CudaDeviceKernel(*cu, handles, handle);
        });
    }
    for (std::thread& frame : frames) frame.join();
    EXPECT_EQ(StandInModuleCount(), 1);
    for (CUfunction kernel : kernels) EXPECT_EQ(kernel, kernels[0]);
    EXPECT_NE(kernels[0], nullptr);

    // Set down from a thread where no context is current: unloaded in the module's own.
    std::thread([&] {
        ActiveServicesScope setdown_services(&services);
        ReleaseCudaDeviceHandle(cu, handles, handle);
    }).join();
    EXPECT_EQ(StandInModuleUnloaded(0), 1);
    EXPECT_EQ(services.handles().LiveCount(), 0u);
    HostServices::BasicSuite()->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
}

}  // namespace
