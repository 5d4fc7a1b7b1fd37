#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "tests/kernel/render_test_support.h"

namespace {

// A hit on the default fractal, straight ahead of the default camera.
MarchHit CentreHit(const RenderSettings& s) {
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    MarchHit hit{};
    EXPECT_EQ(1, MarchPrimary(vf.eye, vf.forward, &s, vf.step_budget, vf.footprint, &hit));
    return hit;
}

TEST(SampleDisk, StaysInTheUnitDiskAndFillsEveryStratum) {
    for (int n : {1, 4, 9, 10, 16}) {
        std::set<int> quadrants;
        for (int i = 0; i < n; ++i) {
            float dx, dy;
            SampleDisk(i, n, 12345u, &dx, &dy);
            EXPECT_LE(dx * dx + dy * dy, 1.0f + 1e-6f) << n << " " << i;
            if (n == 4) quadrants.insert((dx > 0) * 2 + (dy > 0));
        }
        // The 2 x 2 strata map to the four quadrants of the disk.
        if (n == 4) {
            EXPECT_EQ(4u, quadrants.size());
        }
    }
    float dx, dy;
    SampleDisk(3, 9, 1u, &dx, &dy);
    float dx2, dy2;
    SampleDisk(3, 9, 2u, &dx2, &dy2);
    EXPECT_NE(dx, dx2);  // the seed matters
}

TEST(SampleLightDisk, APointLightIsItsCentreAndADiskFacesThePoint) {
    const Vec3 centre = V(1, 2, 3), p = V(0, 0, 0);
    const Vec3 same = SampleLightDisk(centre, p, 0.0f, 2, 4, 7u);
    EXPECT_EQ(centre.x, same.x);
    EXPECT_EQ(centre.z, same.z);
    for (int i = 0; i < 8; ++i) {
        const Vec3 q = SampleLightDisk(centre, p, 0.5f, i, 8, 7u);
        const Vec3 offset = SubVec3(q, centre);
        EXPECT_LE(LengthVec3(offset), 0.5f + 1e-5f);
        EXPECT_NEAR(0.0f, DotVec3(offset, NormalizeVec3(SubVec3(centre, p))), 1e-5f);
    }
}

TEST(SampleEnvironment, WrapsColumnsClampsRowsAndReadsOnePixelEverywhere) {
    const float one[3] = {0.25f, 0.5f, 0.75f};
    for (const Vec3& d : {V(1, 0, 0), V(0, 0, 1), V(0, -0.6f, -0.8f)}) {
        const Vec3 c = SampleEnvironment(one, 1, 1, d, 33.0f);
        EXPECT_FLOAT_EQ(0.25f, c.x);
        EXPECT_FLOAT_EQ(0.75f, c.z);
    }
    // 4 x 2 image: red channel = column, green = row.
    std::vector<float> img;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) img.insert(img.end(), {float(x), float(y), 0});
    }
    EXPECT_FLOAT_EQ(0.0f, SampleEnvironment(img.data(), 4, 2, V(0, 0, 1), 0).y);   // top row
    EXPECT_FLOAT_EQ(1.0f, SampleEnvironment(img.data(), 4, 2, V(0, 0, -1), 0).y);  // bottom row
    // Looking along -x puts u at the seam: halfway between the last and the first column.
    EXPECT_NEAR(1.5f, SampleEnvironment(img.data(), 4, 2, V(-1, -1e-7f, 0), 0).x, 1e-3f);
    // +y is a quarter turn from the seam; 90 degrees of rotation moves it to +x's column.
    const float at_y = SampleEnvironment(img.data(), 4, 2, V(0, 1, 0), 0).x;
    EXPECT_NEAR(at_y, SampleEnvironment(img.data(), 4, 2, V(1, 0, 0), 90.0f).x, 1e-5f);
    EXPECT_EQ(0.0f, SampleEnvironment(nullptr, 4, 2, V(1, 0, 0), 0).x);
    EXPECT_EQ(0.0f, SampleEnvironment(img.data(), 0, 2, V(1, 0, 0), 0).x);
}

TEST(Occlusion, SampleCountsFollowTheirRules) {
    RenderSettings s = DefaultSettings();
    s.ao_samples = 1;
    EXPECT_EQ(16, RaytracedOcclusionSteps(&s));
    s.ao_samples = 10;
    EXPECT_EQ(40, RaytracedOcclusionSteps(&s));
    s.ao_samples = 20;
    EXPECT_EQ(64, RaytracedOcclusionSteps(&s));

    s.hdri_samples = 64;
    s.specular_exponent = 16;
    EXPECT_EQ(16, EnvironmentSpecularCount(&s));
    s.specular_exponent = 0.1f;  // counted with max(e, 1): every sample drawn
    EXPECT_EQ(64, EnvironmentSpecularCount(&s));
    s.hdri_samples = 3;
    s.specular_exponent = 50;
    EXPECT_EQ(3, EnvironmentSpecularCount(&s));  // the floor of 4 never exceeds the count
    s.hdri_samples = 20;  // ceil(20 / sqrt(50)) = 3, raised to the floor of 4
    EXPECT_EQ(4, EnvironmentSpecularCount(&s));
}

TEST(Occlusion, IntensityZeroIsOpenAndAZeroTrapIsFullyOccluded) {
    RenderSettings s = DefaultSettings();
    const Vec3 p = V(0, 0, 1), n = V(0, 0, 1);
    s.ao_intensity = 0;
    EXPECT_EQ(1.0f, AmbientOcclusion(p, n, 0.5f, 1e-3f, 1u, &s));
    s.ao_type = kAoTypeRaytraced;
    EXPECT_EQ(1.0f, AmbientOcclusion(p, n, 0.5f, 1e-3f, 1u, &s));
    s.ao_type = kAoTypeOrbitTrap;
    s.ao_intensity = 1;
    EXPECT_EQ(0.0f, AmbientOcclusion(p, n, 0.0f, 1e-3f, 1u, &s));
    // Raytraced rays from a point far outside the set meet nothing.
    s.ao_type = kAoTypeRaytraced;
    EXPECT_EQ(1.0f, AmbientOcclusion(V(0, 0, 3), n, 0.5f, 1e-3f, 1u, &s));
}

TEST(ShadeHit, AmbientIsAddedUnshadedWhenNothingElseLights) {
    RenderSettings s = DefaultSettings();
    s.light_intensity = 0;
    s.ao_intensity = 0;
    s.ramp.stops[0].red = 0.1f;  // the ramp must not matter
    const MarchHit hit = CentreHit(s);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const Vec3 c = ShadeHit(&hit, &vf, &s, SampleSeeds(1, 2, 0, 0, 0), 1);
    EXPECT_FLOAT_EQ(171 / 255.0f * 0.4f, c.x);
    EXPECT_FLOAT_EQ(217 / 255.0f * 0.4f, c.y);
    EXPECT_FLOAT_EQ(1.0f * 0.4f, c.z);
}

TEST(ShadeHit, ALightBehindTheSurfaceAddsNothingAndColoursClampAt100) {
    RenderSettings s = DefaultSettings();
    const MarchHit hit = CentreHit(s);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const Vec3 n = EstimateNormal(hit.point, hit.eps * 0.5f, &s);
    const LightContribution behind =
        ShadeLight(hit.point, n, vf.eye, SubVec3(hit.point, n), V(1, 1, 1), V(5, 5, 5), &s, 1);
    EXPECT_EQ(0.0f, behind.diffuse.x);
    EXPECT_EQ(0.0f, behind.specular);
    s.ambient_intensity = 5000;
    const Vec3 c = ShadeHit(&hit, &vf, &s, SampleSeeds(1, 2, 0, 0, 0), 1);
    EXPECT_EQ(100.0f, c.z);
}

TEST(ShadowFactor, APointLightMarchesOnceWithTheSameResult) {
    RenderSettings s = DefaultSettings();
    s.shadow_samples = 16;
    const MarchHit hit = CentreHit(s);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const Vec3 n = EstimateNormal(hit.point, hit.eps * 0.5f, &s);
    // Light positions in front of, beside and behind the fractal: lit, grazing and shadowed.
    for (const Vec3& light : {vf.light, V(0, -10, 0), V(0, 10, 0), V(3, 0.5f, -2)}) {
        for (float darkness : {1.0f, 0.35f}) {
            const float fast = ShadowFactor(hit.point, n, light, 0.0f, darkness, hit.eps,
                                            vf.footprint, 77u, &s, vf.step_budget, 1);
            const float full = ShadowFactor(hit.point, n, light, 0.0f, darkness, hit.eps,
                                            vf.footprint, 77u, &s, vf.step_budget, 0);
            EXPECT_EQ(full, fast);
        }
    }
    EXPECT_EQ(0.0f, ShadowFactor(hit.point, n, V(0, 10, 0), 0.0f, 1.0f, hit.eps, vf.footprint, 77u,
                                 &s, vf.step_budget, 1));  // the fractal is in the way
}

TEST(ShadowFactor, ADiskLightGivesPenumbraBetweenZeroAndOne) {
    RenderSettings s = DefaultSettings();
    s.shadow_samples = 64;
    const MarchHit hit = CentreHit(s);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const Vec3 n = EstimateNormal(hit.point, hit.eps * 0.5f, &s);
    bool partial = false;
    for (float x = -3; x <= 3 && !partial; x += 0.25f) {
        const float f = ShadowFactor(hit.point, n, V(x, 4, 1), 2.0f, 1.0f, hit.eps, vf.footprint,
                                     5u, &s, vf.step_budget, 1);
        EXPECT_GE(f, 0.0f);
        EXPECT_LE(f, 1.0f);
        partial = f > 0.0f && f < 1.0f;
    }
    EXPECT_TRUE(partial);
    EXPECT_EQ(1.0f, ShadowFactor(hit.point, n, V(0, 10, 0), 2.0f, 0.0f, hit.eps, vf.footprint, 5u,
                                 &s, vf.step_budget, 1));  // no darkness: no rays at all
}

TEST(Environment, DiffuseAndSpecularSeeAUniformSkyAsItsColour) {
    RenderSettings s = DefaultSettings();
    float sky[2 * 2 * 3];
    for (int i = 0; i < 12; i += 3) sky[i] = 2.0f, sky[i + 1] = 1.0f, sky[i + 2] = 0.5f;
    s.hdri_pixels = sky;
    s.hdri_width = 2;
    s.hdri_height = 2;
    s.hdri_intensity = 0.5f;
    const Vec3 n = V(0, 0, 1), p = V(0, 0, 3);  // far above the set: nothing occludes
    s.hdri_shadow_intensity = 1;
    const Vec3 diffuse = EnvironmentDiffuse(n, p, 9u, 1e-3f, &s, 200);
    EXPECT_NEAR(1.0f, diffuse.x, 1e-5f);
    EXPECT_NEAR(0.25f, diffuse.z, 1e-5f);
    const Vec3 spec = EnvironmentSpecular(n, V(0, 0, 1), p, 9u, 1e-3f, &s, 200);
    EXPECT_NEAR(s.specularity * 1.0f, spec.x, 1e-5f);
    s.specularity = 0;
    EXPECT_EQ(0.0f, EnvironmentSpecular(n, V(0, 0, 1), p, 9u, 1e-3f, &s, 200).x);
    // Looking into the set from its surface, the shadow rays find it.
    RenderSettings shadowed = s;
    const MarchHit hit = CentreHit(shadowed);
    const Vec3 into = ScaleVec3(EstimateNormal(hit.point, hit.eps * 0.5f, &s), -1.0f);
    const Vec3 dark = EnvironmentDiffuse(into, hit.point, 9u, hit.eps, &shadowed, 200);
    EXPECT_LT(dark.x, 1.0f);
}

}  // namespace
