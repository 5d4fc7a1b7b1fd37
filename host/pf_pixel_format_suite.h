// "PF Pixel Format Suite": the pixel formats an effect accepts under Premiere Pro.
#ifndef SPIROVAULT_HOST_PF_PIXEL_FORMAT_SUITE_H
#define SPIROVAULT_HOST_PF_PIXEL_FORMAT_SUITE_H

#include "host/pf_effect_world.h"

#define kPFPixelFormatSuite "PF Pixel Format Suite"
#define kPFPixelFormatSuiteVersion1 1

typedef struct PF_PixelFormatSuite1 {
    PF_Err (*AddSupportedPixelFormat)(PF_ProgPtr effect_ref, PrPixelFormat pixel_format);
    PF_Err (*ClearSupportedPixelFormats)(PF_ProgPtr effect_ref);
    PF_Err (*NewWorldOfPixelFormat)(PF_ProgPtr effect_ref, A_u_long width, A_u_long height,
                                    A_long flags, PrPixelFormat pixel_format,
                                    PF_EffectWorld* world);
    PF_Err (*DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* world);
    PF_Err (*GetPixelFormat)(PF_EffectWorld* world, PrPixelFormat* pixel_format);
    PF_Err (*GetBlackForPixelFormat)(PrPixelFormat pixel_format, void* pixel_data);
    PF_Err (*GetWhiteForPixelFormat)(PrPixelFormat pixel_format, void* pixel_data);
    PF_Err (*ConvertColorToPixelFormattedData)(PrPixelFormat pixel_format, float alpha, float red,
                                               float green, float blue, void* pixel_data);
} PF_PixelFormatSuite1;

#endif
