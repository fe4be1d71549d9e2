// Velocity fitting: the two velocity formulas, the four methods on synthetic
// surveys of known soil velocity, degenerate picks, the live curve and the
// measurement frame.

#include "interpretation/layer_cells.h"
#include "interpretation/table_text.h"
#include "interpretation_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tesk::testing {
namespace {

// --- formulas --------------------------------------------------------------------

struct HyperbolaCase {
    const char* name;
    int dx;
    double t0, t1;
    std::optional<int> code;
};

TEST(VelocityFormulas, HyperbolaThroughApexAndBranchPoint) {
    const HyperbolaCase cases[] = {
        // 300 / sqrt(100^2 - 60^2) = 300 / 80 = 3.75 cm/ns.
        {"plain", 300, 60, 100, 375},
        // 100 / sqrt(120^2 - 100^2) = 1.51, below the slowest soil: 1.60.
        {"slowest", 100, 100, 120, 160},
        // 10000 / sqrt(11^2 - 10^2) = 2182: limited to 15.00.
        {"fastest", 10000, 10, 11, 1500},
        // A flat branch: as fast as the range allows.
        {"same row", 50, 80, 80, 1500},
        {"left branch", -300, 60, 100, 375},
        {"equal points", 0, 80, 80, std::nullopt},
        {"straight under the apex", 0, 80, 90, std::nullopt},
        {"branch above the apex", 300, 100, 60, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hyperbolaVelocityCode(c.dx, c.t0, c.t1), c.code) << c.name;
}

struct SeparationCase {
    const char* name;
    int antenna, step, frames;
    double t0, t1;
    std::optional<int> code;
};

TEST(VelocityFormulas, TravelTimeCurveWithGrowingSeparation) {
    const SeparationCase cases[] = {
        // X0 = 0, X1 = 100, T0 = 300, T1 = 400: 1500 sqrt(10000 / 70000) = 566.95.
        {"plain", 0, 5, 10, 10, 10, 567},
        // X0 = 50, X1 = 250, T0 = 50 + 1500, T1 = 250 + 1800:
        // 1500 sqrt(60000 / 1800000) = 273.86.
        {"with separation", 50, 10, 10, 50, 60, 274},
        // X1 = 60, T0 = T1 = 120: a flat curve gives the flat code.
        {"flat", 0, 3, 10, 4, 2, 999},
        {"same frame", 50, 10, 0, 50, 60, std::nullopt},
        // T1 = 250 < T0 = 300: the curve falls as the antennas move apart.
        {"falling", 0, 5, 10, 10, 5, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(separationVelocityCode(c.antenna, c.step, c.frames, c.t0, c.t1, 999), c.code)
            << c.name;
}

// --- method 0 --------------------------------------------------------------------

// Smallest and largest code the picks can give when each time is off by at
// most half a sample from the true event, the sampled peak being the sample
// nearest to it.
std::pair<int, int> hyperbolaResolution(int dx, double t0, double t1, double dt) {
    int lo = 1 << 30, hi = 0;
    for (double e0 : {-dt / 2, dt / 2})
        for (double e1 : {-dt / 2, dt / 2}) {
            const auto c = hyperbolaVelocityCode(dx, t0 + e0, t1 + e1);
            if (!c) continue;
            lo = std::min(lo, *c);
            hi = std::max(hi, *c);
        }
    return {lo, hi};
}

TEST(HyperbolaMethod, ApexAndBranchPointGiveTheSoilVelocityWithinTheSampling) {
    // An object 6 m deep under x = 10 m in a soil of Vgr 7: apex 85.7 ns.
    Rig rig(diffractorParams(1000, 600));
    rig.settings.snap = true;
    rig.settings.phase = Phase::Maximum;
    const double v = demo::vgr(rig.params), dt = demo::nsPerSample(rig.params);
    const int apexColumn = 200; // x = 1000 cm at 5 cm per frame
    const double t0 = 600 / v;
    for (int offsetFrames : {30, 50, 70}) {
        const int dx = offsetFrames * 5;
        const double t1 = std::sqrt(600.0 * 600 + double(dx) * dx) / v;
        auto c = rig.context();
        rig.store->setVelocity(500);
        // Picks a few rows off the peaks: snapping brings them onto the phase.
        ASSERT_TRUE(
            Image9MouseDown(c, MouseButton::Left, Rig::pixel(apexColumn, int(t0 / dt) + 2)));
        const auto out = Image9MouseDown(c, MouseButton::Right,
                                         Rig::pixel(apexColumn + offsetFrames, int(t1 / dt) - 2));
        ASSERT_TRUE(out && out->measured);
        const auto [lo, hi] = hyperbolaResolution(dx, t0, t1, dt);
        EXPECT_GE(out->velocityCode, lo) << offsetFrames;
        EXPECT_LE(out->velocityCode, hi) << offsetFrames;
        EXPECT_LE(lo, 700);
        EXPECT_GE(hi, 700);
        // On clean traces the snapped picks are the samples nearest the
        // apex and the branch.
        EXPECT_EQ(out->velocityCode, hyperbolaVelocityCode(dx, std::nearbyint(t0 / dt) * dt,
                                                           std::nearbyint(t1 / dt) * dt));
        // The measurement is the soil velocity, the "Годограф" item and the
        // permittivity; header cell 21 keeps it.
        EXPECT_EQ(rig.store->velocityCode, out->velocityCode);
        EXPECT_EQ(rig.store->hodographVelocity, out->velocityCode);
        EXPECT_EQ(rig.store->header.get16(hdr::VelocityCode), out->velocityCode);
        EXPECT_DOUBLE_EQ(rig.store->permittivity, permittivityFor(uint16_t(out->velocityCode)));
    }
}

TEST(HyperbolaMethod, PicksThatMeasureNothingKeepTheVelocity) {
    Rig rig(diffractorParams(1000, 600));
    struct Case {
        const char* name;
        Point second;
    };
    const Case cases[] = {
        {"the apex itself", {400, 170}},
        {"straight under the apex", {400, 190}},
        {"above the apex", {500, 150}},
    };
    for (const auto& c : cases) {
        auto ctx = rig.context();
        rig.store->setVelocity(650);
        ASSERT_TRUE(Image9MouseDown(ctx, MouseButton::Left, {400, 170}));
        const auto out = Image9MouseDown(ctx, MouseButton::Right, c.second);
        ASSERT_TRUE(out) << c.name;
        EXPECT_FALSE(out->measured) << c.name;
        EXPECT_EQ(rig.store->velocityCode, 650) << c.name;
        // The hyperbola of the velocity in force is still drawn.
        EXPECT_EQ(rig.session.drawing.lines.size(), 2u) << c.name;
    }
}

TEST(HyperbolaMethod, ClicksOffThePictureAreIgnored) {
    Rig rig(diffractorParams(1000, 600));
    auto c = rig.context();
    rig.view.cursorColumn = 17;
    rig.view.cursorRow = 33;
    for (Point p : {Point{-1, 10}, Point{1024, 10}, Point{10, -1}, Point{10, 512}})
        for (MouseButton b : {MouseButton::Left, MouseButton::Right}) {
            EXPECT_FALSE(Image9MouseDown(c, b, p));
            EXPECT_FALSE(Image9MouseMove(c, p));
        }
    EXPECT_EQ(rig.view.cursorColumn, 17);
    EXPECT_EQ(rig.view.cursorRow, 33);
    EXPECT_EQ(rig.store->velocityCode, 700);
}

TEST(HyperbolaMethod, LiveCurveIsTheOneTheClickCommits) {
    Rig rig(diffractorParams(1000, 600));
    auto c = rig.context();
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, {400, 171}));
    const Point pointer{500, 190};
    const auto live = Image9MouseMove(c, pointer);
    ASSERT_TRUE(live);
    const OverlayDrawing seen = rig.session.drawing;
    EXPECT_EQ(rig.store->velocityCode, 700); // moving writes nothing
    const auto out = Image9MouseDown(c, MouseButton::Right, pointer);
    ASSERT_TRUE(out && out->measured);
    EXPECT_EQ(out->velocityCode, *live);
    ASSERT_EQ(seen.lines.size(), rig.session.drawing.lines.size());
    for (std::size_t i = 0; i < seen.lines.size(); ++i) {
        const auto& a = seen.lines[i].points;
        const auto& b = rig.session.drawing.lines[i].points;
        ASSERT_EQ(a.size(), b.size());
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(),
                               [](Point p, Point q) { return p.x == q.x && p.y == q.y; }));
    }
    // The right branch passes through the picked point.
    const auto& right = rig.session.drawing.lines[0];
    EXPECT_EQ(right.colour, 0x88FFFFu);
    const Point at = right.points[std::size_t(pointer.x - 400)];
    EXPECT_EQ(at.x, pointer.x);
    EXPECT_NEAR(at.y, pointer.y, 1);
}

TEST(HyperbolaMethod, MultiplesDrawSixteenCurvesDownToRow510) {
    Rig rig(diffractorParams(1000, 600));
    rig.settings.multiples = true;
    auto c = rig.context();
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, {400, 30}));
    const auto& lines = rig.session.drawing.lines;
    ASSERT_EQ(lines.size(), 32u); // apex rows 30, 60, ... 480: two branches each
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& l = lines[i];
        EXPECT_EQ(l.colour, i % 2 == 0 ? 0x88FFFFu : 0xFFFF88u);
        EXPECT_EQ(l.points.front().y, 30 * int(i / 2 + 1));
        EXPECT_EQ(l.points.front().x, 400);
        for (Point p : l.points) EXPECT_LE(p.y, 510);
    }
}

// --- method 1 --------------------------------------------------------------------

// The range of codes the method can give when both picks are the samples
// nearest to the true reflection times.
std::pair<int, int> separationResolution(int A, int step, int frames, double t0, double t1,
                                         double dt) {
    int lo = 1 << 30, hi = 0;
    for (double e0 : {-dt / 2, dt / 2})
        for (double e1 : {-dt / 2, dt / 2}) {
            const auto c = separationVelocityCode(A, step, frames, t0 + e0, t1 + e1, 1500);
            if (!c) continue;
            lo = std::min(lo, *c);
            hi = std::max(hi, *c);
        }
    return {lo, hi};
}

TEST(HodographMethod, TwoPicksOfAReflectionGiveTheSoilVelocity) {
    Rig rig(demo::gatherParams());
    rig.settings.method = VelocityMethod::Hodograph;
    rig.settings.snap = true;
    const double dt = demo::nsPerSample(rig.params);
    const int A = int(demo::antennaCm(rig.params));
    auto c = rig.context();
    enterVelocityMode(c);
    const double t0 = demo::reflectionTimeNs(rig.params, 200, demo::separationCm(rig.params, 0));
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, Rig::pixel(0, int(t0 / dt) + 2)));
    // The first pick became boundary 1 of the measurement frame.
    const FrameRecord& f = rig.store->frame(0);
    EXPECT_TRUE(f.status() & status::HodographMark);
    EXPECT_NEAR(boundaryRow(f, 1) * dt, t0, dt / 2);
    for (int frames : {100, 150, 200}) {
        const double t1 =
            demo::reflectionTimeNs(rig.params, 200, demo::separationCm(rig.params, frames));
        const auto out = Image9MouseDown(c, MouseButton::Right, Rig::pixel(frames, int(t1 / dt)));
        ASSERT_TRUE(out && out->measured);
        const auto [lo, hi] = separationResolution(A, 1, frames, t0, t1, dt);
        EXPECT_GE(out->velocityCode, lo) << frames;
        EXPECT_LE(out->velocityCode, hi) << frames;
        EXPECT_LE(lo, 400);
        EXPECT_GE(hi, 400);
        // Hodograph 1 of the measurement frame and its table cell keep it.
        EXPECT_EQ(hodographCode(f, 1), out->velocityCode);
        EXPECT_EQ(rig.session.hodographTable.cell(1, 1), formatVgr(out->velocityCode, '.'));
    }
}

TEST(HodographMethod, PicksInTheMeasurementFrameMeasureNothing) {
    Rig rig(demo::gatherParams());
    rig.settings.method = VelocityMethod::Hodograph;
    auto c = rig.context();
    enterVelocityMode(c);
    rig.store->setVelocity(420);
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, {20, 100}));
    // A left click stores the velocity measured before it.
    EXPECT_EQ(hodographCode(rig.store->frame(10), 1), 420);
    for (Point p : {Point{21, 140}, Point{20, 100}}) {
        const auto out = Image9MouseDown(c, MouseButton::Right, p);
        ASSERT_TRUE(out);
        EXPECT_FALSE(out->measured);
        EXPECT_EQ(rig.store->velocityCode, 420);
    }
}

TEST(HodographMethod, MeasurementFrameMovesWithItsBoundariesAndVelocities) {
    Rig rig(demo::gatherParams());
    ProfileStore& s = *rig.store;
    FrameRecord& old = s.frame(30);
    old.value[cell::Status] |= status::HodographMark;
    setBoundaryRow(old, 2, 150);
    setHodographCode(old, 2, 380);
    setHodographCode(old, 3, 444);
    setLayerCode(old, 8, 333);
    rig.settings.method = VelocityMethod::Hodograph;
    auto c = rig.context();
    // The velocity mode starts on the measurement frame with its hodographs.
    enterVelocityMode(c);
    EXPECT_EQ(rig.view.cursorColumn, 30);
    EXPECT_EQ(rig.session.hodographTable.cell(1, 2), "3.8");
    EXPECT_EQ(rig.session.hodographTable.cell(1, 3), "4.44");
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, {2 * 5, 90}));
    const FrameRecord& now = s.frame(5);
    EXPECT_FALSE(s.frame(30).status() & status::HodographMark);
    EXPECT_TRUE(now.status() & status::HodographMark);
    EXPECT_EQ(boundaryRow(now, 2), 150);
    EXPECT_EQ(boundaryRow(now, 1), 90); // the pick itself
    EXPECT_EQ(hodographCode(now, 3), 444);
    EXPECT_EQ(layerCode(now, 8), 333);
    int marks = 0;
    for (int f = 0; f <= s.frameCount; ++f)
        marks += (s.frame(f).status() & status::HodographMark) != 0;
    EXPECT_EQ(marks, 1);
}

TEST(HodographMethod, FrameOutsideAProfileDrawsNothing) {
    demo::DemoParams p = demo::gatherParams();
    p.profiles = 2;
    Rig rig(p);
    rig.settings.method = VelocityMethod::Hodograph;
    auto c = rig.context();
    const int gapColumn = p.framesPerProfile + 2;
    const auto out = Image9MouseDown(c, MouseButton::Left, {2 * gapColumn, 100});
    ASSERT_TRUE(out);
    EXPECT_FALSE(out->measured);
    EXPECT_TRUE(rig.session.drawing.lines.empty());
    EXPECT_FALSE(rig.store->frame(gapColumn).status() & status::HodographMark);
}

} // namespace
} // namespace tesk::testing
