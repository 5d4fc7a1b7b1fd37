// A world (layer, input or output pixels) as the host allocates it: 8-bit, 16-bit or float ARGB,
// rows padded past the last pixel so that an effect writing beyond its width shows up. The world
// record carries a host token, so a copy of the record still names its world.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_HOST_WORLD_H
#define SPIROVAULT_HOSTSIM_FRAMES_HOST_WORLD_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/pf_effect_world.h"
#include "hostsim/frames/host_image.h"

namespace hostsim {

PF_PixelFormat PixelFormatOf(WorldDepth depth);
size_t PixelBytes(WorldDepth depth);

class HostWorld {
  public:
    static constexpr size_t kRowPaddingBytes = 20;
    static constexpr uint8_t kPaddingByte = 0xCD;

    // Pixels start transparent black. `reported_format` is what "PF World Suite" answers;
    // 0 means the depth's own format.
    HostWorld(int width, int height, WorldDepth depth, PF_PixelFormat reported_format = 0);
    HostWorld(const HostWorld&) = delete;
    HostWorld& operator=(const HostWorld&) = delete;

    PF_EffectWorld& world() { return world_; }
    WorldDepth depth() const { return depth_; }
    PF_PixelFormat reported_format() const { return reported_format_; }
    // Whether a world record (or a copy of one) names this world.
    bool Names(const PF_EffectWorld& world) const { return world.reserved0 == this; }

    // Copies the overlapping part of the image, converted to this depth (rounded, clamped to
    // 0..1 for 8 and 16 bits); pixels outside it stay transparent black.
    void Fill(const HostImage& image);
    HostImage ToImage() const;
    // Clears to transparent black every pixel whose place in the layer (x + origin_x,
    // y + origin_y) lies outside `keep`: the host shows only an effect's result rectangle.
    void KeepOnly(const PF_LRect& keep);
    std::vector<uint8_t> PackedBytes() const;  // rows without their padding
    bool PaddingIntact() const;

  private:
    const uint8_t* Row(int y) const { return bytes_.data() + static_cast<size_t>(y) * rowbytes_; }
    uint8_t* Row(int y) { return bytes_.data() + static_cast<size_t>(y) * rowbytes_; }

    WorldDepth depth_;
    PF_PixelFormat reported_format_;
    size_t rowbytes_;
    std::vector<uint8_t> bytes_;
    PF_EffectWorld world_{};
};

}  // namespace hostsim

#endif
