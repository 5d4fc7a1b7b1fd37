// The frame's RenderSettings as one zero-filled heap block that the host keeps as pre-render
// data, and its disposal.
#ifndef SPIROVAULT_FRAME_RENDER_SETTINGS_BLOCK_H
#define SPIROVAULT_FRAME_RENDER_SETTINGS_BLOCK_H

#include <memory>

#include "kernel/settings.h"

namespace spirovault {

// The host's PF_DeletePreRenderDataFunc: frees the environment block, then the record. A null
// record is ignored.
void DisposeRenderSettings(void* pre_render_data);

struct RenderSettingsDisposer {
    void operator()(RenderSettings* record) const { DisposeRenderSettings(record); }
};
// Owns a record until it is handed to the host.
using RenderSettingsBlock = std::unique_ptr<RenderSettings, RenderSettingsDisposer>;

// Zero-filled; null when memory is short.
RenderSettingsBlock AllocateRenderSettings();

}  // namespace spirovault

#endif
