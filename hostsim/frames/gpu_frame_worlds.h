// The worlds of a frame rendered on a GPU device: PF_PixelFormat_GPU_BGRA128 device buffers with
// padded rows, the input filled from the request's image (transparent black without one), the
// "HDRI Layer" from its image when there is one (the host hands GPU worlds for every check-out
// of a GPU render), the output read back into the frame's result.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_GPU_FRAME_WORLDS_H
#define SPIROVAULT_HOSTSIM_FRAMES_GPU_FRAME_WORLDS_H

#include "hostsim/frames/frame_request.h"
#include "hostsim/gpu_devices/gpu_devices.h"

namespace hostsim {

class GpuFrameWorlds {
  public:
    // Throws std::runtime_error when the device cannot hold the worlds.
    GpuFrameWorlds(GpuDevices& devices, A_u_long device_index, int width, int height,
                   const HostImage* input, const HostImage* hdri_layer);
    ~GpuFrameWorlds();
    GpuFrameWorlds(const GpuFrameWorlds&) = delete;
    GpuFrameWorlds& operator=(const GpuFrameWorlds&) = delete;

    A_u_long device_index() const { return device_index_; }
    PF_EffectWorld* input() { return input_; }
    PF_EffectWorld* output() { return output_; }
    PF_EffectWorld* hdri_layer() { return hdri_; }  // null without one
    // The input and output cover the part of the layer whose first pixel is (x, y).
    void PlaceAt(A_long x, A_long y) {
        for (PF_EffectWorld* world : {input_, output_}) world->origin_x = x, world->origin_y = y;
    }

    // The output as floats (alpha, red, green, blue) and, with keep_raw, its packed device pixels
    // (blue, green, red, alpha as 32-bit floats); waits for the device.
    void Collect(FrameResult* result, bool keep_raw) const;

  private:
    void Release();

    GpuDevices& devices_;
    A_u_long device_index_;
    PF_EffectWorld* input_ = nullptr;
    PF_EffectWorld* output_ = nullptr;
    PF_EffectWorld* hdri_ = nullptr;
};

}  // namespace hostsim

#endif
