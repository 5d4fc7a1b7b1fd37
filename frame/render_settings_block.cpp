#include "frame/render_settings_block.h"

#include <cstdlib>

namespace spirovault {

// malloc/free rather than new/delete: the host calls the disposal through a plain C pointer, and
// a failed allocation must come back as a null record, not an exception.
RenderSettingsBlock AllocateRenderSettings() {
    return RenderSettingsBlock(
        static_cast<RenderSettings*>(std::calloc(1, sizeof(RenderSettings))));
}

void DisposeRenderSettings(void* pre_render_data) {
    auto* record = static_cast<RenderSettings*>(pre_render_data);
    if (record == nullptr) return;
    std::free(record->hdri_pixels);
    std::free(record);
}

}  // namespace spirovault
