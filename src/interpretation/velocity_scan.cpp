// The automatic velocity methods over a common-midpoint gather: tracking one
// phase from the cursor (method 2) and the velocity scan over the gather
// that starts at the cursor's profile (method 3).

#include "interpretation/layer_cells.h"
#include "interpretation/table_text.h"
#include "interpretation/velocity_methods.h"

#include <algorithm>
#include <cmath>

namespace tesk::velocity {

namespace {

constexpr uint32_t TRACK_COLOUR = 0x00FF00;
constexpr uint32_t TEXT_COLOUR = 0xFFFF00;
constexpr int MAX_TRACK_JUMP = 4; // rows between neighbouring frames of one phase
constexpr int FIRST_ESTIMATE = 5; // the sixth tracked frame gives the first velocity
constexpr int SCAN_FRAMES = 200;
constexpr int SCAN_FIRST_ROW = 10;
constexpr int SCAN_LAST_ROW = 490;
constexpr int SCAN_TOP = 3;
constexpr int SCAN_BOTTOM = 495;
constexpr int SCAN_SPEEDS = 134; // wave speeds (16 + j) / 5 cm/ns, j = 0..133

// Round half to even of a row that may be negative, without the library's
// rounding call in the scan's inner loop.
inline int roundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    int i = int(f);
    if (d > 0.5 || (d == 0.5 && (i & 1))) ++i;
    return i;
}

} // namespace

VelocityOutcome tracking(VelocityContext& c) {
    VelocityOutcome out;
    out.velocityCode = c.store.velocityCode;
    const ViewState& v = c.view;
    const VelocitySettings& s = c.settings;
    const int start = v.cursorColumn;
    if (displayedTrace(c.raster, start)[std::clamp(v.cursorRow, 0, LAST_SAMPLE_ROW)] == 0)
        return out;

    // The run of in-profile frames around the cursor within the view.
    auto inProfile = [&](int column) {
        const int f = c.store.viewStart + column;
        return f >= 0 && f <= MAX_FRAME_INDEX && c.store.frame(f).inProfile();
    };
    int F = start, E = start;
    while (F > 0 && inProfile(F - 1)) --F;
    while (E < VIEW_FRAMES - 1 && inProfile(E + 1)) ++E;

    OverlayDrawing& d = c.session.drawing;
    OverlayPolyline track{TRACK_COLOUR, 2, {}};
    int r = std::clamp(v.cursorRow, 0, LAST_SAMPLE_ROW);
    int startRow = r;
    int running = 0;
    for (int col = start; col <= E; ++col) {
        const uint8_t* a = displayedTrace(c.raster, col);
        if (a[r] == 0) break; // no data
        const int next = snapPickRow(a, r, s.phase, 511);
        if (col == start) {
            startRow = next;
            d.lines.push_back({TRACK_COLOUR, 1, {{2 * col - 3, next}, {2 * col + 4, next}}});
            track.points.push_back({2 * col, next});
        } else {
            if (std::abs(next - r) > MAX_TRACK_JUMP) break; // lost the phase
            track.points.push_back({2 * col, next});
        }
        r = next;
        if (col - start < FIRST_ESTIMATE) continue;
        const auto vk =
            separationVelocityCode(s.antennaCm, s.stepCm, col - start, startRow * s.nsPerRow,
                                   r * s.nsPerRow, MIN_HYPERBOLA_CODE);
        if (!vk) continue; // this frame's point measures nothing
        const int limited = std::clamp(*vk, MIN_HYPERBOLA_CODE, MAX_VELOCITY_CODE);
        running = running == 0 ? limited : int(std::nearbyint((running + limited) / 2.0));
    }
    if (track.points.size() > 1) d.lines.push_back(std::move(track));
    // Fewer than six frames give no estimate: the velocity of 5 cm/ns stands.
    const int code = running > 0 ? running : 500;
    d.texts.push_back({{2 * F - 38, startRow - 6}, TEXT_COLOUR, formatVgr(code, '.')});
    commitVelocity(c.store, code);
    out.measured = true;
    out.velocityCode = code;
    return out;
}

VelocityOutcome scan(VelocityContext& c) {
    VelocityOutcome out;
    out.velocityCode = c.store.velocityCode;
    const ProfileStore& st = c.store;
    const VelocitySettings& s = c.settings;
    if (s.nsPerRow <= 0) return out;

    // The gather: the profile at the cursor or the first one after it.
    int first = frameOfColumn(st, c.view.cursorColumn);
    if (st.frame(first).inProfile()) {
        while (first > 0 && st.frame(first - 1).inProfile()) --first;
    } else {
        const int end = std::min(st.frameCount, MAX_FRAME_INDEX);
        while (first <= end && !st.frame(first).inProfile()) ++first;
        if (first > end) return out;
    }
    int count = 0;
    while (count < SCAN_FRAMES && first + count <= MAX_FRAME_INDEX &&
           st.frame(first + count).inProfile())
        ++count;
    if (count < 2) return out;

    // The codes as displayed where the raster holds the frame, as stored
    // elsewhere (a gather may start left of the view).
    std::vector<const uint8_t*> traces(static_cast<std::size_t>(count));
    for (int m = 0; m < count; ++m) {
        const int row = first + m - st.viewStart + DisplayRaster::FIRST_VIEW_ROW;
        traces[std::size_t(m)] =
            row >= 0 && row < 553 ? c.raster.row(0, row) : st.frame(first + m).value.data();
    }
    const uint8_t* a = traces[0];

    // Separation of every frame of the gather, its square and its air wave.
    const double A = s.antennaCm;
    const double perRow = 1.0 / s.nsPerRow;
    std::vector<double> squared(static_cast<std::size_t>(count)), airWave(squared.size());
    for (int m = 0; m < count; ++m) {
        const double X = A + 2.0 * s.stepCm * m;
        squared[std::size_t(m)] = X * X;
        airWave[std::size_t(m)] = X / 30;
    }

    c.ui.passStarted(Interaction::Pass::Scan, "");
    OverlayDrawing& d = c.session.drawing;
    const int x0 = 2 * (first - st.viewStart);
    std::vector<int> rows(static_cast<std::size_t>(count));
    std::vector<int> bestRows(static_cast<std::size_t>(count));
    int direction = 0, plateau = 0;
    int best = -1; // the strongest bounded result
    for (int r = SCAN_FIRST_ROW; r <= SCAN_LAST_ROW; ++r) {
        c.ui.progress(r, 511);
        const int step = int(a[r]) - int(a[r - 1]);
        if (step == 0) {
            ++plateau;
            continue;
        }
        const int turning = (step < 0 && direction > 0) ? 1 : (step > 0 && direction < 0) ? -1 : 0;
        const int extremum = r - plateau / 2 - 1;
        direction = step > 0 ? 1 : -1;
        plateau = 0;
        if (turning == 0) continue;
        const bool maximum = turning > 0;
        const int startCode = a[extremum];
        const double t0 = extremum * s.nsPerRow + A / 30;
        long bestSum = maximum ? -1 : (1L << 40);
        int bestJ = -1;
        for (int j = 0; j < SCAN_SPEEDS; ++j) {
            const double v = (16 + j) / 5.0; // wave speed, twice Vgr
            const double h2 = (v * t0) * (v * t0) - A * A;
            if (h2 < 0) continue;
            const double perV = 1.0 / v;
            long sum = startCode;
            for (int m = 1; m < count; ++m) {
                const double t =
                    std::sqrt(squared[std::size_t(m)] + h2) * perV - airWave[std::size_t(m)];
                const int row = roundHalfEven(t * perRow);
                rows[std::size_t(m)] = row;
                sum += (row >= SCAN_TOP && row <= SCAN_BOTTOM) ? traces[std::size_t(m)][row]
                                                               : 255 - startCode;
            }
            if (maximum ? sum > bestSum : sum < bestSum) {
                bestSum = sum;
                bestJ = j;
                bestRows = rows;
            }
        }
        if (bestJ < 0) continue;
        ScanResult result;
        result.row = extremum;
        result.maximum = maximum;
        result.velocityCode = (16 + bestJ) * 10;
        result.strength = std::abs(double(bestSum) / count - 128.0);
        // A winner at either end of the trial speeds lies outside them.
        const bool bounded = bestJ > 0 && bestJ < SCAN_SPEEDS - 1;
        out.scan.push_back(result);
        if (bounded && (best < 0 || result.strength > out.scan[std::size_t(best)].strength))
            best = int(out.scan.size()) - 1;

        // The mark, the velocity and the winning curve.
        d.lines.push_back(
            {maximum ? 0x0000FFu : 0xDD0000u, 1, {{x0 - 4, extremum}, {x0 + 4, extremum}}});
        d.texts.push_back({{x0 + 6, extremum - 7},
                           maximum ? 0x00FFFFu : 0x00FF00u,
                           formatVgr(result.velocityCode, '.')});
        const uint32_t c1 = maximum ? 0x00FFFF : 0x00FF00;
        const uint32_t c2 = maximum ? 0x0000FF : 0xDD0000;
        const uint32_t c3 = maximum ? 0x00FFFF : 0xFFFF00;
        for (int m = 1; m < count; ++m) {
            const int row = bestRows[std::size_t(m)];
            if (row < SCAN_TOP || row > SCAN_BOTTOM) break;
            const int x = x0 + 2 * m;
            if (x < 0 || x > OVERLAY_WIDTH - 2) continue;
            d.pixels.push_back({{x, row}, c1});
            d.pixels.push_back({{x + 1, row}, c2});
            d.pixels.push_back({{x, row + 1}, c3});
            d.pixels.push_back({{x + 1, row + 1}, c2});
        }
    }
    c.ui.passFinished();
    // The soil velocity is the one of the strongest reflection the scan
    // followed; the others stay written beside their extrema.
    if (best >= 0) {
        out.measured = true;
        out.velocityCode = out.scan[std::size_t(best)].velocityCode;
        commitVelocity(c.store, out.velocityCode);
    }
    return out;
}

} // namespace tesk::velocity
