// "PF Utility Suite" of Premiere Pro: clip and timeline facts, and the request that layer
// check-outs arrive in the render's pixel format rather than as 8-bit frames.
#ifndef SPIROVAULT_HOST_PF_UTILITY_SUITE_H
#define SPIROVAULT_HOST_PF_UTILITY_SUITE_H

#include <cstdint>

#include "host/ae_basic_types.h"

#define kPFUtilitySuite "PF Utility Suite"
#define kPFUtilitySuiteVersion4 4

typedef int64_t PrTime;
typedef struct {
    void* opaque[2];
} PrSDKString;

typedef struct PF_UtilitySuite4 {
    PF_Err (*GetFilterInstanceID)(PF_ProgPtr effect_ref, A_long* filter_instance_id);
    PF_Err (*GetMediaTimecode)(PF_ProgPtr effect_ref, A_long* current_frame,
                               A_u_long* time_display);
    PF_Err (*GetClipSpeed)(PF_ProgPtr effect_ref, double* speed);
    PF_Err (*GetClipDuration)(PF_ProgPtr effect_ref, A_long* frame_duration);
    PF_Err (*GetClipStart)(PF_ProgPtr effect_ref, A_long* start_frame);
    PF_Err (*GetUnscaledClipDuration)(PF_ProgPtr effect_ref, A_long* frame_duration);
    PF_Err (*GetUnscaledClipStart)(PF_ProgPtr effect_ref, A_long* start_frame);
    PF_Err (*GetTrackItemStart)(PF_ProgPtr effect_ref, A_long* start_frame);
    PF_Err (*GetMediaFieldType)(PF_ProgPtr effect_ref, A_long* field_type);
    PF_Err (*GetMediaFrameRate)(PF_ProgPtr effect_ref, PrTime* ticks_per_frame);
    PF_Err (*GetContainingTimelineID)(PF_ProgPtr effect_ref, A_long* timeline_id);
    PF_Err (*GetClipName)(PF_ProgPtr effect_ref, PrSDKString* clip_name);
    PF_Err (*EffectWantsCheckedOutFramesToMatchRenderPixelFormat)(PF_ProgPtr effect_ref);
} PF_UtilitySuite4;

#endif
