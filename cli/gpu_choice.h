// --gpu none|opencl|cuda: where spirovault-render renders its frames.
#ifndef SPIROVAULT_CLI_GPU_CHOICE_H
#define SPIROVAULT_CLI_GPU_CHOICE_H

#include <string>

#include "host/pf_gpu_framework.h"
#include "hostsim/effect_host.h"

namespace cli {
using hostsim::EffectHost;

// PF_GPU_Framework_NONE, _OPENCL or _CUDA; throws a usage error for anything else.
PF_GPU_Framework ParseGpuChoice(const std::string& text);

// Opens the machine's device of the framework and sends the effect its device setup, before any
// frame is rendered. Throws CliError naming the option when there is no such device or its setup
// fails. When the effect declines the device the frames render on the CPU, as in the host
// application, and a note says so on stderr.
struct GpuChoice {
    bool accepted = false;
    std::string device;  // "OpenCL device \"NAME\"", or "the CPU" when declined
};
GpuChoice PrepareGpu(EffectHost& host, PF_GPU_Framework framework);

}  // namespace cli

#endif
