// Frames as the host asks for them: any part of the layer is the same pixels as that part of the
// whole frame; reduced resolutions, unequal downsampling and non-square pixels keep the picture's
// proportions; the result covers the layer whatever its content; Premiere Pro's fields interleave
// into the whole frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "kernel/cpu/cpu_lanes.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 30, kH = 18;

size_t PixelSize(WorldDepth depth) {
    switch (depth) {
        case WorldDepth::k8:
            return 4;
        case WorldDepth::k16:
            return 8;
        default:
            return 16;
    }
}

// The bytes of `rect` (layer pixels) cut out of a whole frame's packed rows.
std::vector<uint8_t> Cut(const std::vector<uint8_t>& whole, int width, WorldDepth depth,
                         const PF_LRect& rect) {
    const size_t size = PixelSize(depth);
    std::vector<uint8_t> part;
    for (int y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* row = whole.data() + (static_cast<size_t>(y) * width + rect.left) * size;
        part.insert(part.end(), row, row + (rect.right - rect.left) * size);
    }
    return part;
}

// A layer with a hole: opaque colour ramps in the middle, transparent around, half alpha below.
HostImage Plate() {
    HostImage image;
    image.width = kW;
    image.height = kH;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool inside = x > 4 && x < 20 && y > 3 && y < 12;
            const float alpha = inside ? 1.0f : (y >= 12 ? 0.5f : 0.0f);
            image.argb.insert(image.argb.end(), {alpha, x / float(kW), 0.4f, y / float(kH)});
        }
    }
    return image;
}

HostImage Sky() {
    HostImage sky;
    sky.width = 16;
    sky.height = 8;
    for (int y = 0; y < sky.height; ++y) {
        for (int x = 0; x < sky.width; ++x)
            sky.argb.insert(sky.argb.end(), {1.0f, 2.0f * (y < 3), 0.3f + x / 16.0f, 0.8f});
    }
    return sky;
}

class FrameParts : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        comp().width = kW;
        comp().height = kH;
    }
    void TearDown() override {
        unsetenv("SPIROVAULT_CPU_LANES");
        FrameTest::TearDown();
    }

    Composition& comp() { return host().services().composition(); }

    FrameResult Render(const FrameRequest& request) {
        FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, PF_Err_NONE) << result.return_msg;
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        return result;
    }

    // Whole frame, then parts of it: every part's bytes are the whole frame's bytes there.
    void ExpectPartsMatchWhole(FrameRequest request, const std::string& what) {
        request.region.reset();
        const FrameResult whole = Render(request);
        ASSERT_EQ(whole.output.width, kW);
        std::vector<PF_LRect> rects = {{0, 0, kW, kH},          {7, 5, 8, 6},        {0, 0, kW, 1},
                                       {0, kH - 1, kW, kH},     {kW - 1, 0, kW, kH}, {3, 2, 27, 17},
                                       {kW - 5, kH - 4, kW, kH}};
        std::mt19937 random(17);
        for (int i = 0; i < 3; ++i) {
            const int left = static_cast<int>(random() % kW), top = static_cast<int>(random() % kH);
            rects.push_back(PF_LRect{left, top, left + 1 + static_cast<int>(random() % (kW - left)),
                                     top + 1 + static_cast<int>(random() % (kH - top))});
        }
        for (const PF_LRect& rect : rects) {
            request.region = rect;
            const FrameResult part = Render(request);
            ASSERT_EQ(part.output.width, rect.right - rect.left);
            ASSERT_EQ(part.output.height, rect.bottom - rect.top);
            EXPECT_TRUE(part.raw == Cut(whole.raw, kW, request.depth, rect))
                << what << ": part " << rect.left << "," << rect.top << " to " << rect.right << ","
                << rect.bottom;
        }
    }

    // The widths this processor runs, as the environment names them.
    static std::vector<std::string> Widths() {
        std::vector<std::string> widths;
        for (int lanes : {1, 4, 8, 16}) {
            if (lanes <= LanesOf(WidestCpuRowPath())) widths.push_back(std::to_string(lanes));
        }
        return widths;
    }

    // Mean absolute difference over every channel of two frames of the same size.
    static double MeanDifference(const HostImage& a, const HostImage& b) {
        double sum = 0;
        for (size_t i = 0; i < a.argb.size(); ++i) sum += std::fabs(a.argb[i] - b.argb[i]);
        return sum / static_cast<double>(a.argb.size());
    }

    struct Centroid {
        double x = 0, y = 0;
    };
    // Where the fractal sits: the alpha-weighted mean of pixel centres, in pixels.
    static Centroid CoverageCentroid(const HostImage& image) {
        Centroid c;
        double total = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const double a = image.argb[(y * image.width + x) * 4];
                c.x += a * (x + 0.5);
                c.y += a * (y + 0.5);
                total += a;
            }
        }
        EXPECT_GT(total, 1.0);
        c.x /= total;
        c.y /= total;
        return c;
    }

    // A frame of `blocks_x` x `blocks_y` times fewer pixels, each the mean of its block.
    static HostImage BoxDown(const HostImage& image, int blocks_x, int blocks_y) {
        HostImage out;
        out.width = image.width / blocks_x;
        out.height = image.height / blocks_y;
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x) {
                for (int c = 0; c < 4; ++c) {
                    double sum = 0;
                    for (int j = 0; j < blocks_y; ++j) {
                        for (int i = 0; i < blocks_x; ++i) {
                            sum +=
                                image.argb[((y * blocks_y + j) * image.width + x * blocks_x + i) *
                                               4 +
                                           c];
                        }
                    }
                    out.argb.push_back(static_cast<float>(sum / (blocks_x * blocks_y)));
                }
            }
        }
        return out;
    }
};

TEST_F(FrameParts, AnyPartIsThatPartOfTheWholeFrame) {
    const HostImage plate = Plate();
    const HostImage sky = Sky();
    struct Scene {
        const char* name;
        std::function<void(Composition&, ParamStore&, FrameRequest&)> set;
    };
    const std::vector<Scene> scenes = {
        {"default view", [](Composition&, ParamStore&, FrameRequest&) {}},
        {"depth of field",
         [](Composition& comp, ParamStore& params, FrameRequest&) {
             CompLayer camera;
             camera.kind = LayerKind::kCamera;
             const double zoom = kW * 50.0 / 36.0;
             camera.position.Set(Vec3d{kW / 2.0, kH / 2.0, -zoom});
             camera.streams[AEGP_LayerStream_ZOOM].Set(zoom);
             camera.streams[AEGP_LayerStream_DEPTH_OF_FIELD].Set(1);
             camera.streams[AEGP_LayerStream_APERTURE].Set(40);
             camera.streams[AEGP_LayerStream_FOCUS_DISTANCE].Set(zoom * 0.8);
             camera.streams[AEGP_LayerStream_BLUR_LEVEL].Set(100);
             comp.layers.push_back(camera);
             params.SetValue(kParamDofSamples, 3);
         }},
        {"composition light with shadows",
         [](Composition& comp, ParamStore& params, FrameRequest&) {
             CompLayer light;
             light.kind = LayerKind::kLight;
             light.light_type = AEGP_LightType_POINT;
             light.position.Set(Vec3d{0, 0, -30});
             light.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(1);
             light.streams[AEGP_LayerStream_SHADOW_DIFFUSION].Set(20);
             comp.layers.push_back(light);
             params.SetValue(kParamLightSize, 2);
             params.SetValue(kParamAoType, 2);
         }},
        {"environment image",
         [&sky](Composition&, ParamStore& params, FrameRequest& r) {
             r.hdri_layer = &sky;
             params.SetValue(kParamHdriIntensity, 1.5);
             params.SetValue(kParamHdriSamples, 3);
         }},
        {"composite on original",
         [&plate](Composition&, ParamStore& params, FrameRequest& r) {
             r.input = &plate;
             params.SetValue(kParamCompositeOnOriginal, 1);
             params.SetValue(kParamSupersampling, 2);
         }},
        {"depth map", [](Composition&, ParamStore& params,
                         FrameRequest&) { params.SetValue(kParamDepthMap, 1); }},
    };
    for (const Scene& scene : scenes) {
        FrameRequest request = Request(kW, kH, WorldDepth::k32);
        scene.set(comp(), params(), request);
        for (const std::string& lanes : Widths()) {
            setenv("SPIROVAULT_CPU_LANES", lanes.c_str(), 1);
            ExpectPartsMatchWhole(request, std::string(scene.name) + ", lanes " + lanes);
        }
        unsetenv("SPIROVAULT_CPU_LANES");
        for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16}) {
            request.depth = depth;
            ExpectPartsMatchWhole(request, std::string(scene.name) + ", 8/16 bits");
        }
    }
}

TEST_F(FrameParts, ReducedResolutionsFrameTheSamePicture) {
    const int w = 36, h = 24;  // divisible by 2, 3 and 4
    comp().width = w;
    comp().height = h;
    const FrameResult full = Render(Request(w, h, WorldDepth::k32));
    for (int n : {2, 3, 4}) {
        FrameRequest request = Request(w, h, WorldDepth::k32);
        request.downsample_x = request.downsample_y = PF_RationalScale{1, static_cast<A_u_long>(n)};
        const FrameResult reduced = Render(request);
        ASSERT_EQ(reduced.output.width, w / n);
        // A coarser frame marches with a coarser footprint, so the surface is a little fuller;
        // where it sits does not move.
        const Centroid a = CoverageCentroid(full.output), b = CoverageCentroid(reduced.output);
        EXPECT_NEAR(a.x, b.x * n, 0.4 * n + 0.6) << "1/" << n;
        EXPECT_NEAR(a.y, b.y * n, 0.4 * n + 0.6) << "1/" << n;
    }
    // Half across only: each pixel stands for two across, and the fractal keeps its shape.
    FrameRequest wide = Request(w, h, WorldDepth::k32);
    wide.downsample_x = PF_RationalScale{1, 2};
    const FrameResult half_across = Render(wide);
    ASSERT_EQ(half_across.output.width, w / 2);
    ASSERT_EQ(half_across.output.height, h);
    EXPECT_LT(MeanDifference(half_across.output, BoxDown(full.output, 2, 1)), 0.04);
}

TEST_F(FrameParts, AnamorphicPixelsShowTheSquarePixelPicture) {
    // A 2:1 anamorphic layer 18 pixels wide shows what a square-pixel layer 36 wide shows in the
    // same composition.
    const int w = 36, h = 20;
    comp().width = w;
    comp().height = h;
    const FrameResult square = Render(Request(w, h, WorldDepth::k32));
    FrameRequest request = Request(w / 2, h, WorldDepth::k32);
    request.pixel_aspect = PF_RationalScale{2, 1};
    const FrameResult anamorphic = Render(request);
    ASSERT_EQ(anamorphic.output.width, w / 2);
    EXPECT_LT(MeanDifference(anamorphic.output, BoxDown(square.output, 2, 1)), 0.04);
}

TEST_F(FrameParts, ResultCoversTheLayerWhateverItsContent) {
    // A layer whose only content is a small patch, as a mask leaves it.
    HostImage masked = SolidImage(kW, kH, 0.0f, 0.0f, 0.0f, 0.0f);
    for (int y = 2; y < 5; ++y) {
        for (int x = 3; x < 6; ++x) masked.argb[(y * kW + x) * 4] = 1.0f;
    }
    FrameRequest request = Request(kW, kH);
    request.input = &masked;
    request.region = PF_LRect{10, 4, 25, 15};
    FrameSession frame(host(), request);
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const PF_PreRenderOutput& out = frame.pre_render_output();
    EXPECT_EQ(out.result_rect.left, 10);
    EXPECT_EQ(out.result_rect.top, 4);
    EXPECT_EQ(out.result_rect.right, 25);
    EXPECT_EQ(out.result_rect.bottom, 15);
    EXPECT_EQ(out.max_result_rect.left, 0);
    EXPECT_EQ(out.max_result_rect.top, 0);
    EXPECT_EQ(out.max_result_rect.right, kW);
    EXPECT_EQ(out.max_result_rect.bottom, kH);

    // A transparent layer still shows the whole fractal.
    const FrameResult over_nothing = Render(Request(kW, kH));
    request.region.reset();
    const FrameResult over_mask = Render(request);
    EXPECT_EQ(over_nothing.raw, over_mask.raw);
    int covered = 0;
    for (size_t i = 0; i < over_nothing.output.argb.size(); i += 4)
        covered += over_nothing.output.argb[i] > 0.5f;
    EXPECT_GT(covered, kW * kH / 10);
}

TEST_F(FrameParts, PremiereFieldsInterleaveIntoTheFrame) {
    EffectHost premiere(SPIROVAULT_PLUGIN_PATH);
    premiere.set_appl_id(kAppIdPremierePro);
    ASSERT_EQ(premiere.GlobalSetup().err, PF_Err_NONE);
    ASSERT_EQ(premiere.ParamsSetup().err, PF_Err_NONE);
    const int h = kH + 1;  // an odd height: the upper field has one line more
    FrameRequest request = Request(kW, h, WorldDepth::k32);
    const FrameResult frame = premiere.RenderFrame(request);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    const size_t row = static_cast<size_t>(kW) * 16;
    for (PF_Field field : {PF_Field_UPPER, PF_Field_LOWER}) {
        request.field = field;
        const FrameResult lines = premiere.RenderFrame(request);
        ASSERT_EQ(lines.err, PF_Err_NONE);
        const int first = field == PF_Field_UPPER ? 0 : 1;
        ASSERT_EQ(lines.output.height, (h - first + 1) / 2);
        for (int y = 0; y < lines.output.height; ++y) {
            const int line = first + 2 * y;
            EXPECT_EQ(0, std::memcmp(&lines.raw[y * row], &frame.raw[line * row], row))
                << "field " << field << " line " << line;
        }
    }
    EXPECT_TRUE(premiere.Audit().clean());
}

// The host's command-line renderer has no windows and no panel: a frame needs neither.
TEST_F(FrameParts, HeadlessHostRendersTheSameFrame) {
    const FrameResult windowed = Render(Request(kW, kH));
    EffectHost headless(SPIROVAULT_PLUGIN_PATH);
    headless.MakeHeadless();
    headless.services().composition().width = kW;
    headless.services().composition().height = kH;
    const FrameResult result = headless.RenderFrame(Request(kW, kH));
    ASSERT_EQ(result.err, PF_Err_NONE) << result.return_msg;
    EXPECT_EQ(result.raw, windowed.raw);
    EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
}

}  // namespace
