// The standalone host's Drawbot: what its suites draw into the Cairo image, and its accounting
// of objects and injected failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace {

using namespace hostsim;

constexpr DRAWBOT_ColorRGBA kRed{1, 0, 0, 1};

class Drawbot : public ::testing::Test {
  protected:
    Drawbot()
        : active_(&services_), canvas_(services_.drawbot().NewCanvas(PF_Rect{0, 0, 100, 40})) {}

    DRAWBOT_SupplierRef supplier() { return reinterpret_cast<DRAWBOT_SupplierRef>(canvas_); }
    DRAWBOT_SurfaceRef surface() { return reinterpret_cast<DRAWBOT_SurfaceRef>(canvas_); }
    const DRAWBOT_SupplierSuite1& supply() { return *StandaloneSupplierSuite(); }
    const DRAWBOT_SurfaceSuite2& draw() { return *StandaloneSurfaceSuite(); }
    const DRAWBOT_PathSuite1& paths() { return *StandalonePathSuite(); }

    DRAWBOT_ObjectRef Brush(const DRAWBOT_ColorRGBA& color) {
        DRAWBOT_BrushRef brush = nullptr;
        EXPECT_EQ(supply().NewBrush(supplier(), &color, &brush), PF_Err_NONE);
        return brush;
    }

    // Leftmost and rightmost columns holding any ink.
    std::pair<int, int> InkColumns() {
        const RgbaImage image = canvas_->Image();
        int first = image.width, last = -1;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (image.At(x, y)[3] > 64) first = std::min(first, x), last = std::max(last, x);
            }
        }
        return {first, last};
    }

    HostServices services_;
    ActiveServicesScope active_;
    DrawbotCanvas* canvas_;
};

TEST_F(Drawbot, ClosedPathsFillAndPensFrame) {
    DRAWBOT_PathRef path = nullptr;
    ASSERT_EQ(supply().NewPath(supplier(), &path), PF_Err_NONE);
    paths().MoveTo(path, 10, 10);
    paths().LineTo(path, 30, 10);
    paths().LineTo(path, 10, 30);
    paths().Close(path);
    DRAWBOT_BrushRef brush = Brush(kRed);
    EXPECT_EQ(draw().FillPath(surface(), brush, path, kDRAWBOT_FillType_Winding), PF_Err_NONE);

    DRAWBOT_PathRef box = nullptr;
    supply().NewPath(supplier(), &box);
    const DRAWBOT_RectF32 rect{50.5f, 10.5f, 20, 20};
    paths().AddRect(box, &rect);
    DRAWBOT_PenRef pen = nullptr;
    const DRAWBOT_ColorRGBA blue{0, 0, 1, 1};
    supply().NewPen(supplier(), &blue, 1.0f, &pen);
    EXPECT_EQ(draw().StrokePath(surface(), pen, box), PF_Err_NONE);

    const RgbaImage image = canvas_->Image();
    EXPECT_EQ(image.At(14, 14)[0], 255);  // inside the triangle
    EXPECT_EQ(image.At(25, 25)[3], 0);    // beyond its hypotenuse
    EXPECT_EQ(image.At(50, 20)[2], 255);  // the frame's left edge, one pixel wide
    EXPECT_EQ(image.At(51, 20)[3], 0);
    EXPECT_EQ(image.At(60, 30)[2], 255);
    for (DRAWBOT_ObjectRef object : {path, box, brush, pen}) {
        EXPECT_EQ(supply().ReleaseObject(object), PF_Err_NONE);
    }
    EXPECT_EQ(services_.drawbot().LiveObjects(), 0u);
}

TEST_F(Drawbot, StringsAlignOnTheirOrigin) {
    const DRAWBOT_UTF16Char text[] = {'R', 'e', 's', 'e', 't', 0};
    DRAWBOT_FontRef font = nullptr;
    ASSERT_EQ(supply().NewDefaultFont(supplier(), 12, &font), PF_Err_NONE);
    DRAWBOT_BrushRef brush = Brush(kRed);
    const DRAWBOT_PointF32 origin{50, 25};
    std::pair<int, int> ink[3];
    for (DRAWBOT_TextAlignment alignment : {0, 1, 2}) {
        canvas_ = services_.drawbot().NewCanvas(PF_Rect{0, 0, 100, 40});
        EXPECT_EQ(draw().DrawString(surface(), brush, font, text, &origin, alignment,
                                    kDRAWBOT_TextTruncation_None, 0),
                  PF_Err_NONE);
        ink[alignment] = InkColumns();
    }
    EXPECT_GE(ink[0].first, 49);
    EXPECT_GT(ink[0].second, 70);
    EXPECT_LE(ink[2].second, 51);
    EXPECT_LT(ink[2].first, 30);
    EXPECT_NEAR((ink[1].first + ink[1].second) / 2.0, 50.0, 2.0);
    supply().ReleaseObject(font);
    supply().ReleaseObject(brush);
}

TEST_F(Drawbot, ObjectsLiveUntilTheirLastReleaseAndFailuresAreInjected) {
    DrawbotHost& drawbot = services_.drawbot();
    DRAWBOT_BrushRef brush = Brush(kRed);
    EXPECT_EQ(supply().RetainObject(brush), PF_Err_NONE);
    EXPECT_EQ(supply().ReleaseObject(brush), PF_Err_NONE);
    EXPECT_EQ(drawbot.LiveObjects(), 1u);
    EXPECT_EQ(supply().ReleaseObject(brush), PF_Err_NONE);
    EXPECT_EQ(drawbot.LiveObjects(), 0u);
    EXPECT_NE(supply().ReleaseObject(brush), PF_Err_NONE);
    EXPECT_EQ(drawbot.misuses(), 1);

    drawbot.FailCall("NewBrush", 2, 42);
    DRAWBOT_BrushRef first = Brush(kRed);
    DRAWBOT_BrushRef second = nullptr;
    EXPECT_EQ(supply().NewBrush(supplier(), &kRed, &second), 42);
    EXPECT_EQ(second, nullptr);
    supply().ReleaseObject(first);
    EXPECT_EQ(drawbot.calls().back(), "ReleaseObject");
    DRAWBOT_RectF32 rect{0, 0, 1, 1};
    EXPECT_NE(draw().PaintRect(reinterpret_cast<DRAWBOT_SurfaceRef>(&rect), &kRed, &rect),
              PF_Err_NONE);  // not a surface the host made
}

}  // namespace
