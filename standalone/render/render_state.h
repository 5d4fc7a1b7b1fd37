// What the standalone host keeps for rendering one effect instance: the iterate suites' settings,
// the frame being rendered, and the counts the audit reports.
#ifndef SPIROVAULT_STANDALONE_RENDER_RENDER_STATE_H
#define SPIROVAULT_STANDALONE_RENDER_RENDER_STATE_H

#include <functional>

#include "standalone/render/world_registry.h"

class FrameSession;

struct IterateSettings {
    int threads = 0;  // pool size; 0 = all cores
    std::function<void(int done, int total)> progress;
};

struct RenderState {
    WorldRegistry worlds;
    IterateSettings iterate;
    FrameSession* frame = nullptr;  // the frame whose commands are running, if any
    int layer_checkouts = 0;        // layer pixels checked out and not checked in
};

#endif
