// The four Drawbot suites the ramp editor draws with.
#ifndef SPIROVAULT_HOST_DRAWBOT_SUITES_H
#define SPIROVAULT_HOST_DRAWBOT_SUITES_H

#include "host/ae_basic_types.h"
#include "host/drawbot_types.h"

#define kDRAWBOT_DrawSuite "DRAWBOT Draw Suite"
#define kDRAWBOT_DrawSuite_Version1 1
#define kDRAWBOT_SupplierSuite "DRAWBOT Supplier Suite"
#define kDRAWBOT_SupplierSuite_Version1 1
#define kDRAWBOT_SurfaceSuite "DRAWBOT Surface Suite"
#define kDRAWBOT_SurfaceSuite_Version2 2
#define kDRAWBOT_PathSuite "DRAWBOT Path Suite"
#define kDRAWBOT_PathSuite_Version1 1

typedef struct DRAWBOT_DrawbotSuite1 {
    A_Err (*GetSupplier)(DRAWBOT_DrawRef in_drawbot_ref, DRAWBOT_SupplierRef* out_supplierP);
    A_Err (*GetSurface)(DRAWBOT_DrawRef in_drawbot_ref, DRAWBOT_SurfaceRef* out_surfaceP);
} DRAWBOT_DrawbotSuite1;

typedef struct DRAWBOT_SupplierSuite1 {
    A_Err (*NewPen)(DRAWBOT_SupplierRef in_supplier_ref, const DRAWBOT_ColorRGBA* in_colorP,
                    float in_size, DRAWBOT_PenRef* out_penP);
    A_Err (*NewBrush)(DRAWBOT_SupplierRef in_supplier_ref, const DRAWBOT_ColorRGBA* in_colorP,
                      DRAWBOT_BrushRef* out_brushP);
    A_Err (*SupportsText)(DRAWBOT_SupplierRef in_supplier_ref, DRAWBOT_Boolean* out_supports);
    A_Err (*GetDefaultFontSize)(DRAWBOT_SupplierRef in_supplier_ref, float* out_font_sizeF);
    A_Err (*NewDefaultFont)(DRAWBOT_SupplierRef in_supplier_ref, float in_font_sizeF,
                            DRAWBOT_FontRef* out_fontP);
    A_Err (*NewImageFromBuffer)(DRAWBOT_SupplierRef in_supplier_ref, int in_width, int in_height,
                                int in_row_bytes, DRAWBOT_PixelLayout in_pl, const void* in_dataP,
                                DRAWBOT_ImageRef* out_imageP);
    A_Err (*NewPath)(DRAWBOT_SupplierRef in_supplier_ref, DRAWBOT_PathRef* out_pathP);
    A_Err (*SupportsPixelLayoutBGRA)(DRAWBOT_SupplierRef in_supplier_ref,
                                     DRAWBOT_Boolean* out_supports_bgraPB);
    A_Err (*PrefersPixelLayoutBGRA)(DRAWBOT_SupplierRef in_supplier_ref,
                                    DRAWBOT_Boolean* out_prefers_bgraPB);
    A_Err (*SupportsPixelLayoutARGB)(DRAWBOT_SupplierRef in_supplier_ref,
                                     DRAWBOT_Boolean* out_supports_argbPB);
    A_Err (*PrefersPixelLayoutARGB)(DRAWBOT_SupplierRef in_supplier_ref,
                                    DRAWBOT_Boolean* out_prefers_argbPB);
    A_Err (*RetainObject)(DRAWBOT_ObjectRef in_obj_ref);
    A_Err (*ReleaseObject)(DRAWBOT_ObjectRef in_obj_ref);
} DRAWBOT_SupplierSuite1;

typedef struct DRAWBOT_SurfaceSuite2 {
    A_Err (*PushStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
    A_Err (*PopStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
    A_Err (*PaintRect)(DRAWBOT_SurfaceRef in_surface_ref, const DRAWBOT_ColorRGBA* in_colorP,
                       const DRAWBOT_RectF32* in_rectPR);
    A_Err (*FillPath)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_BrushRef in_brush_ref,
                      DRAWBOT_PathRef in_path_ref, DRAWBOT_FillType in_fill_type);
    A_Err (*StrokePath)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_PenRef in_pen_ref,
                        DRAWBOT_PathRef in_path_ref);
    A_Err (*Clip)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_SupplierRef in_supplier_ref,
                  const DRAWBOT_Rect32* in_clip_rectPR);
    A_Err (*GetClipBounds)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_Rect32* out_clip_rectPR);
    A_Err (*IsWithinClipBounds)(DRAWBOT_SurfaceRef in_surface_ref, const DRAWBOT_Rect32* in_rectPR,
                                DRAWBOT_Boolean* out_withinPB);
    A_Err (*Transform)(DRAWBOT_SurfaceRef in_surface_ref, const DRAWBOT_MatrixF32* in_matrixP);
    A_Err (*DrawString)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_BrushRef in_brush_ref,
                        DRAWBOT_FontRef in_font_ref, const DRAWBOT_UTF16Char* in_stringP,
                        const DRAWBOT_PointF32* in_originP, DRAWBOT_TextAlignment in_alignment,
                        DRAWBOT_TextTruncation in_truncation, float in_truncation_width);
    A_Err (*DrawImage)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_ImageRef in_image_ref,
                       const DRAWBOT_PointF32* in_originP, float in_alpha);
    A_Err (*SetInterpolationPolicy)(DRAWBOT_SurfaceRef in_surface_ref,
                                    DRAWBOT_InterpolationPolicy in_interp);
    A_Err (*GetInterpolationPolicy)(DRAWBOT_SurfaceRef in_surface_ref,
                                    DRAWBOT_InterpolationPolicy* out_interpP);
    A_Err (*SetAntiAliasPolicy)(DRAWBOT_SurfaceRef in_surface_ref,
                                DRAWBOT_AntiAliasPolicy in_policy);
    A_Err (*GetAntiAliasPolicy)(DRAWBOT_SurfaceRef in_surface_ref,
                                DRAWBOT_AntiAliasPolicy* out_policyP);
    A_Err (*Flush)(DRAWBOT_SurfaceRef in_surface_ref);
    A_Err (*GetTransformToScreenScale)(DRAWBOT_SurfaceRef in_surface_ref, float* out_scale);
} DRAWBOT_SurfaceSuite2;

typedef struct DRAWBOT_PathSuite1 {
    A_Err (*MoveTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
    A_Err (*LineTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
    A_Err (*BezierTo)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_PointF32* in_pt1P,
                      const DRAWBOT_PointF32* in_pt2P, const DRAWBOT_PointF32* in_pt3P);
    A_Err (*AddRect)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_RectF32* in_rectPR);
    A_Err (*AddArc)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_PointF32* in_centerP,
                    float in_radius, float in_start_angle, float in_sweep);
    A_Err (*Close)(DRAWBOT_PathRef in_path_ref);
} DRAWBOT_PathSuite1;

// The four suites, acquired together.
typedef struct {
    const DRAWBOT_DrawbotSuite1* drawbot_suiteP;
    const DRAWBOT_SupplierSuite1* supplier_suiteP;
    const DRAWBOT_SurfaceSuite2* surface_suiteP;
    const DRAWBOT_PathSuite1* path_suiteP;
    const void* pen_suiteP;    // not acquired: the editor draws with the supplier's pens
    const void* image_suiteP;  // not acquired
} DRAWBOT_Suites;

#endif
