// One frame through the smart-render protocol, as the host runs it: the frame's in-data and
// worlds, PF_Cmd_SMART_PRE_RENDER, PF_Cmd_SMART_RENDER with the pre-render data, and the
// disposal of that data. Under Premiere Pro the frame's worlds are VUYA float and the frame is
// one PF_Cmd_RENDER instead. The frame's in-data carries an effect_ref that names the frame, so
// the callbacks the effect makes during the frame land here; every check-out is counted in the
// instance's RenderState under the frame. Several frames of one host may be in progress at once,
// each from its own thread. EffectHost::RenderFrame runs the steps in order; tests may run them
// one by one.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_FRAME_SESSION_H
#define SPIROVAULT_HOSTSIM_FRAMES_FRAME_SESSION_H

#include <map>
#include <memory>
#include <vector>

#include "host/pf_smart_render.h"
#include "hostsim/effect_commands.h"
#include "hostsim/frames/frame_request.h"
#include "hostsim/frames/gpu_frame_worlds.h"
#include "hostsim/frames/layer_view.h"

namespace hostsim {

// The host's time base for a composition frame rate: in_data's time_scale and time_step.
struct TimeBase {
    A_u_long time_scale = 1;  // units per second
    A_long time_step = 1;     // units per frame
};

// Whole rates as (rate, 1); the NTSC rates as (1000 x nominal, 1001), so 29.97 is 30000/1001;
// anything else in thousandths of a frame. Rates of 0 or less are treated as 1 fps.
TimeBase TimeBaseFor(double frame_rate);

// The last frame whose time, frame x time_step, fits in the host's 32-bit current_time.
long LastFrameWithinTime(const TimeBase& time);
// A frame's time in seconds as the host evaluates parameters and streams for it: its time in
// units over the time scale. Keys placed at a frame are placed with this, so that they land on
// the frame at every rate, 29.97 included.
double FrameSeconds(double frame, const TimeBase& time);

class FrameSession {
  public:
    // Enters the frame into the host's frames in progress. A request for a GPU framework whose
    // device is set up and accepted gets GPU worlds on that device (PrepareGpuDevice makes it
    // so); otherwise the frame is a CPU frame.
    FrameSession(EffectCommands& host, const FrameRequest& request);
    ~FrameSession();  // disposes pre-render data still held, frees the worlds
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    PF_InData& in_data() { return in_data_; }
    // How the iterate suites spread this frame's rows.
    const IterateSettings& iterate() const { return iterate_; }
    const PF_RenderRequest& output_request() const { return output_request_; }
    // The host's pre-render output record: what it sets before the call, what the effect left.
    PF_PreRenderOutput& pre_render_output() { return pre_render_output_; }

    CommandResult PreRender();
    // Sends the smart render with the pre-render data the effect handed over.
    CommandResult Render(bool use_gpu = false);
    // The same with any pre-render data (null included).
    CommandResult RenderWith(void* pre_render_data, bool use_gpu = false);
    // PF_Cmd_RENDER with the parameters at the frame's time, layer parameters showing their
    // layers' worlds, and the output world, as Premiere Pro sends it.
    CommandResult RenderCommand();
    bool premiere_pro() const { return premiere_pro_; }
    // The host holds its handle suite's lock while the effect runs this frame's commands.
    bool host_holds_handle_lock() const { return request_.host_holds_handle_lock; }
    // Calls the effect's disposal function once, if it handed data over.
    void DisposePreRenderData();

    // The user's cancel as the host's callbacks answer it: PF_Interrupt_CANCEL once the request's
    // time has passed or whenever its cancel says so, else PF_Err_NONE. Any thread.
    PF_Err UserCancel() const;
    // What the effect reports through PF_PROGRESS, handed to the request's progress.
    void ReportProgress(A_long done, A_long total) const;

    // What the effect asked for during the frame.
    struct LayerCheckout {
        PF_ParamIndex index;
        A_long checkout_id;
        PF_RenderRequest request;
        A_long what_time;
    };
    const std::vector<LayerCheckout>& layer_checkouts() const { return layer_checkouts_; }
    int layer_pixel_checkouts() const { return layer_pixel_checkouts_; }
    int layer_pixel_checkins() const { return layer_pixel_checkins_; }
    int output_checkouts() const { return output_checkouts_; }

    // The CPU output world; a GPU frame has none.
    HostWorld& output_world() { return *output_; }
    // The frame's GPU worlds, or null for a CPU frame.
    GpuFrameWorlds* gpu_worlds() { return gpu_.get(); }
    // The output converted back to floats and its packed bytes.
    void CollectOutput(FrameResult* result) const;

    // The host's side of the smart-render callbacks.
    PF_Err CheckoutLayer(PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest* request,
                         A_long what_time, PF_CheckoutResult* result);
    PF_Err CheckoutLayerPixels(A_long checkout_id, PF_EffectWorld** pixels);
    PF_Err CheckinLayerPixels(A_long checkout_id);
    PF_Err CheckoutOutput(PF_EffectWorld** output);
    // What a layer parameter points at in this frame (a GPU world in a GPU frame): null for none.
    PF_EffectWorld* LayerParamWorld(PF_ParamIndex index);
    // The failure the request injects into a check-out of this layer.
    PF_Err LayerFault(PF_ParamIndex index) const;

  private:
    // Frees the worlds and leaves the frames in progress.
    void ReleaseWorlds();
    HostWorld* WorldOfLayer(PF_ParamIndex index);
    // The world record a layer's check-out hands out: the device input of a GPU frame.
    PF_EffectWorld* LayerWorld(PF_ParamIndex index);

    EffectCommands& host_;
    RenderState& state_;
    FrameRequest request_;
    LayerView view_;
    std::chrono::steady_clock::time_point start_;  // for the request's cancel_after
    IterateSettings iterate_;
    EffectRefTarget effect_ref_;  // what the frame's in-data names
    PF_InData in_data_{};
    PF_RenderRequest output_request_{};
    A_short bitdepth_ = 8;
    bool premiere_pro_ = false;
    HostWorld* input_ = nullptr;
    HostWorld* output_ = nullptr;
    HostWorld* hdri_ = nullptr;            // a CPU frame's "HDRI Layer"
    std::unique_ptr<GpuFrameWorlds> gpu_;  // the worlds of a GPU frame

    PF_PreRenderOutput pre_render_output_{};
    void* held_data_ = nullptr;
    PF_DeletePreRenderDataFunc held_delete_ = nullptr;

    std::map<A_long, PF_ParamIndex> layer_ids_;  // checkout id -> layer, from the pre-render
    std::map<A_long, bool> pixels_out_;
    std::vector<LayerCheckout> layer_checkouts_;
    int layer_pixel_checkouts_ = 0;
    int layer_pixel_checkins_ = 0;
    int output_checkouts_ = 0;
};

// Makes a layer parameter's copy show a world (an empty one for none), keeping its default.
void ShowLayerWorld(const PF_EffectWorld* world, PF_ParamDef* param);

}  // namespace hostsim

#endif
