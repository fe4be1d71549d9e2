#pragma once
// What the interpretation tests share: a store filled with a synthetic
// survey, the display raster filled from it as the radargram shows it, and
// the state one velocity or boundary event works on.

#include "demo_survey.h"
#include "display/amplitude.h"
#include "display/raster_fill.h"
#include "interpretation/velocity_fit.h"
#include "support/store_test_support.h"

#include <memory>

namespace tesk::testing {

struct Rig {
    explicit Rig(const demo::DemoParams& p) : params(p), store(newStore()) {
        EXPECT_EQ(demo::validate(p), "");
        demo::fillDemoSurvey(*store, p);
        settings = velocitySettingsFromHeader(store->header);
        refill();
    }
    // The raster as the radargram shows the view (no filters, no gain).
    void refill() { fillRaster(*raster, *store, store->viewStart); }
    VelocityContext context() {
        return VelocityContext{
            *store, *raster, view, session, points, settings, storedLevelTable(0), ui};
    }
    // The overlay pixel of frame f and sample row r.
    static Point pixel(int column, int row) { return {2 * column, row}; }

    demo::DemoParams params;
    StorePtr store;
    std::unique_ptr<DisplayRaster> raster = std::make_unique<DisplayRaster>();
    ViewState view;
    VelocitySession session;
    PointTable points;
    VelocitySettings settings;
    RecordingInteraction ui;
};

// A survey of one profile over one point object in a soil of Vgr 7.00 cm/ns
// (velocity code 700): flat ground, no antenna ringing, 0.5 ns per sample,
// 5 cm step.
inline demo::DemoParams diffractorParams(double x, double depth, double noise = 0) {
    demo::DemoParams p;
    p.profiles = 1;
    p.framesPerProfile = 400;
    p.timeRangeItem = 1;
    p.stepItem = 2;
    p.velocityItem = 8; // 700
    p.reliefWave1 = 0;
    p.reliefWave2 = 0;
    p.noise = noise;
    p.ringingCodes = 0;
    p.diffractors = {{x, 0, depth, 1.0}};
    return p;
}

} // namespace tesk::testing
