#include "hostsim/frames/frame_session.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/record_canary.h"

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

// Where the frame's worlds lie in the layer. Premiere Pro renders a field of an interlaced frame
// at half height and never asks for a part of the frame.
LayerView ViewFor(const FrameRequest& request, bool premiere_pro) {
    LayerView view;
    view.layer_width = request.width;
    view.layer_height = request.height;
    view.downsample_x = request.downsample_x;
    view.downsample_y = request.downsample_y;
    if (view.downsample_x.num <= 0 || view.downsample_x.den == 0 || view.downsample_y.num <= 0 ||
        view.downsample_y.den == 0 ||
        view.downsample_x.num > static_cast<A_long>(view.downsample_x.den) ||
        view.downsample_y.num > static_cast<A_long>(view.downsample_y.den)) {
        throw std::invalid_argument("downsample factors must lie in (0, 1]");
    }
    if (request.pixel_aspect.num <= 0 || request.pixel_aspect.den == 0) {
        throw std::invalid_argument("pixel aspect ratio must be positive");
    }
    const PF_LRect layer{0, 0, LengthAtResolution(request.width, view.downsample_x),
                         LengthAtResolution(request.height, view.downsample_y)};
    view.part = layer;
    if (request.region && !premiere_pro) view.part = Intersection(*request.region, layer);
    if (view.world_width() <= 0 || view.world_height() <= 0) {
        throw std::invalid_argument("the region asked for lies outside the layer");
    }
    if (premiere_pro && (request.field == PF_Field_UPPER || request.field == PF_Field_LOWER)) {
        view.row_step = 2;
        view.first_row = request.field == PF_Field_LOWER ? 1 : 0;
        if (view.world_height() <= 0) throw std::invalid_argument("the field has no lines");
    }
    return view;
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

long LastFrameWithinTime(const TimeBase& time) {
    return static_cast<long>(std::numeric_limits<A_long>::max() /
                             std::max<A_long>(time.time_step, 1));
}

double FrameSeconds(double frame, const TimeBase& time) {
    return frame * time.time_step / static_cast<double>(time.time_scale);
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

    premiere_pro_ = host.premiere_pro();
    view_ = ViewFor(request, premiere_pro_);
    const TimeBase time = TimeBaseFor(host.services().composition().frame_rate);
    if (std::labs(request.frame) > LastFrameWithinTime(time)) {
        throw std::invalid_argument("frame " + std::to_string(request.frame) +
                                    " is past the host's time range");
    }
    in_data_ = host.MakeInData();
    in_data_.effect_ref = HostServices::EffectRefFor(&effect_ref_);
    in_data_.time_scale = time.time_scale;
    in_data_.time_step = time.time_step;
    in_data_.local_time_step = time.time_step;
    in_data_.current_time = static_cast<A_long>(request.frame * time.time_step);
    in_data_.width = request.width;
    in_data_.height = request.height;
    in_data_.downsample_x = view_.downsample_x;
    in_data_.downsample_y = view_.downsample_y;
    in_data_.pixel_aspect_ratio = request.pixel_aspect;
    in_data_.field = view_.row_step == 2 ? request.field : PF_Field_FRAME;
    in_data_.extent_hint = view_.part;

    output_request_.rect = view_.part;
    output_request_.channel_mask = kAllChannels;
    // Premiere Pro hands the effect every frame in the one format it declared.
    const WorldDepth depth = premiere_pro_ ? WorldDepth::kVuya32 : request.depth;
    // Premiere Pro hands check-outs as 8-bit frames unless the effect asked for the render's
    // format at global setup.
    const bool checkouts_match = host.services().pixel_formats().checkouts_match_render_format;
    const WorldDepth hdri_depth = !premiere_pro_    ? request.hdri_depth
                                  : checkouts_match ? WorldDepth::kVuya32
                                                    : WorldDepth::k8;
    bitdepth_ = BitDepth(depth);

    // In progress before the first world exists, so that no audit counts it as left over.
    state_.Enter(this);
    try {
        GpuDevices& gpu = host.services().gpu();
        const int device =
            request.gpu != PF_GPU_Framework_NONE && !premiere_pro_ ? gpu.Find(request.gpu) : -1;
        // The input world covers the same pixels as the output, as the effect asks for it.
        std::optional<HostImage> input_pixels;
        if (request.input != nullptr) input_pixels = ViewOfLayer(*request.input, view_);
        const HostImage* input_view = input_pixels ? &*input_pixels : nullptr;
        const int width = view_.world_width();
        const int height = view_.world_height();
        if (device >= 0 && gpu.setup(static_cast<A_u_long>(device)).accepted) {
            gpu_ = std::make_unique<GpuFrameWorlds>(gpu, static_cast<A_u_long>(device), width,
                                                    height, input_view, request.hdri_layer);
            gpu_->PlaceAt(view_.part.left, view_.part.top);
            bitdepth_ = BitDepth(WorldDepth::k32);
        } else {
            input_ = &state_.worlds.Create(width, height, depth, 0, this);
            if (input_view != nullptr) input_->Fill(*input_view);
            output_ = &state_.worlds.Create(width, height, depth,
                                            request.faults.output_format_unknown
                                                ? PF_PixelFormat_GPU_BGRA128
                                                : PF_PixelFormat{0},
                                            this);
            for (HostWorld* world : {input_, output_}) {
                world->world().origin_x = view_.part.left;
                world->world().origin_y = view_.part.top;
            }
        }
        if (request.hdri_layer != nullptr && !gpu_) {
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
    // Each record exactly its size, guarded behind: a write past one shows as an overrun.
    GuardedRecord<PF_PreRenderInput> guarded_input(input);
    GuardedRecord<PF_PreRenderOutput> output(pre_render_output_);
    GuardedRecord<PF_PreRenderCallbacks> cb(StandalonePreRenderCallbacks());
    GuardedRecord<PF_PreRenderExtra> extra(
        PF_PreRenderExtra{&guarded_input.record, &output.record, &cb.record});
    CommandResult result =
        host_.SendWith(PF_Cmd_SMART_PRE_RENDER, &in_data_, &extra.record, PF_OutData{});
    pre_render_output_ = output.record;
    if (!guarded_input.intact() || !output.intact() || !cb.intact() || !extra.intact()) {
        result.audit.record_overruns = 1;
    }
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
    GuardedRecord<PF_SmartRenderInput> guarded_input(input);
    GuardedRecord<PF_SmartRenderCallbacks> cb(StandaloneSmartRenderCallbacks());
    GuardedRecord<PF_SmartRenderExtra> extra(
        PF_SmartRenderExtra{&guarded_input.record, &cb.record});
    CommandResult result = host_.SendWith(use_gpu ? PF_Cmd_SMART_RENDER_GPU : PF_Cmd_SMART_RENDER,
                                          &in_data_, &extra.record, PF_OutData{});
    if (!guarded_input.intact() || !cb.intact() || !extra.intact()) {
        result.audit.record_overruns = 1;
    }
    // Only what the effect said it would produce reaches the composition.
    if (output_ != nullptr && pre_render_data == held_data_ && held_data_ != nullptr) {
        output_->KeepOnly(pre_render_output_.result_rect);
    }
    return result;
}

CommandResult FrameSession::RenderCommand() {
    std::vector<PF_ParamDef> copies = host_.ParamCopies(in_data_);
    std::vector<PF_ParamDef*> params;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].param_type == PF_Param_LAYER) {
            ShowLayerWorld(LayerWorld(static_cast<PF_ParamIndex>(i)), &copies[i]);
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

void ShowLayerWorld(const PF_EffectWorld* world, PF_ParamDef* param) {
    const A_long dephault = param->u.ld.dephault;
    param->u.ld = world != nullptr ? *world : PF_LayerDef{};
    param->u.ld.dephault = dephault;
}

PF_EffectWorld* FrameSession::LayerParamWorld(PF_ParamIndex index) {
    return LayerWorld(index);
}

PF_Err FrameSession::LayerFault(PF_ParamIndex index) const {
    return index != 0 ? request_.faults.hdri_checkout : PF_Err_NONE;
}

HostWorld* FrameSession::WorldOfLayer(PF_ParamIndex index) {
    // The input is index 0; the effect's one other layer parameter shows the HDRI layer.
    return index == 0 ? input_ : hdri_;
}

PF_EffectWorld* FrameSession::LayerWorld(PF_ParamIndex index) {
    // A GPU frame's layers are GPU worlds.
    if (gpu_) return index == 0 ? gpu_->input() : gpu_->hdri_layer();
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
    if (index == 0) {
        // The layer's rectangles follow its content, as a mask or transparent edges crop them.
        const PF_LRect content =
            request_.input != nullptr ? ContentBounds(*request_.input, view_) : PF_LRect{};
        result->result_rect = Intersection(content, request->rect);
        result->max_result_rect = content;
        result->ref_width = LengthAtResolution(view_.layer_width, view_.downsample_x);
        result->ref_height = LengthAtResolution(view_.layer_height, view_.downsample_y);
        result->par = request_.pixel_aspect;
    } else if (const PF_EffectWorld* world = LayerWorld(index)) {
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
    if (const PF_Err fault = LayerFault(layer->second); fault != PF_Err_NONE) return fault;
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
