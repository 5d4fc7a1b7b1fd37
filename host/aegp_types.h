// Types of the general-plug-in layer: opaque layer, comp, item and stream references, stream
// values and the enumerations the camera and light readers use.
#ifndef SPIROVAULT_HOST_AEGP_TYPES_H
#define SPIROVAULT_HOST_AEGP_TYPES_H

#include "host/pf_geometry.h"

typedef A_long AEGP_PluginID;
typedef struct _AEGP_Layer* AEGP_LayerH;
typedef struct _AEGP_Comp* AEGP_CompH;
typedef struct _AEGP_Item* AEGP_ItemH;
typedef struct _AEGP_StreamRef* AEGP_StreamRefH;
typedef struct _AEGP_EffectRef* AEGP_EffectRefH;
typedef struct _AEGP_GlobalRefcon* AEGP_GlobalRefcon;

typedef A_long AEGP_LayerFlags;
enum { AEGP_LayerFlag_NONE = 0, AEGP_LayerFlag_VIDEO_ACTIVE = 1L << 0 };

typedef A_long AEGP_ObjectType;
enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
    AEGP_ObjectType_VECTOR = 4,
};

typedef A_u_long AEGP_LightType;
enum {
    AEGP_LightType_NONE = -1,
    AEGP_LightType_PARALLEL = 0,
    AEGP_LightType_SPOT = 1,
    AEGP_LightType_POINT = 2,
    AEGP_LightType_AMBIENT = 3,
};

typedef A_short AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_long AEGP_LayerStream;
enum {
    AEGP_LayerStream_ZOOM = 11,
    AEGP_LayerStream_DEPTH_OF_FIELD = 12,
    AEGP_LayerStream_FOCUS_DISTANCE = 13,
    AEGP_LayerStream_APERTURE = 14,
    AEGP_LayerStream_BLUR_LEVEL = 15,
    AEGP_LayerStream_INTENSITY = 16,
    AEGP_LayerStream_COLOR = 17,
    AEGP_LayerStream_SHADOW_DARKNESS = 20,
    AEGP_LayerStream_SHADOW_DIFFUSION = 21,
    AEGP_LayerStream_CASTS_SHADOWS = 28,
    AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN = 37,
    AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD = 38,
    AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION = 39,
};

typedef A_FpLong AEGP_OneDVal;
typedef struct {
    A_FpLong x, y;
} AEGP_TwoDVal;
typedef struct {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;
typedef struct {
    A_FpLong alphaF, redF, greenF, blueF;
} AEGP_ColorVal;
typedef A_FpLong AEGP_FourDVal[4];

typedef union {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    void* arbH;
    void* markerP;
    A_long layer_id;
    A_long mask_id;
    void* mask;
    void* text_documentH;
} AEGP_StreamVal2;

typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

#endif
