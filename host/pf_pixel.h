// Pixel layouts of the host's 8-bit, 16-bit and 32-bit float worlds (alpha first).
#ifndef SPIROVAULT_HOST_PF_PIXEL_H
#define SPIROVAULT_HOST_PF_PIXEL_H

#include "host/ae_basic_types.h"

typedef struct {
    A_u_char alpha, red, green, blue;
} PF_Pixel;
typedef PF_Pixel PF_Pixel8;

typedef struct {
    A_u_short alpha, red, green, blue;
} PF_Pixel16;

typedef struct {
    PF_FpShort alpha, red, green, blue;
} PF_PixelFloat;
typedef PF_PixelFloat PF_Pixel32;

#define PF_MAX_CHAN8 255
#define PF_MAX_CHAN16 32768

static_assert(sizeof(PF_Pixel8) == 4 && sizeof(PF_Pixel16) == 8 && sizeof(PF_PixelFloat) == 16,
              "host pixel layouts");

#endif
