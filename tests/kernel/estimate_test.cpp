// The estimate against an independent double-precision evaluation of the same iteration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/kernel/render_test_support.h"

namespace {

struct Reference {
    double distance;
    double trap;
};

// Written from the formula, in double, sharing no code with the renderer.
Reference ReferenceEstimate(const RenderSettings& s, double px, double py, double pz) {
    const double n = s.power;
    double cx = px, cy = py, cz = pz;
    if (s.julia_mode) cx = s.julia_c[0], cy = s.julia_c[1], cz = s.julia_c[2];
    double x = px, y = py, z = pz;
    double r = std::sqrt(x * x + y * y + z * z);
    double phi = std::atan2(y, x);
    double theta = std::asin(std::clamp(z / std::max(r, 1e-12), -1.0, 1.0));
    double trap = std::min(4.0, r);
    double dr = 1, phi_d = 0, theta_d = 0;
    for (int i = 0; i < s.max_iterations; ++i) {
        const double m = std::pow(r, n - 1) * n * dr;
        const double a = (n - 1) * theta + theta_d, b = (n - 1) * phi + phi_d;
        const double dx = m * std::sin(a) * std::cos(b) + 1, dy = m * std::sin(a) * std::sin(b),
                     dz = m * std::cos(a);
        dr = std::sqrt(dx * dx + dy * dy + dz * dz);
        phi_d = std::atan2(dy, dx);
        theta_d = std::acos(std::clamp(dz / std::max(dr, 1e-12), -1.0, 1.0));
        const double rho = std::pow(r, n);
        theta *= n;
        phi *= n;
        x = rho * std::sin(theta) * std::cos(phi) + cx;
        y = rho * std::sin(theta) * std::sin(phi) + cy;
        z = rho * std::cos(theta) + cz;
        if (s.radiolaria && y > s.radiolaria_factor) y = s.radiolaria_factor;
        r = std::sqrt(x * x + y * y + z * z);
        trap = std::min(trap, r);
        if (r > s.bailout) break;
        phi = std::atan2(y, x) + s.phase_x;
        theta = std::acos(std::clamp(z / std::max(r, 1e-12), -1.0, 1.0)) + s.phase_y;
    }
    return {0.5 * std::log(r) * r / std::max(dr, 1e-12), trap};
}

// Points around the surface and farther out, away from the origin.
const Vec3 kPoints[] = {{1.2f, 0.1f, 0.3f},  {0.3f, -0.9f, 0.5f}, {-0.7f, 0.6f, -0.6f},
                        {0.05f, 0.1f, 1.1f}, {2.0f, 1.0f, -1.0f}, {-0.2f, -0.3f, -0.95f}};

void ExpectMatchesReference(const RenderSettings& s, const char* label) {
    for (const Vec3& p : kPoints) {
        float trap = 4.0f;
        const float d = EstimateDistance(p, &trap, &s);
        const Reference ref = ReferenceEstimate(s, p.x, p.y, p.z);
        // Single precision through a few power-8 rounds: agreement to 1e-4 relative.
        EXPECT_NEAR(ref.distance, d, 1e-4 * std::fabs(ref.distance) + 1e-6)
            << label << " at (" << p.x << ", " << p.y << ", " << p.z << ")";
        EXPECT_NEAR(ref.trap, trap, 1e-4 * ref.trap + 1e-6) << label;
    }
}

TEST(EstimateDistance, MatchesADoublePrecisionEvaluation) {
    RenderSettings s = DefaultSettings();
    ExpectMatchesReference(s, "default");
    s.power = 3.5f;
    s.max_iterations = 9;
    ExpectMatchesReference(s, "fractional power");
    s.power = -2.0f;
    ExpectMatchesReference(s, "negative power");
}

TEST(EstimateDistance, MatchesInJuliaRadiolariaAndPhaseVariants) {
    RenderSettings s = DefaultSettings();
    s.julia_mode = 1;
    s.julia_c[0] = 0.4f;
    s.julia_c[1] = -0.2f;
    s.julia_c[2] = 0.1f;
    ExpectMatchesReference(s, "julia");
    s = DefaultSettings();
    s.radiolaria = 1;
    s.radiolaria_factor = 0.1f;
    ExpectMatchesReference(s, "radiolaria");
    s = DefaultSettings();
    s.phase_x = 0.7f;
    s.phase_y = -0.3f;
    ExpectMatchesReference(s, "phases");
}

TEST(EstimateDistance, VariantsChangeTheSet) {
    const RenderSettings plain = DefaultSettings();
    RenderSettings julia = plain;
    julia.julia_mode = 1;  // default constant (1, 0, 0)
    RenderSettings phased = plain;
    phased.phase_x = 0.5f;
    const Vec3 p = V(0.3f, -0.9f, 0.5f);
    float t1 = 4, t2 = 4, t3 = 4;
    const float d = EstimateDistance(p, &t1, &plain);
    EXPECT_NE(d, EstimateDistance(p, &t2, &julia));
    EXPECT_NE(d, EstimateDistance(p, &t3, &phased));
    // Zero phases are the plain iteration, bit for bit.
    RenderSettings zero_phase = plain;
    zero_phase.phase_x = 0.0f;
    zero_phase.phase_y = 0.0f;
    float t4 = 4;
    EXPECT_EQ(d, EstimateDistance(p, &t4, &zero_phase));
}

TEST(EstimateDistance, OneIterationLowersTheTrapToTheFirstOrbitPoint) {
    RenderSettings s = DefaultSettings();
    s.max_iterations = 1;
    s.bailout = 1e6f;
    const Vec3 p = V(0.6f, 0.2f, 0.3f);
    float trap = 4.0f;
    EstimateDistance(p, &trap, &s);
    const Reference ref = ReferenceEstimate(s, p.x, p.y, p.z);
    EXPECT_NEAR(ref.trap, trap, 1e-6);
    EXPECT_LT(trap, LengthVec3(p));  // |z1| < |p| here, so the step lowered it
    // The trap only ever goes down.
    float low = 0.01f;
    EstimateDistance(p, &low, &s);
    EXPECT_EQ(0.01f, low);
}

TEST(EstimateDistance, NoIterationsGivesTheStartingRadiusEstimate) {
    RenderSettings s = DefaultSettings();
    s.max_iterations = 0;
    float trap = 4.0f;
    const float d = EstimateDistance(V(2.0f, 0, 0), &trap, &s);
    EXPECT_FLOAT_EQ(0.5f * std::log(2.0f) * 2.0f, d);
    EXPECT_EQ(2.0f, trap);
}

// The trigonometry-free step for integer powers against the trigonometric form of the same
// iteration, over a grid of points and the variants that touch the angles.
TEST(EstimateDistance, IntegerPowerStepAgreesWithTheTrigonometricForm) {
    struct Variant {
        const char* label;
        RenderSettings s;
    };
    std::vector<Variant> variants;
    for (float power : {2.0f, 3.0f, 5.0f, 8.0f, 12.0f, -2.0f, -3.0f, -5.0f}) {
        RenderSettings s = DefaultSettings();
        s.power = power;
        variants.push_back({"power", s});
    }
    RenderSettings julia = DefaultSettings();
    julia.julia_mode = 1;
    julia.julia_c[0] = 0.35f;
    julia.julia_c[1] = -0.2f;
    julia.julia_c[2] = 0.1f;
    variants.push_back({"julia", julia});
    RenderSettings radiolaria = DefaultSettings();
    radiolaria.radiolaria = 1;
    radiolaria.radiolaria_factor = 0.3f;
    variants.push_back({"radiolaria", radiolaria});
    RenderSettings phases = DefaultSettings();
    phases.phase_x = 0.4f;
    phases.phase_y = -0.25f;
    variants.push_back({"phases", phases});
    RenderSettings low_bailout = DefaultSettings();
    low_bailout.bailout = 1.5f;
    variants.push_back({"low bailout", low_bailout});

    for (const Variant& v : variants) {
        ASSERT_TRUE(UsesIntegerPowerStep(&v.s)) << v.label;
        int compared = 0, close = 0;
        for (float x = -1.45f; x <= 1.5f; x += 0.23f) {
            for (float y = -1.4f; y <= 1.5f; y += 0.29f) {
                for (float z = -1.3f; z <= 1.5f; z += 0.31f) {
                    const Vec3 p = V(x, y, z);
                    float trap_new = 4.0f, trap_old = 4.0f;
                    const double d_new = EstimateDistance(p, &trap_new, &v.s);
                    const double d_old = EstimateDistanceTrig(p, &trap_old, &v.s);
                    compared += 1;
                    if (std::fabs(d_new - d_old) <= 1e-4 * std::fabs(d_old) + 1e-7 &&
                        std::fabs(trap_new - trap_old) <= 1e-4 * trap_old) {
                        close += 1;
                        continue;
                    }
                    // Where the two single-precision forms part, both have drifted from the
                    // exact value by comparable amounts: the new one is no worse a guess.
                    const Reference ref = ReferenceEstimate(v.s, x, y, z);
                    const double slack = 1e-4 * std::fabs(ref.distance) + 1e-6;
                    EXPECT_LE(std::fabs(d_new - ref.distance),
                              4 * std::fabs(d_old - ref.distance) + slack)
                        << v.label << " power " << v.s.power << " at " << x << ", " << y << ", "
                        << z;
                    EXPECT_LE(std::fabs(trap_new - ref.trap),
                              4 * std::fabs(trap_old - ref.trap) + 1e-4 * ref.trap)
                        << v.label;
                }
            }
        }
        EXPECT_GE(close, compared * 995 / 1000) << v.label << " power " << v.s.power;
    }
}

TEST(EstimateDistance, NonIntegerAndSmallPowersKeepTheTrigonometricForm) {
    RenderSettings s = DefaultSettings();
    for (float power : {3.5f, 1.0f, -1.0f, 0.0f, 8.0001f}) {
        s.power = power;
        EXPECT_FALSE(UsesIntegerPowerStep(&s)) << power;
        float t1 = 4.0f, t2 = 4.0f;
        const Vec3 p = V(0.3f, -0.9f, 0.5f);
        EXPECT_EQ(EstimateDistanceTrig(p, &t1, &s), EstimateDistance(p, &t2, &s)) << power;
    }
}

}  // namespace
