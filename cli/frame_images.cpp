#include "cli/frame_images.h"

#include <cmath>
#include <utility>

namespace cli {

HostImage PlaceInputLayer(const imageio::FloatImage& image, FrameSize composition) {
    HostImage layer;
    layer.width = composition.width;
    layer.height = composition.height;
    layer.argb.assign(static_cast<size_t>(layer.width) * layer.height * 4, 0.0f);
    const int left = (composition.width - image.width) / 2;
    const int top = (composition.height - image.height) / 2;
    for (int y = 0; y < image.height; ++y) {
        const int ly = y + top;
        if (ly < 0 || ly >= layer.height) continue;
        for (int x = 0; x < image.width; ++x) {
            const int lx = x + left;
            if (lx < 0 || lx >= layer.width) continue;
            const float* p = image.Pixel(x, y);
            float* out = &layer.argb[(static_cast<size_t>(ly) * layer.width + lx) * 4];
            out[0] = p[3];
            out[1] = p[0];
            out[2] = p[1];
            out[3] = p[2];
        }
    }
    return layer;
}

HostImage EnvironmentLayer(imageio::FloatImage&& image) {
    HostImage layer;
    layer.width = image.width;
    layer.height = image.height;
    layer.argb = std::move(image.rgba);
    // RGBA to ARGB in place: an environment image can be large.
    for (size_t i = 0; i + 3 < layer.argb.size(); i += 4) {
        const float alpha = layer.argb[i + 3];
        layer.argb[i + 3] = layer.argb[i + 2];
        layer.argb[i + 2] = layer.argb[i + 1];
        layer.argb[i + 1] = layer.argb[i];
        layer.argb[i] = alpha;
    }
    image = imageio::FloatImage{};
    return layer;
}

WorldDepth EnvironmentDepth(const imageio::LoadedImage& loaded) {
    if (loaded.kind != imageio::ImageKind::kPng) return WorldDepth::k32;
    return loaded.bit_depth == 16 ? WorldDepth::k16 : WorldDepth::k8;
}

imageio::FloatImage FrameToImage(HostImage&& frame) {
    imageio::FloatImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.rgba = std::move(frame.argb);
    // ARGB to RGBA in place: a frame is not copied.
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const float alpha = image.rgba[i];
        image.rgba[i] = image.rgba[i + 1];
        image.rgba[i + 1] = image.rgba[i + 2];
        image.rgba[i + 2] = image.rgba[i + 3];
        image.rgba[i + 3] = alpha;
    }
    frame = HostImage{};
    return image;
}

float SrgbToLinear(float encoded) {
    const double magnitude = std::fabs(static_cast<double>(encoded));
    const double linear =
        magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
    return static_cast<float>(encoded < 0 ? -linear : linear);
}

void ConvertToLinearLight(imageio::FloatImage* image) {
    for (size_t i = 0; i < image->rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) image->rgba[i + c] = SrgbToLinear(image->rgba[i + c]);
    }
}

}  // namespace cli
