// "PF AE App Suite" (panel colours, colour picker, redraw requests) and "PF Effect Custom UI
// Suite" (the drawing reference of a custom UI context).
#ifndef SPIROVAULT_HOST_PF_APP_SUITES_H
#define SPIROVAULT_HOST_PF_APP_SUITES_H

#include "host/drawbot_types.h"
#include "host/pf_custom_ui.h"
#include "host/pf_pixel.h"

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion6 6
#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1

typedef struct {
    A_u_short red, green, blue;
} PF_App_Color;

typedef A_long PF_App_ColorType;

typedef struct PFAppSuite6 {
    PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    PF_Err (*PF_AppGetLanguage)(A_char* lang_tagZ);
    void* PF_GetPersonalInfo;
    void* PF_GetFontStyleSheet;
    PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    PF_Err (*PF_AppIsRenderEngine)(PF_Boolean* render_enginePB);
    PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_title, const PF_PixelFloat* sample,
                                      PF_Boolean use_ws_to_monitor_xform,
                                      PF_PixelFloat* result_color);
    PF_Err (*PF_GetMouse)(PF_Point* pointP);
    PF_Err (*PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
    PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
} PFAppSuite6;

typedef struct PF_EffectCustomUISuite1 {
    PF_Err (*PF_GetDrawingReference)(const PF_ContextH effect_contextH,
                                     DRAWBOT_DrawRef* referenceP0);
} PF_EffectCustomUISuite1;

#endif
