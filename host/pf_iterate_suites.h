// "PF Iterate8 Suite", "PF iterate16 Suite", "PF iterateFloat Suite": the host runs a pixel
// function over a world, on as many threads as it likes.
#ifndef SPIROVAULT_HOST_PF_ITERATE_SUITES_H
#define SPIROVAULT_HOST_PF_ITERATE_SUITES_H

#include "host/pf_effect_world.h"
#include "host/pf_in_out_data.h"

#define kPFIterate8Suite "PF Iterate8 Suite"
#define kPFIterate8SuiteVersion2 2
#define kPFIterate16Suite "PF iterate16 Suite"
#define kPFIterate16SuiteVersion2 2
#define kPFIterateFloatSuite "PF iterateFloat Suite"
#define kPFIterateFloatSuiteVersion2 2

typedef PF_Err (*PF_IteratePixel8Func)(void* refcon, A_long x, A_long y, PF_Pixel8* in,
                                       PF_Pixel8* out);
typedef PF_Err (*PF_IteratePixel16Func)(void* refcon, A_long x, A_long y, PF_Pixel16* in,
                                        PF_Pixel16* out);
typedef PF_Err (*PF_IteratePixelFloatFunc)(void* refcon, A_long x, A_long y, PF_PixelFloat* in,
                                           PF_PixelFloat* out);

typedef struct PF_Iterate8Suite2 {
    PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                      PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                      PF_IteratePixel8Func pix_fn, PF_EffectWorld* dst);
    void* iterate_origin;
    void* iterate_lut;
    void* iterate_origin_non_clip_src;
    PF_Err (*iterate_generic)(A_long iterationsL, void* refconPV,
                              PF_Err (*fn_func)(void* refconPV, A_long thread_indexL, A_long i,
                                                A_long iterationsL));
} PF_Iterate8Suite2;

typedef struct PF_Iterate16Suite2 {
    PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                      PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                      PF_IteratePixel16Func pix_fn, PF_EffectWorld* dst);
    void* iterate_origin;
    void* iterate_origin_non_clip_src;
} PF_Iterate16Suite2;

typedef struct PF_IterateFloatSuite2 {
    PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                      PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                      PF_IteratePixelFloatFunc pix_fn, PF_EffectWorld* dst);
    void* iterate_origin;
    void* iterate_origin_non_clip_src;
} PF_IterateFloatSuite2;

#endif
