// One frame for EffectHost::RenderFrame, and what came of it.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_FRAME_REQUEST_H
#define SPIROVAULT_HOSTSIM_FRAMES_FRAME_REQUEST_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/ae_basic_types.h"
#include "host/pf_geometry.h"
#include "host/pf_gpu_framework.h"
#include "host/pf_in_out_data.h"
#include "hostsim/frames/host_image.h"
#include "hostsim/resource_audit.h"

namespace hostsim {

// Failures the standalone host can inject into one frame's smart-render protocol.
struct RenderFaults {
    PF_Err checkout_layer = PF_Err_NONE;         // pre-render's checkout_layer
    PF_Err checkout_layer_pixels = PF_Err_NONE;  // the smart render's input check-out
    PF_Err checkout_output = PF_Err_NONE;
    // The "HDRI Layer"'s check-out, by either route (its checkout_layer_pixels in a smart render,
    // PF_CHECKOUT_PARAM under Premiere Pro); PF_Interrupt_CANCEL plays a user's cancel.
    PF_Err hdri_checkout = PF_Err_NONE;
    // The output world reports a pixel format no CPU path renders (a GPU world's).
    bool output_format_unknown = false;
};

struct FrameRequest {
    int width = 0, height = 0;  // the layer's size at full resolution (normally the composition's)
    WorldDepth depth = WorldDepth::k8;
    long frame = 0;  // time = frame / composition frame rate
    // The layer the effect is on, straight colour as the host's worlds hold it; null =
    // transparent black.
    const HostImage* input = nullptr;
    const HostImage* hdri_layer = nullptr;  // the layer "HDRI Layer" points at; null = none
    // Depth of the HDRI layer's world; Premiere Pro hands it in the render's format only when the
    // effect asked, 8-bit otherwise; a GPU render hands a GPU world.
    WorldDepth hdri_depth = WorldDepth::k32;
    int threads = 0;  // iterate-suite pool size; 0 = all cores
    std::function<void(int done, int total)>
        progress;         // rows done, as iterate or the effect reports
    RenderFaults faults;  // for tests of the failure paths
    // Render on the host's device of this framework (PF_GPU_Framework_OPENCL or _CUDA): GPU
    // worlds in PF_PixelFormat_GPU_BGRA128 (32-bit float whatever `depth` says) and
    // PF_Cmd_SMART_RENDER_GPU. The device is opened and set up on first use; a device the
    // effect declines renders on the CPU, as the host application does. NONE: the CPU.
    PF_GPU_Framework gpu = PF_GPU_Framework_NONE;
    // The host sends the frame's commands while holding its handle suite's lock, as the host
    // application does for frames it renders on its own thread (HandleHeap::HoldLock).
    bool host_holds_handle_lock = false;
    // How the host asks for the frame. The output world covers `region` (layer pixels at this
    // resolution, cut to the layer; none: the whole layer) at the downsample factors, with pixels
    // `pixel_aspect` times as wide as tall. Under Premiere Pro, `field` other than
    // PF_Field_FRAME renders that field's lines only, at half height.
    PF_RationalScale downsample_x{1, 1}, downsample_y{1, 1};
    PF_RationalScale pixel_aspect{1, 1};
    std::optional<PF_LRect> region;
    PF_Field field = PF_Field_FRAME;
    // Also hand back the output world's bytes as rendered (FrameResult::raw), for byte-exact
    // comparisons; a copy of the whole frame that the renderer and benchmarks can do without.
    bool keep_raw = true;
    // The user's cancel: from `cancel_after` past the frame's start, or whenever `cancel` (when
    // set; called from any thread) says so, the host's abort and progress callbacks and its
    // per-pixel iterate (before each row) answer PF_Interrupt_CANCEL.
    std::optional<std::chrono::steady_clock::duration> cancel_after;
    std::function<bool()> cancel;
};

struct FrameResult {
    PF_Err err = PF_Err_NONE;
    std::string return_msg;  // out_data return_msg when the effect set one
    // Converted back to floats (exact for 8/16-bit: value/255, value/32768); the size of the
    // world, which is the region or field asked for.
    HostImage output;
    std::vector<uint8_t> raw;  // the output world's pixels as rendered, rows packed
    ResourceAudit audit;       // what the frame's commands left behind
    bool on_gpu = false;       // rendered through PF_Cmd_SMART_RENDER_GPU on a GPU device
};

}  // namespace hostsim

#endif
