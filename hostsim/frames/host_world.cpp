#include "hostsim/frames/host_world.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hostsim {

namespace {

// ITU-R BT.601 luma weights; U and V are (B - Y) / 1.772 and (R - Y) / 1.402, so that pure blue
// and pure red reach 0.5.
constexpr float kWr = 0.299f, kWg = 0.587f, kWb = 0.114f;
constexpr float kUScale = 1.772f, kVScale = 1.402f;

struct Vuya {
    float v, u, y, a;
};

template <typename Channel>
Channel ToChannel(float value, float white) {
    return static_cast<Channel>(std::lround(std::clamp(value, 0.0f, 1.0f) * white));
}

void StorePixel(WorldDepth depth, const float* argb, uint8_t* at) {
    switch (depth) {
        case WorldDepth::k8: {
            const PF_Pixel8 p{ToChannel<A_u_char>(argb[0], 255), ToChannel<A_u_char>(argb[1], 255),
                              ToChannel<A_u_char>(argb[2], 255), ToChannel<A_u_char>(argb[3], 255)};
            std::memcpy(at, &p, sizeof p);
            break;
        }
        case WorldDepth::k16: {
            const float w = PF_MAX_CHAN16;
            const PF_Pixel16 p{ToChannel<A_u_short>(argb[0], w), ToChannel<A_u_short>(argb[1], w),
                               ToChannel<A_u_short>(argb[2], w), ToChannel<A_u_short>(argb[3], w)};
            std::memcpy(at, &p, sizeof p);
            break;
        }
        case WorldDepth::k32: {
            const PF_PixelFloat p{argb[0], argb[1], argb[2], argb[3]};
            std::memcpy(at, &p, sizeof p);
            break;
        }
        case WorldDepth::kVuya32: {
            const float y = kWr * argb[1] + kWg * argb[2] + kWb * argb[3];
            const Vuya p{(argb[1] - y) / kVScale, (argb[3] - y) / kUScale, y, argb[0]};
            std::memcpy(at, &p, sizeof p);
            break;
        }
    }
}

void LoadPixel(WorldDepth depth, const uint8_t* at, float* argb) {
    switch (depth) {
        case WorldDepth::k8: {
            PF_Pixel8 p;
            std::memcpy(&p, at, sizeof p);
            const float s = 1.0f / 255.0f;
            argb[0] = p.alpha * s, argb[1] = p.red * s, argb[2] = p.green * s, argb[3] = p.blue * s;
            break;
        }
        case WorldDepth::k16: {
            PF_Pixel16 p;
            std::memcpy(&p, at, sizeof p);
            const float s = 1.0f / PF_MAX_CHAN16;
            argb[0] = p.alpha * s, argb[1] = p.red * s, argb[2] = p.green * s, argb[3] = p.blue * s;
            break;
        }
        case WorldDepth::k32: {
            PF_PixelFloat p;
            std::memcpy(&p, at, sizeof p);
            argb[0] = p.alpha, argb[1] = p.red, argb[2] = p.green, argb[3] = p.blue;
            break;
        }
        case WorldDepth::kVuya32: {
            Vuya p;
            std::memcpy(&p, at, sizeof p);
            const float red = p.y + kVScale * p.v;
            const float blue = p.y + kUScale * p.u;
            argb[0] = p.a, argb[1] = red, argb[3] = blue;
            argb[2] = (p.y - kWr * red - kWb * blue) / kWg;
            break;
        }
    }
}

}  // namespace

PF_PixelFormat PixelFormatOf(WorldDepth depth) {
    switch (depth) {
        case WorldDepth::k8:
            return PF_PixelFormat_ARGB32;
        case WorldDepth::k16:
            return PF_PixelFormat_ARGB64;
        case WorldDepth::k32:
            return PF_PixelFormat_ARGB128;
        case WorldDepth::kVuya32:
            return static_cast<PF_PixelFormat>(PrPixelFormat_VUYA_4444_32f);
    }
    return PF_PixelFormat_INVALID;
}

size_t PixelBytes(WorldDepth depth) {
    switch (depth) {
        case WorldDepth::k8:
            return sizeof(PF_Pixel8);
        case WorldDepth::k16:
            return sizeof(PF_Pixel16);
        case WorldDepth::k32:
            return sizeof(PF_PixelFloat);
        case WorldDepth::kVuya32:
            return sizeof(Vuya);
    }
    return 0;
}

HostWorld::HostWorld(int width, int height, WorldDepth depth, PF_PixelFormat reported_format)
    : depth_(depth),
      reported_format_(reported_format != 0 ? reported_format : PixelFormatOf(depth)),
      rowbytes_(static_cast<size_t>(std::max(width, 0)) * PixelBytes(depth) + kRowPaddingBytes) {
    const int rows = std::max(height, 0);
    // Cleared pixels; only each row's padding carries the pattern that shows stray writes.
    bytes_.assign(rowbytes_ * rows, 0);
    const size_t pixel_bytes = rowbytes_ - kRowPaddingBytes;
    for (int y = 0; y < rows; ++y)
        std::memset(Row(y) + pixel_bytes, kPaddingByte, kRowPaddingBytes);
    world_.reserved0 = this;
    world_.world_flags =
        PF_WorldFlag_WRITEABLE | (depth == WorldDepth::k16 ? PF_WorldFlag_DEEP : 0);
    world_.data = bytes_.data();
    world_.rowbytes = static_cast<A_long>(rowbytes_);
    world_.width = width;
    world_.height = height;
    world_.extent_hint = PF_Rect{0, 0, width, height};
    world_.pix_aspect_ratio = PF_RationalScale{1, 1};
}

void HostWorld::Fill(const HostImage& image) {
    const int width = std::min(world_.width, image.width);
    const int height = std::min(world_.height, image.height);
    const size_t size = PixelBytes(depth_);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float* argb = &image.argb[(static_cast<size_t>(y) * image.width + x) * 4];
            StorePixel(depth_, argb, Row(y) + x * size);
        }
    }
}

void HostWorld::KeepOnly(const PF_LRect& keep) {
    const size_t size = PixelBytes(depth_);
    for (int y = 0; y < world_.height; ++y) {
        const A_long line = y + world_.origin_y;
        for (int x = 0; x < world_.width; ++x) {
            const A_long column = x + world_.origin_x;
            const bool inside = column >= keep.left && column < keep.right && line >= keep.top &&
                                line < keep.bottom;
            if (!inside) std::memset(Row(y) + x * size, 0, size);  // zero bytes: transparent black
        }
    }
}

HostImage HostWorld::ToImage() const {
    HostImage image;
    image.width = world_.width;
    image.height = world_.height;
    image.argb.resize(static_cast<size_t>(image.width) * image.height * 4);
    const size_t size = PixelBytes(depth_);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            LoadPixel(depth_, Row(y) + x * size,
                      &image.argb[(static_cast<size_t>(y) * image.width + x) * 4]);
        }
    }
    return image;
}

std::vector<uint8_t> HostWorld::PackedBytes() const {
    const size_t pixel_bytes = rowbytes_ - kRowPaddingBytes;
    std::vector<uint8_t> packed;
    packed.reserve(pixel_bytes * world_.height);
    for (int y = 0; y < world_.height; ++y) {
        packed.insert(packed.end(), Row(y), Row(y) + pixel_bytes);
    }
    return packed;
}

bool HostWorld::PaddingIntact() const {
    const size_t pixel_bytes = rowbytes_ - kRowPaddingBytes;
    for (int y = 0; y < world_.height; ++y) {
        const uint8_t* pad = Row(y) + pixel_bytes;
        if (std::any_of(pad, pad + kRowPaddingBytes, [](uint8_t b) { return b != kPaddingByte; })) {
            return false;
        }
    }
    return true;
}

}  // namespace hostsim
