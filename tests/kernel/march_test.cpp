#include <gtest/gtest.h>

#include <cmath>

#include "tests/kernel/render_test_support.h"

namespace {

constexpr float kFootprint = 1.0f / 32.0f;

MarchHit Fresh() {
    return MarchHit{V(0, 0, 0), -1.0f, -1.0f, -1.0f};
}

TEST(MarchPrimary, TheBoundingSphereValueIsASquaredRadius) {
    RenderSettings s = DefaultSettings();
    s.bounding_sphere = 2.5f;  // radius about 1.58
    MarchHit hit = Fresh();
    // A ray passing 2.0 from the origin would enter a sphere of radius 2.5, not of radius 1.58.
    EXPECT_EQ(0, MarchPrimary(V(-10, 0, 2.0f), V(1, 0, 0), &s, 1000, kFootprint, &hit));
    EXPECT_EQ(-1.0f, hit.t);  // untouched on a miss
    // The same ray hits once the sphere is large enough to let it reach the set.
    EXPECT_EQ(1, MarchPrimary(V(-10, 0, 0.2f), V(1, 0, 0), &s, 1000, kFootprint, &hit));
    // A ray pointing away from a sphere behind the eye misses.
    EXPECT_EQ(0, MarchPrimary(V(-10, 0, 0), V(-1, 0, 0), &s, 1000, kFootprint, &hit));
}

TEST(MarchPrimary, StartsAtTheSphereEntryOrAtTheEyeWhenInside) {
    RenderSettings s = DefaultSettings();
    s.bounding_sphere = 16.0f;  // radius 4
    // A fine footprint keeps the threshold small, so both rays stop at the same surface point.
    const float fine = 1e-6f;
    MarchHit outside = Fresh();
    ASSERT_EQ(1, MarchPrimary(V(0, -10, 0), V(0, 1, 0), &s, 1000, fine, &outside));
    // The eye inside the sphere starts at t = 0 and finds the same hit 6.5 units sooner.
    MarchHit inside = Fresh();
    ASSERT_EQ(1, MarchPrimary(V(0, -3.5f, 0), V(0, 1, 0), &s, 1000, fine, &inside));
    EXPECT_NEAR(outside.point.y, inside.point.y, 0.02f);
    EXPECT_NEAR(outside.t - 6.5f, inside.t, 0.02f);
}

TEST(MarchPrimary, MissesWhenTheStepBudgetRunsOut) {
    RenderSettings s = DefaultSettings();
    const Vec3 o = V(0.3f, -6, 0.2f), d = V(0, 1, 0);
    int needed = 0;
    MarchHit hit = Fresh();
    for (int budget = 1; budget < 500 && !needed; ++budget) {
        if (MarchPrimary(o, d, &s, budget, kFootprint, &hit)) needed = budget;
    }
    ASSERT_GT(needed, 1);
    EXPECT_EQ(0, MarchPrimary(o, d, &s, needed - 1, kFootprint, &hit));
    // Half-length steps need more of them for the same ray.
    s.epsilon_scale = 0.5f;
    EXPECT_EQ(0, MarchPrimary(o, d, &s, needed, kFootprint, &hit));
    EXPECT_EQ(1, MarchPrimary(o, d, &s, 4 * needed, kFootprint, &hit));
}

TEST(MarchPrimary, TheHitThresholdGrowsWithDistance) {
    RenderSettings s = DefaultSettings();
    MarchHit near_hit = Fresh(), far_hit = Fresh();
    ASSERT_EQ(1, MarchPrimary(V(0.2f, -3, 0.1f), V(0, 1, 0), &s, 2000, kFootprint, &near_hit));
    ASSERT_EQ(1, MarchPrimary(V(0.2f, -30, 0.1f), V(0, 1, 0), &s, 2000, kFootprint, &far_hit));
    // The threshold in force is t * k of the step before the hit.
    EXPECT_NEAR(near_hit.t * kFootprint, near_hit.eps, near_hit.eps * 0.5f);
    EXPECT_NEAR(far_hit.t * kFootprint, far_hit.eps, far_hit.eps * 0.1f);
    EXPECT_GT(far_hit.eps, 5 * near_hit.eps);
    // A coarser threshold stops the far ray earlier along the ray's line.
    EXPECT_LT(far_hit.point.y, near_hit.point.y);
    EXPECT_LE(far_hit.trap, 4.0f);
}

TEST(ViewFrame, StepBudgetAndFootprintFollowTheRecord) {
    RenderSettings s = DefaultSettings(40, 90);
    s.max_steps = 110;
    s.epsilon_scale = 0.001f;
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    // Computed in float: 110 / 0.001f lands one short of 110000 before truncation.
    EXPECT_NEAR(110000, vf.step_budget, 1);
    EXPECT_FLOAT_EQ(1.0f / 90.0f, vf.footprint);
    s.epsilon_scale = 0.3f;
    DeriveViewFrame(&s, &vf);
    EXPECT_EQ(366, vf.step_budget);
    s.supersampling = -3;
    DeriveViewFrame(&s, &vf);
    EXPECT_EQ(1, vf.supersampling);
}

TEST(ViewFrame, RotationYTurnsTheEyeAndLightAboutZ) {
    RenderSettings s = DefaultSettings();
    s.rotation_y = 90.0f;
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const Vec3 e = LoadVec3(s.camera_position);  // (0, -z, 0)
    EXPECT_NEAR(e.y, vf.eye.x, 1e-5f);           // -90 degrees about z: (0, -a, 0) -> (-a, 0, 0)
    EXPECT_NEAR(0.0f, vf.eye.y, 1e-5f);
    EXPECT_NEAR(0.0f, vf.eye.z, 1e-6f);
    EXPECT_NEAR(s.light_position[2], vf.light.z, 1e-5f);
    // Rotation X turns about y, Rotation Z about x.
    s.rotation_y = 0;
    s.rotation_x = 90.0f;
    DeriveViewFrame(&s, &vf);
    EXPECT_NEAR(e.y, vf.eye.y, 1e-5f);
    s.rotation_x = 0;
    s.rotation_z = 90.0f;
    DeriveViewFrame(&s, &vf);
    EXPECT_NEAR(0.0f, vf.eye.y, 1e-5f);
    EXPECT_NEAR(std::fabs(e.y), std::fabs(vf.eye.z), 1e-5f);
}

}  // namespace
