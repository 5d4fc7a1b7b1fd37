#include "hostsim/frames/gpu_frame_worlds.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace hostsim {

GpuFrameWorlds::GpuFrameWorlds(GpuDevices& devices, A_u_long device_index, int width, int height,
                               const HostImage* input)
    : devices_(devices), device_index_(device_index) {
    input_ = devices.CreateWorld(device_index, width, height);
    output_ = devices.CreateWorld(device_index, width, height);
    if (input_ == nullptr || output_ == nullptr) {
        Release();
        throw std::runtime_error("the GPU device cannot hold the frame's worlds");
    }
    if (input == nullptr) return;
    // The overlapping part of the image; the rest stays transparent black.
    std::vector<GpuPixel> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < std::min(height, input->height); ++y) {
        for (int x = 0; x < std::min(width, input->width); ++x) {
            const float* argb = &input->argb[(static_cast<size_t>(y) * input->width + x) * 4];
            pixels[static_cast<size_t>(y) * width + x] =
                GpuPixel{argb[3], argb[2], argb[1], argb[0]};
        }
    }
    devices.Upload(input_, pixels);
}

GpuFrameWorlds::~GpuFrameWorlds() {
    Release();
}

void GpuFrameWorlds::Release() {
    if (input_ != nullptr) devices_.DisposeWorld(input_);
    if (output_ != nullptr) devices_.DisposeWorld(output_);
    input_ = output_ = nullptr;
}

void GpuFrameWorlds::Collect(FrameResult* result, bool keep_raw) const {
    devices_.device(device_index_)->Finish();
    const std::vector<GpuPixel> pixels = devices_.Download(output_);
    result->output.width = output_->width;
    result->output.height = output_->height;
    result->output.argb.clear();
    result->output.argb.reserve(pixels.size() * 4);
    for (const GpuPixel& p : pixels) {
        result->output.argb.insert(result->output.argb.end(), {p.alpha, p.red, p.green, p.blue});
    }
    if (!keep_raw) return;
    result->raw.resize(pixels.size() * sizeof(GpuPixel));
    if (!pixels.empty()) std::memcpy(result->raw.data(), pixels.data(), result->raw.size());
}

}  // namespace hostsim
