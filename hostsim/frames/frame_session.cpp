#include "hostsim/frames/frame_session.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "hostsim/callbacks/host_callbacks.h"

namespace hostsim {

namespace {

constexpr PF_ChannelMask kAllChannels = 0xF;  // alpha, red, green, blue

A_short BitDepth(WorldDepth depth) {
    switch (depth) {
        case WorldDepth::k8:
            return 8;
        case WorldDepth::k16:
            return 16;
        case WorldDepth::k32:
        case WorldDepth::kVuya32:
            return 32;
    }
    return 0;
}

void CheckImage(const HostImage* image, const char* what) {
    if (image == nullptr) return;
    if (image->width <= 0 || image->height <= 0 ||
        image->argb.size() != static_cast<size_t>(image->width) * image->height * 4) {
        throw std::invalid_argument(std::string(what) + " image has no pixels or the wrong size");
    }
}

// Premiere Pro's frames carry straight colour; the input image is premultiplied, as the other
// hosts' layers are.
HostImage Unpremultiplied(const HostImage& image) {
    HostImage straight = image;
    for (size_t i = 0; i + 3 < straight.argb.size(); i += 4) {
        const float alpha = straight.argb[i];
        for (size_t c = 1; c < 4; ++c) {
            straight.argb[i + c] = alpha > 0 ? straight.argb[i + c] / alpha : 0.0f;
        }
    }
    return straight;
}

bool NearlyWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-6 * std::max(1.0, std::abs(value));
}

}  // namespace

TimeBase TimeBaseFor(double frame_rate) {
    if (!(frame_rate > 0.0)) return TimeBase{1, 1};
    if (NearlyWhole(frame_rate)) {
        return TimeBase{static_cast<A_u_long>(std::round(frame_rate)), 1};
    }
    // 23.976, 29.97, 59.94: nominal x 1000 / 1001, to the precision people type them with.
    const double nominal = std::round(frame_rate * 1.001);
    if (std::abs(nominal * 1000.0 / 1001.0 - frame_rate) < 0.005) {
        return TimeBase{static_cast<A_u_long>(nominal * 1000.0), 1001};
    }
    return TimeBase{static_cast<A_u_long>(std::round(frame_rate * 1000.0)), 1000};
}

FrameSession::FrameSession(EffectCommands& host, const FrameRequest& request)
    : host_(host),
      state_(host.services().render()),
      request_(request),
      start_(std::chrono::steady_clock::now()),
      iterate_{request.threads, request.progress},
      effect_ref_{&host.services(), this} {
    if (request.width <= 0 || request.height <= 0) {
        throw std::invalid_argument("frame size must be positive");
    }
    CheckImage(request.input, "input");
    CheckImage(request.hdri_layer, "HDRI layer");

    const TimeBase time = TimeBaseFor(host.services().composition().frame_rate);
    in_data_ = host.MakeInData();
    in_data_.effect_ref = HostServices::EffectRefFor(&effect_ref_);
    in_data_.time_scale = time.time_scale;
    in_data_.time_step = time.time_step;
    in_data_.local_time_step = time.time_step;
    in_data_.current_time = static_cast<A_long>(request.frame * time.time_step);
    in_data_.width = request.width;
    in_data_.height = request.height;
    in_data_.extent_hint = PF_Rect{0, 0, request.width, request.height};

    output_request_.rect = PF_LRect{0, 0, request.width, request.height};
    output_request_.channel_mask = kAllChannels;
    // Premiere Pro hands the effect every frame in the one format it declared.
    premiere_pro_ = host.premiere_pro();
    const WorldDepth depth = premiere_pro_ ? WorldDepth::kVuya32 : request.depth;
    const WorldDepth hdri_depth = premiere_pro_ ? WorldDepth::kVuya32 : request.hdri_depth;
    bitdepth_ = BitDepth(depth);

    // In progress before the first world exists, so that no audit counts it as left over.
    state_.Enter(this);
    try {
        GpuDevices& gpu = host.services().gpu();
        const int device =
            request.gpu != PF_GPU_Framework_NONE && !premiere_pro_ ? gpu.Find(request.gpu) : -1;
        if (device >= 0 && gpu.setup(static_cast<A_u_long>(device)).accepted) {
            gpu_ = std::make_unique<GpuFrameWorlds>(gpu, static_cast<A_u_long>(device),
                                                    request.width, request.height, request.input);
            bitdepth_ = BitDepth(WorldDepth::k32);
        } else {
            input_ = &state_.worlds.Create(request.width, request.height, depth, 0, this);
            if (request.input != nullptr) {
                input_->Fill(premiere_pro_ ? Unpremultiplied(*request.input) : *request.input);
            }
            output_ = &state_.worlds.Create(request.width, request.height, depth,
                                            request.faults.output_format_unknown
                                                ? PF_PixelFormat_GPU_BGRA128
                                                : PF_PixelFormat{0},
                                            this);
        }
        if (request.hdri_layer != nullptr) {
            hdri_ = &state_.worlds.Create(request.hdri_layer->width, request.hdri_layer->height,
                                          hdri_depth, 0, this);
            hdri_->Fill(*request.hdri_layer);
        }
    } catch (...) {
        ReleaseWorlds();
        throw;
    }
}

PF_Err FrameSession::UserCancel() const {
    const bool cancelled = (request_.cancel && request_.cancel()) ||
                           (request_.cancel_after &&
                            std::chrono::steady_clock::now() - start_ >= *request_.cancel_after);
    return cancelled ? PF_Interrupt_CANCEL : PF_Err_NONE;
}

void FrameSession::ReportProgress(A_long done, A_long total) const {
    if (request_.progress) request_.progress(done, total);
}

FrameSession::~FrameSession() {
    DisposePreRenderData();
    ReleaseWorlds();
}

void FrameSession::ReleaseWorlds() {
    gpu_.reset();
    for (HostWorld* world : {input_, output_, hdri_}) {
        if (world != nullptr) state_.worlds.Destroy(*world);
    }
    input_ = output_ = hdri_ = nullptr;
    state_.Leave(this);
}

CommandResult FrameSession::PreRender() {
    PF_PreRenderInput input{};
    input.output_request = output_request_;
    input.bitdepth = bitdepth_;
    input.what_gpu = PF_GPU_Framework_NONE;
    if (gpu_) {
        const A_u_long device = gpu_->device_index();
        input.what_gpu = host_.services().gpu().device(device)->framework();
        input.device_index = device;
        input.gpu_data = host_.services().gpu().setup(device).gpu_data;
    }
    PF_PreRenderCallbacks cb = StandalonePreRenderCallbacks();
    PF_PreRenderExtra extra{&input, &pre_render_output_, &cb};
    CommandResult result = host_.SendWith(PF_Cmd_SMART_PRE_RENDER, &in_data_, &extra, PF_OutData{});
    // The host keeps whatever was handed over, also after an error, and disposes of it later.
    if (pre_render_output_.pre_render_data != nullptr && held_data_ == nullptr) {
        held_data_ = pre_render_output_.pre_render_data;
        held_delete_ = pre_render_output_.delete_pre_render_data_func;
    }
    return result;
}

CommandResult FrameSession::Render(bool use_gpu) {
    return RenderWith(held_data_, use_gpu);
}

CommandResult FrameSession::RenderWith(void* pre_render_data, bool use_gpu) {
    PF_SmartRenderInput input{};
    input.output_request = output_request_;
    input.bitdepth = bitdepth_;
    input.pre_render_data = pre_render_data;
    input.what_gpu = PF_GPU_Framework_NONE;
    if (gpu_) {
        const A_u_long device = gpu_->device_index();
        GpuDevice* gpu = host_.services().gpu().device(device);
        input.what_gpu = gpu->framework();
        input.device_index = device;
        input.gpu_data = host_.services().gpu().setup(device).gpu_data;
        // The host makes the device's context current on the thread it renders on.
        gpu->MakeCurrent();
    }
    PF_SmartRenderCallbacks cb = StandaloneSmartRenderCallbacks();
    PF_SmartRenderExtra extra{&input, &cb};
    return host_.SendWith(use_gpu ? PF_Cmd_SMART_RENDER_GPU : PF_Cmd_SMART_RENDER, &in_data_,
                          &extra, PF_OutData{});
}

CommandResult FrameSession::RenderCommand() {
    std::vector<PF_ParamDef> copies = host_.ParamCopies(in_data_);
    std::vector<PF_ParamDef*> params;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].param_type == PF_Param_LAYER) {
            ShowLayerWorld(WorldOfLayer(static_cast<PF_ParamIndex>(i)), &copies[i]);
        }
        params.push_back(&copies[i]);
    }
    return host_.SendRaw(PF_Cmd_RENDER, &in_data_, params.data(), nullptr, PF_OutData{},
                         &output_->world());
}

void FrameSession::DisposePreRenderData() {
    void* data = held_data_;
    held_data_ = nullptr;
    if (data != nullptr && held_delete_ != nullptr) held_delete_(data);
}

void FrameSession::CollectOutput(FrameResult* result) const {
    if (gpu_) {
        gpu_->Collect(result, request_.keep_raw);
        return;
    }
    result->output = output_->ToImage();
    if (request_.keep_raw) result->raw = output_->PackedBytes();
}

void ShowLayerWorld(HostWorld* world, PF_ParamDef* param) {
    const A_long dephault = param->u.ld.dephault;
    param->u.ld = world != nullptr ? world->world() : PF_LayerDef{};
    param->u.ld.dephault = dephault;
}

HostWorld* FrameSession::LayerParamWorld(PF_ParamIndex index) {
    return WorldOfLayer(index);
}

HostWorld* FrameSession::WorldOfLayer(PF_ParamIndex index) {
    // The input is index 0; the effect's one other layer parameter shows the HDRI layer.
    return index == 0 ? input_ : hdri_;
}

PF_EffectWorld* FrameSession::LayerWorld(PF_ParamIndex index) {
    // A GPU frame's input is on the device; the environment layer stays in host memory.
    if (index == 0 && gpu_) return gpu_->input();
    HostWorld* world = WorldOfLayer(index);
    return world != nullptr ? &world->world() : nullptr;
}

PF_Err FrameSession::CheckoutLayer(PF_ParamIndex index, A_long checkout_id,
                                   const PF_RenderRequest* request, A_long what_time,
                                   PF_CheckoutResult* result) {
    if (request_.faults.checkout_layer != PF_Err_NONE) return request_.faults.checkout_layer;
    ParamStore& params = host_.services().params();
    if (request == nullptr || result == nullptr || index < 0 ||
        static_cast<size_t>(index) >= params.size() ||
        params.at(static_cast<size_t>(index)).def.param_type != PF_Param_LAYER) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    layer_checkouts_.push_back(LayerCheckout{index, checkout_id, *request, what_time});
    layer_ids_[checkout_id] = index;
    *result = PF_CheckoutResult{};
    result->par = PF_RationalScale{1, 1};
    if (const PF_EffectWorld* world = LayerWorld(index)) {
        const PF_EffectWorld& w = *world;
        result->result_rect = PF_LRect{0, 0, w.width, w.height};
        result->max_result_rect = result->result_rect;
        result->ref_width = w.width;
        result->ref_height = w.height;
    }
    return PF_Err_NONE;
}

PF_Err FrameSession::CheckoutLayerPixels(A_long checkout_id, PF_EffectWorld** pixels) {
    ++layer_pixel_checkouts_;
    if (request_.faults.checkout_layer_pixels != PF_Err_NONE) {
        return request_.faults.checkout_layer_pixels;
    }
    const auto layer = layer_ids_.find(checkout_id);
    // Only layers the pre-render checked out can be; each once at a time.
    if (pixels == nullptr || layer == layer_ids_.end() || pixels_out_[checkout_id]) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pixels = LayerWorld(layer->second);
    pixels_out_[checkout_id] = true;
    state_.LayerCheckedOut(this);
    return PF_Err_NONE;
}

PF_Err FrameSession::CheckinLayerPixels(A_long checkout_id) {
    ++layer_pixel_checkins_;
    // Checking in what is not out (after a failed check-out) is harmless.
    if (pixels_out_[checkout_id]) {
        pixels_out_[checkout_id] = false;
        state_.LayerCheckedIn(this);
    }
    return PF_Err_NONE;
}

PF_Err FrameSession::CheckoutOutput(PF_EffectWorld** output) {
    ++output_checkouts_;
    if (request_.faults.checkout_output != PF_Err_NONE) return request_.faults.checkout_output;
    if (output == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *output = gpu_ ? gpu_->output() : &output_->world();
    return PF_Err_NONE;
}

}  // namespace hostsim
