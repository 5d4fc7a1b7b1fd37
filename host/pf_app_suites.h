// "PF AE App Suite" (panel colours, colour picker, redraw requests) and "PF Effect Custom UI
// Suite" (the drawing reference of a custom UI context).
#ifndef SPIROVAULT_HOST_PF_APP_SUITES_H
#define SPIROVAULT_HOST_PF_APP_SUITES_H

#include "host/drawbot_types.h"
#include "host/pf_custom_ui.h"
#include "host/pf_pixel.h"

#define kPFAppSuite "PF AE App Suite"
#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1

// The version this plug-in requests; the host answers it with the PFAppSuite4 table.
inline constexpr int32_t kAppSuiteRequestVersion = 6;

typedef struct {
    A_u_short red, green, blue;
} PF_App_Color;

typedef A_short PF_App_ColorType;

typedef struct PFAppSuite4 {
    PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    PF_Err (*PF_GetPersonalInfo)(void* ptiP);
    PF_Err (*PF_GetFontStyleSheet)(A_long style_sheet, void* font_nameP0, A_short* font_numPS0,
                                   A_short* sizePS0, A_short* stylePS0);
    PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_enginePB);
    PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_title, const PF_PixelFloat* sample,
                                      PF_Boolean use_ws_to_monitor_xform,
                                      PF_PixelFloat* result_color);
    PF_Err (*PF_GetMouse)(PF_Point* pointP);
    PF_Err (*PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
    PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
    PF_Err (*PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short reserved1,
                                       A_short reserved2, PF_PixelFloat* colorP);
} PFAppSuite4;

typedef struct PF_EffectCustomUISuite1 {
    PF_Err (*PF_GetDrawingReference)(const PF_ContextH effect_contextH,
                                     DRAWBOT_DrawRef* referenceP0);
} PF_EffectCustomUISuite1;

#endif
