#include "cli/gpu_choice.h"

#include <cstdio>

#include "cli/cli_error.h"
#include "cli/effect_session.h"
#include "hostsim/gpu_devices/gpu_device.h"
#include "hostsim/gpu_devices/gpu_device_commands.h"

namespace cli {
using hostsim::GpuDevice;
using hostsim::GpuTarget;

namespace {

const char* OptionText(PF_GPU_Framework framework) {
    return framework == PF_GPU_Framework_CUDA ? "--gpu cuda" : "--gpu opencl";
}

const char* FrameworkName(PF_GPU_Framework framework) {
    return framework == PF_GPU_Framework_CUDA ? "CUDA" : "OpenCL";
}

}  // namespace

PF_GPU_Framework ParseGpuChoice(const std::string& text) {
    if (text == "none") return PF_GPU_Framework_NONE;
    if (text == "opencl") return PF_GPU_Framework_OPENCL;
    if (text == "cuda") return PF_GPU_Framework_CUDA;
    throw UsageError("--gpu " + text + ": expected none, opencl or cuda");
}

GpuChoice PrepareGpu(EffectHost& host, PF_GPU_Framework framework) {
    const GpuTarget target = PrepareGpuDevice(host, framework);
    if (target.device_index < 0) {
        throw CliError(std::string(OptionText(framework)) + ": " + target.why_not);
    }
    if (target.setup_err != PF_Err_NONE) {
        throw CliError(std::string(OptionText(framework)) + ": the effect could not set up the " +
                       FrameworkName(framework) +
                       " device: " + DescribeEffectError(target.setup_err, target.setup_msg));
    }
    if (!target.accepted) {
        std::fprintf(stderr,
                     "spirovault-render: %s: the plug-in does not render on %s devices; "
                     "rendering on the CPU\n",
                     OptionText(framework), FrameworkName(framework));
    }
    GpuChoice choice;
    choice.accepted = target.accepted;
    const GpuDevice* device =
        host.services().gpu().device(static_cast<A_u_long>(target.device_index));
    choice.device = target.accepted && device != nullptr ? std::string(FrameworkName(framework)) +
                                                               " device \"" + device->name() + "\""
                                                         : "the CPU";
    return choice;
}

}  // namespace cli
