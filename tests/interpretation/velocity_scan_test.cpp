// The automatic velocity methods on a synthetic common-midpoint gather of
// known soil velocity (Vgr 4.00): tracking one phase along the gather and the
// velocity scan, on clean and on noisy traces.

#include "interpretation_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tesk::testing {
namespace {

constexpr int TRUE_CODE = 400;

struct NoiseCase {
    const char* name;
    double noise;     // codes rms at the top of the trace
    double pickError; // samples a tracked peak may lie from the true one
};

class AutomaticMethods : public ::testing::TestWithParam<NoiseCase> {};

// Worst error of the running estimate of the tracking, from the rule that
// forms it: the first estimate (sixth frame) taken as it is, each later one
// averaged in by halves and rounded; every estimate off by at most what
// picks `delta` ns from the true times can give.
double trackingBound(const demo::DemoParams& p, double depth, int frames, double delta) {
    const int A = int(demo::antennaCm(p));
    const double t0 = demo::reflectionTimeNs(p, depth, demo::separationCm(p, 0));
    double bound = -1;
    for (int n = 5; n < frames; ++n) {
        const double t1 = demo::reflectionTimeNs(p, depth, demo::separationCm(p, n));
        double worst = 0;
        for (double e0 : {-delta, delta})
            for (double e1 : {-delta, delta}) {
                const auto c =
                    separationVelocityCode(A, int(demo::stepCm(p)), n, t0 + e0, t1 + e1, 160);
                const int code = c ? std::clamp(*c, 160, 1500) : 1500;
                worst = std::max(worst, std::abs(code - double(TRUE_CODE)));
            }
        bound = bound < 0 ? worst : (bound + worst) / 2 + 0.5;
    }
    return bound;
}

TEST_P(AutomaticMethods, TrackingFollowsTheReflectionToTheSoilVelocity) {
    demo::DemoParams p = demo::gatherParams();
    p.noise = GetParam().noise;
    Rig rig(p);
    rig.settings.method = VelocityMethod::Tracking;
    rig.settings.phase = Phase::Maximum;
    const double dt = demo::nsPerSample(p);
    for (double depth : {200.0, 450.0}) {
        auto c = rig.context();
        rig.store->setVelocity(700);
        const double t0 = demo::reflectionTimeNs(p, depth, demo::separationCm(p, 0));
        const auto out = Image9MouseDown(c, MouseButton::Left, Rig::pixel(0, int(t0 / dt) + 1));
        ASSERT_TRUE(out && out->measured);
        // The track: a polyline of 2-pixel green segments, one point per frame.
        const auto track =
            std::find_if(rig.session.drawing.lines.begin(), rig.session.drawing.lines.end(),
                         [](const OverlayPolyline& l) { return l.width == 2; });
        ASSERT_NE(track, rig.session.drawing.lines.end());
        const int frames = int(track->points.size());
        EXPECT_GE(frames, 200) << depth; // it followed the reflection over the gather
        const double bound = trackingBound(p, depth, frames, GetParam().pickError * dt);
        EXPECT_LE(bound, 20) << "the tolerance itself must mean something";
        EXPECT_NEAR(out->velocityCode, TRUE_CODE, bound) << depth;
        EXPECT_EQ(rig.store->velocityCode, out->velocityCode);
        // The result is written left of the gather, above the start row.
        ASSERT_EQ(rig.session.drawing.texts.size(), 1u);
        EXPECT_EQ(rig.session.drawing.texts[0].at.x, -38);
    }
}

TEST_P(AutomaticMethods, ScanFindsTheSoilVelocityAtEveryReflection) {
    demo::DemoParams p = demo::gatherParams();
    p.noise = GetParam().noise;
    Rig rig(p);
    rig.settings.method = VelocityMethod::Scan;
    rig.view.cursorColumn = 40; // anywhere in the gather
    auto c = rig.context();
    rig.store->setVelocity(700);
    const VelocityOutcome out = GODOGRAF(c);
    ASSERT_TRUE(out.measured);
    // The trial speeds step Vgr by 0.10: one step either side of the truth.
    EXPECT_NEAR(out.velocityCode, TRUE_CODE, 10);
    EXPECT_EQ(rig.store->velocityCode, out.velocityCode);
    const double dt = demo::nsPerSample(p);
    for (const demo::Layer& l : p.layers) {
        const double row = demo::reflectionTimeNs(p, l.depth, demo::separationCm(p, 0)) / dt;
        const bool maximum = l.reflectivity > 0;
        const auto hit = std::find_if(out.scan.begin(), out.scan.end(), [&](const ScanResult& r) {
            return std::abs(r.row - row) <= 1 && r.maximum == maximum;
        });
        ASSERT_NE(hit, out.scan.end()) << l.depth;
        EXPECT_NEAR(hit->velocityCode, TRUE_CODE, 10) << l.depth;
    }
    // The scan reported its rows through the progress of a scan pass.
    EXPECT_TRUE(rig.ui.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Gathers, AutomaticMethods,
                         ::testing::Values(NoiseCase{"clean", 0, 0.5}, NoiseCase{"noisy", 3, 1.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackingMethod, FewerThanSixFramesKeepTheDefaultVelocity) {
    demo::DemoParams p = demo::gatherParams();
    p.profiles = 2;
    p.framesPerProfile = 20;
    Rig rig(p);
    rig.settings.method = VelocityMethod::Tracking;
    auto c = rig.context();
    rig.store->setVelocity(700);
    // Four frames before the end of the first gather.
    const double t = demo::reflectionTimeNs(p, 200, demo::separationCm(p, 16));
    const auto out = Image9MouseDown(c, MouseButton::Left, Rig::pixel(16, int(t / 0.5)));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->velocityCode, 500);
    EXPECT_EQ(rig.store->velocityCode, 500);
}

TEST(TrackingMethod, NoDataUnderTheCursorDoesNothing) {
    demo::DemoParams p = demo::gatherParams();
    p.profiles = 2;
    Rig rig(p);
    rig.settings.method = VelocityMethod::Tracking;
    auto c = rig.context();
    rig.store->setVelocity(700);
    const auto out = Image9MouseDown(c, MouseButton::Left, Rig::pixel(p.framesPerProfile + 3, 100));
    ASSERT_TRUE(out);
    EXPECT_FALSE(out->measured);
    EXPECT_EQ(rig.store->velocityCode, 700);
}

} // namespace
} // namespace tesk::testing
