// Time to depth: the conversion against the radargram's depth scale and
// hand-computed layered cases, the depth scale after a measurement, and the
// depth section's re-sampling and colours.

#include "display/overlay.h"
#include "interpretation/depth_section.h"
#include "interpretation/time_depth.h"
#include "interpretation_rig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tesk::testing {
namespace {

TEST(TimeDepth, UniformVelocityAgreesWithTheDepthScale) {
    auto s = newStore();
    struct Case {
        int code, antenna;
        bool zeroLine;
        double nsPerRow;
    };
    const Case cases[] = {{500, 0, false, 1},   {1000, 100, false, 0.5}, {167, 100, true, 2},
                          {700, 1000, true, 1}, {700, 1000, false, 1},   {1500, 30, true, 0.25}};
    for (const auto& c : cases) {
        s->setVelocity(uint16_t(c.code));
        OverlaySettings o;
        o.antennaCm = c.antenna;
        o.zeroLine = c.zeroLine;
        o.nsPerRow = c.nsPerRow;
        o.depthStepCm = 50;
        const TimeDepth m = TimeDepth::uniform(
            c.code, c.antenna, c.zeroLine ? TimeZero::AirWave : TimeZero::GroundWave);
        const auto marks = depthScale(*s, o);
        ASSERT_GT(marks.size(), 2u);
        for (const DepthMark& mark : marks) {
            EXPECT_NEAR(m.timeNs(mark.depthCm), mark.timeNs, 1e-9) << c.code << " " << mark.depthCm;
            if (mark.depthCm > 0) {
                EXPECT_NEAR(m.depthCm(mark.timeNs), mark.depthCm, 1e-6) << c.code;
            }
        }
    }
}

TEST(TimeDepth, LayeredModelOfHandComputedCases) {
    struct Probe {
        double t, depth;
    };
    struct Case {
        const char* name;
        BoundaryRows rows;
        std::array<int, LAYERS> codes;
        double nsPerRow;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // 10 cm/ns to 100 ns, 4 cm/ns to 150 ns, then the reference 5 cm/ns.
        {"two layers",
         {100, 150, 0, 0, 0, 0, 0},
         {1000, 400, 0, 0, 0, 0, 0, 0},
         1.0,
         {{50, 500}, {100, 1000}, {125, 1100}, {150, 1200}, {200, 1450}}},
        // Boundary 2 is absent: layer 3 reaches from 60 ns to 100 ns.
        {"a gap in the numbers",
         {120, 0, 200, 0, 0, 0, 0},
         {500, 900, 400, 0, 0, 0, 0, 300},
         0.5,
         {{60, 300}, {80, 380}, {100, 460}, {110, 490}}},
        // Boundary 2 above boundary 1 ends no layer.
        {"out of order",
         {100, 50, 0, 0, 0, 0, 0},
         {1000, 200, 0, 0, 0, 0, 0, 600},
         1.0,
         {{100, 1000}, {150, 1300}}},
    };
    for (const auto& c : cases) {
        const TimeDepth m = TimeDepth::layered(c.rows, c.codes, c.nsPerRow, 500);
        for (const Probe& p : c.probes) {
            EXPECT_NEAR(m.depthCm(p.t), p.depth, 1e-9) << c.name << " at " << p.t;
            EXPECT_NEAR(m.timeNs(p.depth), p.t, 1e-9) << c.name << " at " << p.depth;
        }
    }
    // The table counts boundaries at whole nanoseconds, the section at rows.
    const BoundaryRows r{101, 0, 0, 0, 0, 0, 0};
    const std::array<int, LAYERS> codes{1000, 0, 0, 0, 0, 0, 0, 200};
    EXPECT_EQ(TimeDepth::layered(r, codes, 0.5, 500).span(1).topNs, 50); // Round(50.5), to even
    EXPECT_EQ(TimeDepth::layered(r, codes, 0.5, 500, BoundaryTimes::Exact).span(1).topNs, 50.5);
}

TEST(TimeDepth, DepthScaleFollowsTheMeasuredVelocity) {
    Rig rig(diffractorParams(1000, 600));
    auto c = rig.context();
    ASSERT_TRUE(Image9MouseDown(c, MouseButton::Left, {400, 171}));
    const auto out = Image9MouseDown(c, MouseButton::Right, {500, 198});
    ASSERT_TRUE(out && out->measured);
    OverlaySettings o = overlaySettingsFromHeader(*rig.store);
    o.depthStepCm = 100;
    const double v = out->velocityCode / 100.0;
    for (const DepthMark& m : depthScale(*rig.store, o))
        EXPECT_EQ(m.row, int(std::trunc(m.depthCm / v / o.nsPerRow))) << m.depthCm;
    // The permittivity shown with it is (15 / Vgr)^2 to two decimals.
    EXPECT_DOUBLE_EQ(rig.store->permittivity,
                     std::nearbyint(2.25e8 / (double(out->velocityCode) * out->velocityCode)) /
                         100);
}

// --- depth section ---------------------------------------------------------------

// Raster row q of a section test: codes 20 + row % 200 and the given
// boundaries and layer velocities in its attribute columns.
void setRow(DisplayRaster& r, int q, BoundaryRows rows, std::array<int, LAYERS> codes) {
    uint8_t* row = r.row(0, q);
    for (int i = 0; i < SAMPLE_ROWS; ++i) row[i] = uint8_t(20 + i % 200);
    FrameRecord f;
    for (int k = 1; k <= BOUNDARIES; ++k) setBoundaryRow(f, k, rows[std::size_t(k - 1)]);
    for (int k = 1; k <= LAYERS; ++k) setLayerCode(f, k, codes[std::size_t(k - 1)]);
    std::copy(f.value.begin() + SAMPLE_ROWS, f.value.end(), row + SAMPLE_ROWS);
}

uint8_t source(int row) {
    return uint8_t(20 + row % 200);
}

TEST(DepthSection, LayersWithTheReferenceVelocityStayAsTheyAre) {
    DisplayRaster r;
    for (int q = 0; q < 553; ++q) setRow(r, q, {100, 180, 0, 0, 0, 0, 0}, {});
    DepthSectionSettings s;
    s.referenceCode = 500;
    const auto traces = convertDepthSection(r, s);
    for (int q : {0, 20, 300, 552}) {
        for (int i = 0; i <= 510; ++i) ASSERT_EQ(r.at(0, q, i), source(i)) << q << " " << i;
        const SectionTrace& t = traces[std::size_t(q)];
        EXPECT_EQ(t.top[1], 0);
        EXPECT_EQ(t.bottom[1], 100);
        EXPECT_EQ(t.top[2], 100);
        EXPECT_EQ(t.bottom[2], 180);
        EXPECT_EQ(t.top[8], 180);
        EXPECT_EQ(t.bottom[8], 510);
        EXPECT_TRUE(t.tick[1] && t.tick[2] && !t.tick[8]);
        EXPECT_FALSE(t.drawn[3]);
    }
    // The source is kept in plane 1.
    EXPECT_EQ(r.at(1, 20, 7), source(7));
}

TEST(DepthSection, FastLayersStretchAndSlowLayersCompress) {
    struct Case {
        const char* name;
        int vs1; // layer 1, 50 rows thick; reference 500
        int drawn;
    };
    const Case cases[] = {{"twice as fast", 1000, 100}, {"half as fast", 250, 25}};
    for (const auto& c : cases) {
        DisplayRaster r;
        setRow(r, 20, {50, 0, 0, 0, 0, 0, 0}, {c.vs1, 0, 0, 0, 0, 0, 0, 0});
        DepthSectionSettings s;
        s.referenceCode = 500;
        const SectionTrace t = convertDepthSection(r, s)[20];
        EXPECT_EQ(t.bottom[1], c.drawn) << c.name;
        EXPECT_EQ(t.top[8], c.drawn) << c.name;
        const uint8_t* out = r.row(0, 20);
        for (int d = 0; d < c.drawn; ++d) {
            const int expected =
                c.vs1 > 500 ? source(d / 2)
                            : int(std::nearbyint((source(2 * d) + source(2 * d + 1)) / 2.0));
            EXPECT_EQ(out[d], expected) << c.name << " row " << d;
        }
        // Below the layer the trace goes on one for one from row 50.
        for (int d = c.drawn; d < c.drawn + 100; ++d)
            EXPECT_EQ(out[d], source(50 + d - c.drawn)) << c.name;
    }
}

TEST(DepthSection, TraceFadesBelowTheLastLayerAndReliefShiftsIt) {
    DisplayRaster r;
    // Layer 8 three times slower than the reference: 411 rows drawn as 137.
    setRow(r, 20, {100, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 200});
    FrameRecord height;
    height.set24(cell::ReliefHeight, 100);
    std::copy(height.value.begin() + cell::ReliefHeight,
              height.value.begin() + cell::ReliefHeight + 3, r.row(0, 20) + cell::ReliefHeight);
    DepthSectionSettings s;
    s.referenceCode = 600;
    s.relief = {true, 1100, 500, 1.0, 1.0}; // (1100 - 100) 100 / 500 = 200 rows down
    const SectionTrace t = convertDepthSection(r, s)[20];
    EXPECT_EQ(t.top[1], 200);
    EXPECT_EQ(t.bottom[1], 300);
    EXPECT_EQ(t.top[8], 300);
    const uint8_t* out = r.row(0, 20);
    // 411 source rows at a third: 137 target rows, to 437; then each row one code lower.
    const int end = 300 + 137;
    for (int d = end + 1; d < 511; ++d) EXPECT_EQ(out[d], out[d - 1] - 1) << d;
}

TEST(DepthSection, ImageShowsTheLayersInTheirColours) {
    DisplayRaster r;
    for (int q = 0; q < 553; ++q) setRow(r, q, {100, 200, 0, 0, 0, 0, 0}, {});
    DepthSectionSettings s;
    s.colours[1] = 0x0000FF; // red
    s.colours[2] = 0;        // no colour
    s.colours[8] = 0x00FF00; // green
    QImage image = newOverlayImage();
    ShowLayers(r, image, s);
    EXPECT_EQ(image.pixel(0, 50), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(1, 50), 0u);           // one pixel wide
    EXPECT_EQ(image.pixel(1, 100), 0xFFFF0000u); // the boundary tick is two pixels wide
    EXPECT_EQ(image.pixel(0, 150), 0u);          // layer 2 has no colour
    EXPECT_EQ(image.pixel(1022, 300), 0xFF00FF00u);
    EXPECT_EQ(image.pixel(1022, 510), 0u);
}

} // namespace
} // namespace tesk::testing
