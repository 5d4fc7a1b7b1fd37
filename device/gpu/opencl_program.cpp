#include "device/gpu/opencl_program.h"

#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>

#endif

namespace spirovault {

const char kOpenClProgramPrelude[] = "#define GF_OPENCL_SUPPORTS_16F 0\n#define BUST_CACHE 4\n";
const char kOpenClProgramInclude[] = "#include \"Kestrelite_Kernel.cu\"\n";
const char kOpenClBuildOptions[] = "-cl-single-precision-constant -cl-fast-relaxed-math";
const char kOpenClKernelFileName[] = "Kestrelite_Kernel.cu";

static_assert(sizeof kOpenClProgramPrelude - 1 == 54, "the prelude is passed with length 54");

namespace {

bool HasBlank(const std::string& text) {
    return text.find_first_of(" \t") != std::string::npos;
}

// Options are split at blanks. Windows gives most directories a name without blanks; otherwise
// the directory is quoted, which the vendors' compilers accept (PoCL does not).
std::string IncludeOption(std::string directory) {
#if defined(_WIN32)
    if (HasBlank(directory)) {
        char short_path[MAX_PATH];
        const DWORD length = GetShortPathNameA(directory.c_str(), short_path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) directory.assign(short_path, length);
    }
#endif
    const bool quoted = HasBlank(directory);
    std::string option = quoted ? "-I\"" : "-I";
    option.append(directory);
    if (quoted) option.push_back('"');
    return option;
}

}  // namespace

std::string OpenClBuildOptions(const std::string& kernel_directory) {
    std::string options = kOpenClBuildOptions;
    // For comparing the power steps on a device: SPIROVAULT_GPU_TRIG_STEP=1 builds the kernel
    // with the trigonometric step for every power.
    const char* trig = std::getenv("SPIROVAULT_GPU_TRIG_STEP");
    if (trig != nullptr && std::strcmp(trig, "1") == 0) options.append(" -DSV_TRIG_POWER_STEP=1");
    if (!kernel_directory.empty()) {
        options.push_back(' ');
        options.append(IncludeOption(kernel_directory));
    }
    return options;
}

cl_int BuildSpirovaultKernel(const OpenClApi& cl, cl_context context, cl_device_id device,
                             const std::string& options, cl_kernel* kernel) {
    *kernel = nullptr;
    const char* strings[2] = {kOpenClProgramPrelude, kOpenClProgramInclude};
    const size_t lengths[2] = {sizeof kOpenClProgramPrelude - 1, std::strlen(strings[1])};
    cl_int err = CL_SUCCESS;
    cl_program program = cl.CreateProgramWithSource(context, 2, strings, lengths, &err);
    if (err != CL_SUCCESS) return err;
    err = cl.BuildProgram(program, 1, &device, options.c_str(), nullptr, nullptr);
    if (err == CL_SUCCESS) *kernel = cl.CreateKernel(program, "SpirovaultKernel", &err);
    // The kernel holds its own reference to the program.
    if (program != nullptr) cl.ReleaseProgram(program);
    return err;
}

}  // namespace spirovault
