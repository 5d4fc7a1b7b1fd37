// What the standalone host keeps for rendering one effect instance: its worlds, the frames in
// progress and the layer check-outs the audit reports. Several frames run at once; each keeps its
// own in-data, worlds and iterate settings (FrameSession), and this is what they share.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_RENDER_STATE_H
#define SPIROVAULT_HOSTSIM_FRAMES_RENDER_STATE_H

#include <functional>
#include <mutex>

#include "hostsim/frames/world_registry.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

struct IterateSettings {
    int threads = 0;  // pool size; 0 = all cores
    std::function<void(int done, int total)> progress;
};

class RenderState {
  public:
    WorldRegistry worlds;

    // A frame enters before it takes anything and leaves once it has given everything back.
    void Enter(ResourceHolder frame) {
        std::lock_guard lock(frames_mutex_);
        frames_.insert(frame);
    }
    void Leave(ResourceHolder frame) {
        std::lock_guard lock(frames_mutex_);
        frames_.erase(frame);
    }
    // fn(frames in progress) with no frame entering or leaving meanwhile, so that an audit
    // leaving out what those frames hold never sees one half started.
    template <typename Fn>
    auto WithFramesInProgress(Fn fn) const {
        std::lock_guard lock(frames_mutex_);
        return fn(frames_);
    }

    void LayerCheckedOut(ResourceHolder frame) {
        std::lock_guard lock(layers_mutex_);
        layer_checkouts_.Add(frame);
    }
    void LayerCheckedIn(ResourceHolder frame) {
        std::lock_guard lock(layers_mutex_);
        layer_checkouts_.Remove(frame);
    }
    // Layer pixels checked out and not checked in, leaving out the skipped frames'.
    int layer_checkouts(const HolderSet& skip = {}) const {
        std::lock_guard lock(layers_mutex_);
        return layer_checkouts_.Total(skip);
    }

  private:
    mutable std::mutex frames_mutex_;
    HolderSet frames_;
    mutable std::mutex layers_mutex_;
    HeldCounts layer_checkouts_;
};

}  // namespace hostsim

#endif
