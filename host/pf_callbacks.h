// The callback tables in the in-data: interaction (parameters, UI registration) and utilities
// (handles, ANSI helpers). Entries the effect never calls carry only their argument sizes.
#ifndef SPIROVAULT_HOST_PF_CALLBACKS_H
#define SPIROVAULT_HOST_PF_CALLBACKS_H

#include "host/pf_ansi_suite.h"
#include "host/pf_custom_ui.h"
#include "host/pf_param_def.h"

typedef struct {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                             A_long time_step, A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
    PF_Err (*abort)(PF_ProgPtr effect_ref);
    PF_Err (*progress)(PF_ProgPtr effect_ref, A_long current, A_long total);
    PF_Err (*register_ui)(PF_ProgPtr effect_ref, PF_CustomUIInfo* cust_info);
    PF_Err (*checkout_layer_audio)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long start_time,
                                   A_long duration, A_u_long time_scale, A_u_long rate,
                                   A_long bytes_per_sample, A_long num_channels, A_long fmt_signed,
                                   void* audio);
    PF_Err (*checkin_layer_audio)(PF_ProgPtr effect_ref, void* audio);
    PF_Err (*get_audio_data)(PF_ProgPtr effect_ref, void* audio, void** data, A_long* num_samples,
                             A_u_long* rate, A_long* bytes_per_sample, A_long* num_channels,
                             A_long* fmt_signed);
    void* reserved_str[3];
    void* reserved[10];
} PF_InteractCallbacks;

typedef struct {
    SPIROVAULT_ANSI_CALLBACK_MEMBERS
    A_long ansi_procs[1];
} PF_ANSICallbacks;

typedef struct {
    PF_Err (*RGBtoHLS)(void*, void*, void*);
    PF_Err (*HLStoRGB)(void*, void*, void*);
    PF_Err (*RGBtoYIQ)(void*, void*, void*);
    PF_Err (*YIQtoRGB)(void*, void*, void*);
    PF_Err (*Luminance)(void*, void*, void*);
    PF_Err (*Hue)(void*, void*, void*);
    PF_Err (*Lightness)(void*, void*, void*);
    PF_Err (*Saturation)(void*, void*, void*);
} PF_ColorCallbacks;

typedef struct _PF_UtilCallbacks {
    PF_Err (*begin_sampling)(void*, A_long, A_long, void*);
    PF_Err (*subpixel_sample)(void*, A_long, A_long, void*, void*);
    PF_Err (*area_sample)(void*, A_long, A_long, void*, void*);
    void* get_batch_func_is_deprecated;
    PF_Err (*end_sampling)(void*, A_long, A_long, void*);
    PF_Err (*composite_rect)(void*, void*, A_long, void*, A_long, A_long, A_long, A_long, void*);
    PF_Err (*blend)(void*, void*, void*, A_long, void*);
    PF_Err (*convolve)(void*, void*, void*, A_u_long, A_long, void*, void*, void*, void*, void*);
    PF_Err (*copy)(void*, void*, void*, void*, void*);
    PF_Err (*fill)(void*, void*, void*, void*);
    PF_Err (*gaussian_kernel)(void*, A_FpLong, A_u_long, A_FpLong, void*, void*);
    PF_Err (*iterate)(void*, A_long, A_long, void*, void*, void*, void*, void*);
    PF_Err (*premultiply)(void*, A_long, void*);
    PF_Err (*premultiply_color)(void*, void*, void*, A_long, void*);
    PF_Err (*new_world)(void*, A_long, A_long, A_long, void*);
    PF_Err (*dispose_world)(void*, void*);
    PF_Err (*iterate_origin)(void*, A_long, A_long, void*, void*, void*, void*, void*, void*);
    PF_Err (*iterate_lut)(void*, A_long, A_long, void*, void*, void*, void*, void*, void*, void*);
    PF_Err (*transfer_rect)(void*, A_long, A_long, A_long, void*, void*, void*, void*, A_long,
                            A_long, void*);
    PF_Err (*transform_world)(void*, A_long, A_long, A_long, void*, void*, void*, void*, A_long,
                              A_char, void*, void*);
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void* (*host_lock_handle)(PF_Handle handle);
    void (*host_unlock_handle)(PF_Handle handle);
    void (*host_dispose_handle)(PF_Handle handle);
    PF_Err (*get_callback_addr)(void*, A_long, A_long, A_long, void*);
    PF_Err (*app)(void*, A_long, ...);
    PF_ANSICallbacks ansi;
    PF_ColorCallbacks colorCB;
    PF_Err (*get_platform_data)(void*, A_long, void*);
    A_HandleSize (*host_get_handle_size)(PF_Handle handle);
    PF_Err (*iterate_origin_non_clip_src)(void*, A_long, A_long, void*, void*, void*, void*, void*,
                                          void*);
    PF_Err (*iterate_generic)(A_long iterationsL, void* refconPV,
                              PF_Err (*fn_func)(void* refconPV, A_long thread_indexL, A_long i,
                                                A_long iterationsL));
    PF_Err (*host_resize_handle)(A_HandleSize new_size, PF_Handle* handle);
    PF_Err (*subpixel_sample16)(void*, A_long, A_long, void*, void*);
    PF_Err (*area_sample16)(void*, A_long, A_long, void*, void*);
    PF_Err (*fill16)(void*, void*, void*, void*);
    PF_Err (*premultiply_color16)(void*, void*, void*, A_long, void*);
    PF_Err (*iterate16)(void*, A_long, A_long, void*, void*, void*, void*, void*);
    PF_Err (*iterate_origin16)(void*, A_long, A_long, void*, void*, void*, void*, void*, void*);
    PF_Err (*iterate_origin_non_clip_src16)(void*, A_long, A_long, void*, void*, void*, void*,
                                            void*, void*);
    PF_Err (*get_pixel_data8)(void*, void*, void*);
    PF_Err (*get_pixel_data16)(void*, void*, void*);
    A_long reserved[1];
} PF_UtilCallbacks;

#endif
