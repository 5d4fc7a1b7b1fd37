// Everything the standalone host keeps for one effect instance: its suites, handles,
// parameters and the records of what the effect asked for. Several frames of the instance may
// be rendered at once; what they share is safe for that. Callbacks given an effect_ref find the
// instance, and the frame the call belongs to, through it; the host's other C callbacks carry no
// context, so a thread running a call into the effect makes its services (and frame) active.
#ifndef SPIROVAULT_HOSTSIM_HOST_SERVICES_H
#define SPIROVAULT_HOSTSIM_HOST_SERVICES_H

#include <vector>

#include "host/pf_effect_world.h"
#include "hostsim/composition/composition.h"
#include "hostsim/composition/composition_handles.h"
#include "hostsim/drawbot/drawbot_host.h"
#include "hostsim/frames/render_state.h"
#include "hostsim/gpu_devices/gpu_devices.h"
#include "hostsim/handle_heap.h"
#include "hostsim/panel_services.h"
#include "hostsim/param_store.h"
#include "hostsim/suite_registry.h"

namespace hostsim {

struct PixelFormatRecord {
    int clear_calls = 0;
    std::vector<PrPixelFormat> supported;
    // Premiere Pro: layer check-outs come in the render's format, not as 8-bit frames.
    bool checkouts_match_render_format = false;
};

class FrameSession;
class HostServices;

// What an effect_ref names: the instance, and the frame for calls that belong to one.
struct EffectRefTarget {
    HostServices* services = nullptr;
    FrameSession* frame = nullptr;
};

class HostServices {
  public:
    HostServices();  // provides every suite the standalone host implements
    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;

    SuiteRegistry& suites() { return suites_; }
    HandleHeap& handles() { return handles_; }
    ParamStore& params() { return params_; }
    PixelFormatRecord& pixel_formats() { return pixel_formats_; }
    PanelServices& panel() { return panel_; }
    DrawbotHost& drawbot() { return drawbot_; }
    // The composition the effect's layer is in.
    Composition& composition() { return composition_; }
    // Worlds, iterate settings and the frame in progress.
    RenderState& render() { return render_; }
    CompositionHandles& comp_handles() { return comp_handles_; }
    // The GPU devices the host has opened for the effect, and their worlds.
    GpuDevices& gpu() { return gpu_; }

    // The basic suite handed to the effect; it serves whichever services are active.
    static SPBasicSuite* BasicSuite();
    // The services of the call running on this thread, or null.
    static HostServices* Active();
    // The frame whose command is running on this thread, or null.
    static FrameSession* ActiveFrame();
    // The effect's token outside frames; a frame hands out its own (FrameSession::in_data).
    PF_ProgPtr EffectRef() { return reinterpret_cast<PF_ProgPtr>(&instance_ref_); }
    static PF_ProgPtr EffectRefFor(EffectRefTarget* target) {
        return reinterpret_cast<PF_ProgPtr>(target);
    }
    // The instance and the frame (null outside frames) an effect_ref names.
    static HostServices* FromEffectRef(PF_ProgPtr effect_ref);
    static FrameSession* FrameOfEffectRef(PF_ProgPtr effect_ref);

  private:
    EffectRefTarget instance_ref_{this, nullptr};
    SuiteRegistry suites_;
    HandleHeap handles_;
    ParamStore params_;
    PixelFormatRecord pixel_formats_;
    PanelServices panel_;
    DrawbotHost drawbot_;
    Composition composition_;
    RenderState render_;
    CompositionHandles comp_handles_{&composition_};
    GpuDevices gpu_;
};

// Makes services, and the frame a call belongs to, active on this thread for a scope (nesting
// restores the previous).
class ActiveServicesScope {
  public:
    explicit ActiveServicesScope(HostServices* services, FrameSession* frame = nullptr);
    ~ActiveServicesScope();
    ActiveServicesScope(const ActiveServicesScope&) = delete;
    ActiveServicesScope& operator=(const ActiveServicesScope&) = delete;

  private:
    HostServices* previous_;
    FrameSession* previous_frame_;
};

}  // namespace hostsim

#endif
