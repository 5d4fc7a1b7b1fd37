// Points, rectangles, ratios, times and matrices as the host passes them.
#ifndef SPIROVAULT_HOST_PF_GEOMETRY_H
#define SPIROVAULT_HOST_PF_GEOMETRY_H

#include "host/ae_basic_types.h"

typedef struct {
    A_long h, v;
} PF_Point;

typedef struct {
    A_long left, top, right, bottom;
} PF_LRect;
typedef PF_LRect PF_Rect;
typedef PF_Rect PF_UnionableRect;

typedef struct {
    A_long num;
    A_u_long den;
} PF_RationalScale;

typedef struct {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct {
    A_FpLong mat[4][4];
} A_Matrix4;

typedef struct {
    A_FpLong x, y;
} A_FloatPoint;

typedef struct {
    A_long num;
    A_u_long den;
} A_Ratio;

#endif
