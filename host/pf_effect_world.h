// The host's image buffer (a layer, input or output frame) and the pixel format codes it reports.
#ifndef SPIROVAULT_HOST_PF_EFFECT_WORLD_H
#define SPIROVAULT_HOST_PF_EFFECT_WORLD_H

#include "host/pf_geometry.h"
#include "host/pf_pixel.h"

typedef A_long PF_WorldFlags;
enum {
    PF_WorldFlag_DEEP = 1L << 0,
    PF_WorldFlag_WRITEABLE = 1L << 1,
};

typedef void* PF_PixelPtr;

typedef struct PF_LayerDef {
    void* reserved0;
    void* reserved1;
    PF_WorldFlags world_flags;
    PF_PixelPtr data;  // first pixel of the top row
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_UnionableRect extent_hint;
    void* platform_ref;
    A_long reserved_long1;
    void* reserved_long4;
    PF_RationalScale pix_aspect_ratio;
    void* reserved_long2;
    A_long origin_x;
    A_long origin_y;
    A_long reserved_long3;
    A_long dephault;  // layer parameters: PF_LayerDefault_*
} PF_LayerDef;
typedef PF_LayerDef PF_EffectWorld;

enum {
    PF_LayerDefault_MYSELF = -1,
    PF_LayerDefault_NONE = 0,
};

typedef A_long PF_PixelFormat;
// The formats "PF World Suite" reports, as four characters in memory order.
enum : A_long {
    PF_PixelFormat_ARGB32 = 0x62677261,   // "argb"
    PF_PixelFormat_ARGB64 = 0x36316561,   // "ae16"
    PF_PixelFormat_ARGB128 = 0x32336561,  // "ae32"
    PF_PixelFormat_GPU_BGRA128 = 0x41444340,
    PF_PixelFormat_INVALID = 0x66646162,  // "badf"
};

// Premiere Pro's pixel format codes.
typedef A_u_long PrPixelFormat;
enum : A_u_long {
    PrPixelFormat_BGRA_4444_8u = 0x61726762,
    PrPixelFormat_VUYA_4444_32f = 0x61795556,
};

#endif
