// Drawbot's object references, colours, geometry and enumerations.
#ifndef SPIROVAULT_HOST_DRAWBOT_TYPES_H
#define SPIROVAULT_HOST_DRAWBOT_TYPES_H

#include <cstdint>

typedef struct _DRAWBOT_DrawRef* DRAWBOT_DrawRef;
typedef struct _DRAWBOT_SupplierRef* DRAWBOT_SupplierRef;
typedef struct _DRAWBOT_SurfaceRef* DRAWBOT_SurfaceRef;
typedef struct _DRAWBOT_ObjectRef* DRAWBOT_ObjectRef;
typedef DRAWBOT_ObjectRef DRAWBOT_PenRef;
typedef DRAWBOT_ObjectRef DRAWBOT_BrushRef;
typedef DRAWBOT_ObjectRef DRAWBOT_PathRef;
typedef DRAWBOT_ObjectRef DRAWBOT_FontRef;
typedef DRAWBOT_ObjectRef DRAWBOT_ImageRef;

typedef uint16_t DRAWBOT_UTF16Char;
typedef uint8_t DRAWBOT_Boolean;

typedef struct {
    float red, green, blue, alpha;
} DRAWBOT_ColorRGBA;

typedef struct {
    float x, y;
} DRAWBOT_PointF32;

typedef struct {
    float left, top, width, height;
} DRAWBOT_RectF32;

typedef struct {
    int32_t left, top, width, height;
} DRAWBOT_Rect32;

typedef struct {
    float mat[3][3];
} DRAWBOT_MatrixF32;

typedef int32_t DRAWBOT_FillType;
enum { kDRAWBOT_FillType_EvenOdd = 0, kDRAWBOT_FillType_Winding = 1 };

typedef int32_t DRAWBOT_TextAlignment;
enum {
    kDRAWBOT_TextAlignment_Left = 0,
    kDRAWBOT_TextAlignment_Center = 1,
    kDRAWBOT_TextAlignment_Right = 2,
};

typedef int32_t DRAWBOT_TextTruncation;
enum { kDRAWBOT_TextTruncation_None = 0, kDRAWBOT_TextTruncation_End = 1 };

typedef int32_t DRAWBOT_PixelLayout;
typedef int32_t DRAWBOT_InterpolationPolicy;
typedef int32_t DRAWBOT_AntiAliasPolicy;

#endif
