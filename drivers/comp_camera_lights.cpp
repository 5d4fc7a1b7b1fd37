// Placeholder until the composition reader lands: every frame is seen as if the effect had no
// layer.
#include "drivers/comp_camera_lights.h"

#include "drivers/comp_camera.h"

PF_Err ReadCompCameraAndLights(PF_InData*, PF_OutData*, RenderSettings* record) {
    SetFallbackCamera(record);
    record->depth_start *= 0.002684f;
    record->depth_end *= 0.002684f;
    SetPinholeLens(3.5f, record);
    record->comp_light_count = 0;
    return PF_Err_NONE;
}
