#include "hostsim/frames/gpu_frame_worlds.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace hostsim {

namespace {

// The overlapping part of the image in a world of width x height; the rest transparent black.
std::vector<GpuPixel> GpuPixels(const HostImage& image, int width, int height) {
    std::vector<GpuPixel> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < std::min(height, image.height); ++y) {
        for (int x = 0; x < std::min(width, image.width); ++x) {
            const float* argb = &image.argb[(static_cast<size_t>(y) * image.width + x) * 4];
            pixels[static_cast<size_t>(y) * width + x] =
                GpuPixel{argb[3], argb[2], argb[1], argb[0]};
        }
    }
    return pixels;
}

}  // namespace

GpuFrameWorlds::GpuFrameWorlds(GpuDevices& devices, A_u_long device_index, int width, int height,
                               const HostImage* input, const HostImage* hdri_layer)
    : devices_(devices), device_index_(device_index) {
    input_ = devices.CreateWorld(device_index, width, height);
    output_ = devices.CreateWorld(device_index, width, height);
    if (hdri_layer != nullptr) {
        hdri_ = devices.CreateWorld(device_index, hdri_layer->width, hdri_layer->height, false);
    }
    if (input_ == nullptr || output_ == nullptr || (hdri_layer != nullptr && hdri_ == nullptr)) {
        Release();
        throw std::runtime_error("the GPU device cannot hold the frame's worlds");
    }
    if (input != nullptr) devices.Upload(input_, GpuPixels(*input, width, height));
    if (hdri_layer != nullptr) {
        devices.Upload(hdri_, GpuPixels(*hdri_layer, hdri_layer->width, hdri_layer->height));
    }
}

GpuFrameWorlds::~GpuFrameWorlds() {
    Release();
}

void GpuFrameWorlds::Release() {
    if (input_ != nullptr) devices_.DisposeWorld(input_);
    if (output_ != nullptr) devices_.DisposeWorld(output_);
    if (hdri_ != nullptr) devices_.DisposeWorld(hdri_);
    input_ = output_ = hdri_ = nullptr;
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
