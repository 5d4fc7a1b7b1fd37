// The four Drawbot suites over the active services' DrawbotHost. Every call is logged and can
// be made to fail; references the host never handed out are refused.
#include <utility>

#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

using Kind = DrawbotObject::Kind;
constexpr A_Err kBadReference = PF_Err_BAD_CALLBACK_PARAM;

// The active Drawbot after logging the call, or null with the error to answer.
DrawbotHost* Enter(const char* call, A_Err* err) {
    HostServices* services = HostServices::Active();
    if (services == nullptr) {
        *err = kBadReference;
        return nullptr;
    }
    *err = services->drawbot().Enter(call);
    return *err == PF_Err_NONE ? &services->drawbot() : nullptr;
}

DrawbotCanvas* Canvas(DrawbotHost* drawbot, const void* reference, A_Err* err) {
    DrawbotCanvas* canvas = drawbot->FindCanvas(reference);
    if (canvas == nullptr) *err = kBadReference;
    return canvas;
}

DrawbotObject* Object(DrawbotHost* drawbot, DRAWBOT_ObjectRef reference, Kind kind, A_Err* err) {
    DrawbotObject* object = drawbot->FindObject(reference, kind);
    if (object == nullptr) *err = kBadReference;
    return object;
}

// Draw suite.

A_Err GetSupplier(DRAWBOT_DrawRef draw, DRAWBOT_SupplierRef* supplier) {
    A_Err err;
    DrawbotHost* db = Enter("GetSupplier", &err);
    if (db == nullptr) return err;
    if (supplier == nullptr || Canvas(db, draw, &err) == nullptr) return kBadReference;
    *supplier = reinterpret_cast<DRAWBOT_SupplierRef>(draw);
    return PF_Err_NONE;
}

A_Err GetSurface(DRAWBOT_DrawRef draw, DRAWBOT_SurfaceRef* surface) {
    A_Err err;
    DrawbotHost* db = Enter("GetSurface", &err);
    if (db == nullptr) return err;
    if (surface == nullptr || Canvas(db, draw, &err) == nullptr) return kBadReference;
    *surface = reinterpret_cast<DRAWBOT_SurfaceRef>(draw);
    return PF_Err_NONE;
}

// Supplier suite.

A_Err MakeObject(const char* call, DRAWBOT_SupplierRef supplier, DrawbotObject object,
                 DRAWBOT_ObjectRef* out) {
    A_Err err;
    DrawbotHost* db = Enter(call, &err);
    if (db == nullptr) return err;
    if (out == nullptr || Canvas(db, supplier, &err) == nullptr) return kBadReference;
    *out = db->NewObject(std::move(object));
    return PF_Err_NONE;
}

A_Err NewPen(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color, float size,
             DRAWBOT_PenRef* pen) {
    if (color == nullptr) return kBadReference;
    return MakeObject("NewPen", supplier, DrawbotObject{Kind::kPen, 1, *color, size, {}}, pen);
}

A_Err NewBrush(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color,
               DRAWBOT_BrushRef* brush) {
    if (color == nullptr) return kBadReference;
    return MakeObject("NewBrush", supplier, DrawbotObject{Kind::kBrush, 1, *color, 0, {}}, brush);
}

A_Err NewPath(DRAWBOT_SupplierRef supplier, DRAWBOT_PathRef* path) {
    return MakeObject("NewPath", supplier, DrawbotObject{Kind::kPath, 1, {}, 0, {}}, path);
}

A_Err NewDefaultFont(DRAWBOT_SupplierRef supplier, float size, DRAWBOT_FontRef* font) {
    return MakeObject("NewDefaultFont", supplier, DrawbotObject{Kind::kFont, 1, {}, size, {}},
                      font);
}

A_Err SupportsText(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* supports) {
    A_Err err;
    DrawbotHost* db = Enter("SupportsText", &err);
    if (db == nullptr) return err;
    if (supports == nullptr || Canvas(db, supplier, &err) == nullptr) return kBadReference;
    *supports = 1;
    return PF_Err_NONE;
}

A_Err GetDefaultFontSize(DRAWBOT_SupplierRef supplier, float* size) {
    A_Err err;
    DrawbotHost* db = Enter("GetDefaultFontSize", &err);
    if (db == nullptr) return err;
    if (size == nullptr || Canvas(db, supplier, &err) == nullptr) return kBadReference;
    *size = db->default_font_size;
    return PF_Err_NONE;
}

// Images are not modelled: the effect draws none.
A_Err NewImageFromBuffer(DRAWBOT_SupplierRef, int, int, int, DRAWBOT_PixelLayout, const void*,
                         DRAWBOT_ImageRef*) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

A_Err PixelLayoutAnswer(const char* call, DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* answer) {
    A_Err err;
    DrawbotHost* db = Enter(call, &err);
    if (db == nullptr) return err;
    if (answer == nullptr || Canvas(db, supplier, &err) == nullptr) return kBadReference;
    *answer = 0;
    return PF_Err_NONE;
}
A_Err SupportsPixelLayoutBGRA(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* answer) {
    return PixelLayoutAnswer("SupportsPixelLayoutBGRA", supplier, answer);
}
A_Err PrefersPixelLayoutBGRA(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* answer) {
    return PixelLayoutAnswer("PrefersPixelLayoutBGRA", supplier, answer);
}
A_Err SupportsPixelLayoutARGB(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* answer) {
    return PixelLayoutAnswer("SupportsPixelLayoutARGB", supplier, answer);
}
A_Err PrefersPixelLayoutARGB(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* answer) {
    return PixelLayoutAnswer("PrefersPixelLayoutARGB", supplier, answer);
}

A_Err RetainObject(DRAWBOT_ObjectRef object) {
    A_Err err;
    DrawbotHost* db = Enter("RetainObject", &err);
    return db == nullptr ? err : db->Retain(object);
}

A_Err ReleaseObject(DRAWBOT_ObjectRef object) {
    A_Err err;
    DrawbotHost* db = Enter("ReleaseObject", &err);
    return db == nullptr ? err : db->Release(object);
}

// Surface suite.

template <typename Action>
A_Err OnSurface(const char* call, DRAWBOT_SurfaceRef surface, Action action) {
    A_Err err;
    DrawbotHost* db = Enter(call, &err);
    if (db == nullptr) return err;
    DrawbotCanvas* canvas = Canvas(db, surface, &err);
    if (canvas == nullptr) return err;
    return action(*db, *canvas);
}

A_Err PushStateStack(DRAWBOT_SurfaceRef surface) {
    return OnSurface("PushStateStack", surface, [](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        canvas.PushState();
        return PF_Err_NONE;
    });
}

A_Err PopStateStack(DRAWBOT_SurfaceRef surface) {
    return OnSurface("PopStateStack", surface, [](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        canvas.PopState();
        return PF_Err_NONE;
    });
}

A_Err PaintRect(DRAWBOT_SurfaceRef surface, const DRAWBOT_ColorRGBA* color,
                const DRAWBOT_RectF32* rect) {
    return OnSurface("PaintRect", surface, [&](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        if (color == nullptr || rect == nullptr) return kBadReference;
        canvas.PaintRect(*color, *rect);
        return PF_Err_NONE;
    });
}

A_Err FillPath(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brush, DRAWBOT_PathRef path,
               DRAWBOT_FillType fill_type) {
    return OnSurface("FillPath", surface, [&](DrawbotHost& db, DrawbotCanvas& canvas) -> A_Err {
        A_Err err = PF_Err_NONE;
        const DrawbotObject* b = Object(&db, brush, Kind::kBrush, &err);
        const DrawbotObject* p = Object(&db, path, Kind::kPath, &err);
        if (err != PF_Err_NONE) return err;
        canvas.FillPath(p->path, b->color, fill_type);
        return PF_Err_NONE;
    });
}

A_Err StrokePath(DRAWBOT_SurfaceRef surface, DRAWBOT_PenRef pen, DRAWBOT_PathRef path) {
    return OnSurface("StrokePath", surface, [&](DrawbotHost& db, DrawbotCanvas& canvas) -> A_Err {
        A_Err err = PF_Err_NONE;
        const DrawbotObject* p = Object(&db, pen, Kind::kPen, &err);
        const DrawbotObject* shape = Object(&db, path, Kind::kPath, &err);
        if (err != PF_Err_NONE) return err;
        canvas.StrokePath(shape->path, p->color, p->size);
        return PF_Err_NONE;
    });
}

A_Err Clip(DRAWBOT_SurfaceRef surface, DRAWBOT_SupplierRef, const DRAWBOT_Rect32* rect) {
    return OnSurface("Clip", surface, [&](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        if (rect == nullptr) return kBadReference;
        canvas.Clip(*rect);
        return PF_Err_NONE;
    });
}

A_Err GetClipBounds(DRAWBOT_SurfaceRef surface, DRAWBOT_Rect32* rect) {
    return OnSurface("GetClipBounds", surface, [&](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        if (rect == nullptr) return kBadReference;
        *rect = canvas.ClipBounds();
        return PF_Err_NONE;
    });
}

A_Err IsWithinClipBounds(DRAWBOT_SurfaceRef surface, const DRAWBOT_Rect32* rect,
                         DRAWBOT_Boolean* within) {
    return OnSurface("IsWithinClipBounds", surface,
                     [&](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
                         if (rect == nullptr || within == nullptr) return kBadReference;
                         const DRAWBOT_Rect32 clip = canvas.ClipBounds();
                         *within = rect->left >= clip.left && rect->top >= clip.top &&
                                   rect->left + rect->width <= clip.left + clip.width &&
                                   rect->top + rect->height <= clip.top + clip.height;
                         return PF_Err_NONE;
                     });
}

A_Err Transform(DRAWBOT_SurfaceRef surface, const DRAWBOT_MatrixF32* matrix) {
    return OnSurface("Transform", surface, [&](DrawbotHost&, DrawbotCanvas& canvas) -> A_Err {
        if (matrix == nullptr) return kBadReference;
        canvas.Transform(*matrix);
        return PF_Err_NONE;
    });
}

A_Err DrawString(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brush, DRAWBOT_FontRef font,
                 const DRAWBOT_UTF16Char* text, const DRAWBOT_PointF32* origin,
                 DRAWBOT_TextAlignment alignment, DRAWBOT_TextTruncation truncation,
                 float truncation_width) {
    return OnSurface("DrawString", surface, [&](DrawbotHost& db, DrawbotCanvas& canvas) -> A_Err {
        A_Err err = PF_Err_NONE;
        const DrawbotObject* b = Object(&db, brush, Kind::kBrush, &err);
        const DrawbotObject* f = Object(&db, font, Kind::kFont, &err);
        if (err != PF_Err_NONE) return err;
        if (text == nullptr || origin == nullptr) return kBadReference;
        canvas.DrawString(text, f->size, *origin, b->color, alignment, truncation,
                          truncation_width);
        return PF_Err_NONE;
    });
}

A_Err DrawImage(DRAWBOT_SurfaceRef, DRAWBOT_ImageRef, const DRAWBOT_PointF32*, float) {
    return PF_Err_UNRECOGNIZED_PARAM_TYPE;
}

// Drawing is always antialiased and images are not modelled: the policies are kept, not used.
A_Err SetInterpolationPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_InterpolationPolicy) {
    return OnSurface("SetInterpolationPolicy", surface,
                     [](DrawbotHost&, DrawbotCanvas&) -> A_Err { return PF_Err_NONE; });
}
A_Err GetInterpolationPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_InterpolationPolicy* policy) {
    return OnSurface("GetInterpolationPolicy", surface, [&](DrawbotHost&, DrawbotCanvas&) -> A_Err {
        if (policy == nullptr) return kBadReference;
        *policy = 0;
        return PF_Err_NONE;
    });
}
A_Err SetAntiAliasPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_AntiAliasPolicy) {
    return OnSurface("SetAntiAliasPolicy", surface,
                     [](DrawbotHost&, DrawbotCanvas&) -> A_Err { return PF_Err_NONE; });
}
A_Err GetAntiAliasPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_AntiAliasPolicy* policy) {
    return OnSurface("GetAntiAliasPolicy", surface, [&](DrawbotHost&, DrawbotCanvas&) -> A_Err {
        if (policy == nullptr) return kBadReference;
        *policy = 0;
        return PF_Err_NONE;
    });
}

A_Err Flush(DRAWBOT_SurfaceRef surface) {
    return OnSurface("Flush", surface,
                     [](DrawbotHost&, DrawbotCanvas&) -> A_Err { return PF_Err_NONE; });
}

A_Err GetTransformToScreenScale(DRAWBOT_SurfaceRef surface, float* scale) {
    return OnSurface("GetTransformToScreenScale", surface,
                     [&](DrawbotHost&, DrawbotCanvas&) -> A_Err {
                         if (scale == nullptr) return kBadReference;
                         *scale = 1.0f;
                         return PF_Err_NONE;
                     });
}

// Path suite.

A_Err AddSegment(const char* call, DRAWBOT_PathRef path, PathSegment segment) {
    A_Err err;
    DrawbotHost* db = Enter(call, &err);
    if (db == nullptr) return err;
    DrawbotObject* p = Object(db, path, Kind::kPath, &err);
    if (p == nullptr) return err;
    p->path.push_back(segment);
    return PF_Err_NONE;
}

A_Err MoveTo(DRAWBOT_PathRef path, float x, float y) {
    return AddSegment("MoveTo", path, PathSegment{PathSegment::Kind::kMoveTo, {x, y}});
}

A_Err LineTo(DRAWBOT_PathRef path, float x, float y) {
    return AddSegment("LineTo", path, PathSegment{PathSegment::Kind::kLineTo, {x, y}});
}

A_Err BezierTo(DRAWBOT_PathRef path, const DRAWBOT_PointF32* p1, const DRAWBOT_PointF32* p2,
               const DRAWBOT_PointF32* p3) {
    if (p1 == nullptr || p2 == nullptr || p3 == nullptr) return kBadReference;
    return AddSegment(
        "BezierTo", path,
        PathSegment{PathSegment::Kind::kBezierTo, {p1->x, p1->y, p2->x, p2->y, p3->x, p3->y}});
}

A_Err AddRect(DRAWBOT_PathRef path, const DRAWBOT_RectF32* rect) {
    if (rect == nullptr) return kBadReference;
    return AddSegment(
        "AddRect", path,
        PathSegment{PathSegment::Kind::kRect, {rect->left, rect->top, rect->width, rect->height}});
}

A_Err AddArc(DRAWBOT_PathRef path, const DRAWBOT_PointF32* centre, float radius, float start,
             float sweep) {
    if (centre == nullptr) return kBadReference;
    return AddSegment(
        "AddArc", path,
        PathSegment{PathSegment::Kind::kArc, {centre->x, centre->y, radius, start, sweep}});
}

A_Err Close(DRAWBOT_PathRef path) {
    return AddSegment("Close", path, PathSegment{PathSegment::Kind::kClose, {}});
}

const DRAWBOT_DrawbotSuite1 kDrawSuite = {GetSupplier, GetSurface};

const DRAWBOT_SupplierSuite1 kSupplierSuite = {
    NewPen,
    NewBrush,
    SupportsText,
    GetDefaultFontSize,
    NewDefaultFont,
    NewImageFromBuffer,
    NewPath,
    SupportsPixelLayoutBGRA,
    PrefersPixelLayoutBGRA,
    SupportsPixelLayoutARGB,
    PrefersPixelLayoutARGB,
    RetainObject,
    ReleaseObject,
};

const DRAWBOT_SurfaceSuite2 kSurfaceSuite = {
    PushStateStack,
    PopStateStack,
    PaintRect,
    FillPath,
    StrokePath,
    Clip,
    GetClipBounds,
    IsWithinClipBounds,
    Transform,
    DrawString,
    DrawImage,
    SetInterpolationPolicy,
    GetInterpolationPolicy,
    SetAntiAliasPolicy,
    GetAntiAliasPolicy,
    Flush,
    GetTransformToScreenScale,
};

const DRAWBOT_PathSuite1 kPathSuite = {MoveTo, LineTo, BezierTo, AddRect, AddArc, Close};

}  // namespace

const DRAWBOT_DrawbotSuite1* StandaloneDrawSuite() {
    return &kDrawSuite;
}
const DRAWBOT_SupplierSuite1* StandaloneSupplierSuite() {
    return &kSupplierSuite;
}
const DRAWBOT_SurfaceSuite2* StandaloneSurfaceSuite() {
    return &kSurfaceSuite;
}
const DRAWBOT_PathSuite1* StandalonePathSuite() {
    return &kPathSuite;
}

}  // namespace hostsim
