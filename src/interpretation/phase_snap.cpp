#include "interpretation/phase_snap.h"

#include "store/profile_store.h"

#include <algorithm>

namespace tesk {

namespace {

constexpr int ZERO_CODE = 128;
constexpr int LAST_ROW = SAMPLES_PER_FRAME - 1; // 511

int sign(int code) {
    return code > ZERO_CODE ? 1 : code < ZERO_CODE ? -1 : 0;
}

// The climb towards an extremum of the pick walk. `beats(a, b)` says that
// code b lies further in the sought direction than code a.
template <class Beats>
std::optional<int> climbPick(const uint8_t* a, int r, int steps, Beats beats) {
    bool climbing = false;
    int plateau = 0;
    for (int step = 0; step < steps && r > 0 && r < LAST_ROW; ++step) {
        const int here = a[r], below = a[r + 1];
        if (beats(here, below)) {
            // Still rising towards the extremum: a flat stretch passed on
            // the way was a shoulder, not the top.
            climbing = true;
            plateau = 0;
            ++r;
        } else if (here == below) {
            if (!climbing) {
                --r;
            } else {
                ++r;
                ++plateau;
            }
        } else {
            if (climbing) return r - plateau / 2;
            --r;
        }
    }
    return std::nullopt;
}

std::optional<int> zeroPick(const uint8_t* a, int r, int steps) {
    if (r < 0 || r > LAST_ROW) return std::nullopt;
    const int start = sign(a[r]);
    if (start == 0) {
        // On the zero level itself: the top of this run of zero codes.
        int u = r;
        while (u > 0 && a[u - 1] == ZERO_CODE) --u;
        if (u == 0) return std::nullopt;
        return u;
    }
    for (int step = 1; step <= steps; ++step) {
        const int u = r - step, w = r + step;
        if (u < 2 && w > LAST_ROW - 1) break;
        if (u >= 0 && (a[u] == ZERO_CODE || sign(a[u]) != start)) return u;
        if (w <= LAST_ROW && (a[w] == ZERO_CODE || sign(a[w]) != start)) return w;
    }
    return std::nullopt;
}

// The extremum walk of a boundary: direction none, up or down; a flat top
// counts from the end the walk reached.
template <class Beats>
int climbBoundary(const uint8_t* a, int shift, int r, int lowest, Beats beats) {
    enum { None, Up, Down } d = None;
    int plateau = 0;
    for (int step = 0; step < 512; ++step) {
        if (!(shift + r < LAST_ROW && r > lowest)) break; // nothing more changes
        const int here = a[shift + r], below = a[shift + r + 1];
        if (beats(here, below)) {
            if (d == None) d = Down;
            if (d == Up) return r + 1 + plateau / 2;
            plateau = 0; // a rise after a shoulder
            ++r;
        } else if (here == below) {
            if (d == None) {
                ++r;
            } else if (d == Up) {
                --r;
                ++plateau;
            } else {
                ++r;
                ++plateau;
            }
        } else {
            if (d == None) d = Up;
            if (d == Down) return r - plateau + plateau / 2;
            plateau = 0;
            --r;
        }
    }
    return r;
}

int zeroBoundary(const uint8_t* a, int shift, int r) {
    if (!(shift + r < LAST_ROW && r > 0)) return r;
    // The downward candidate stays on the trace's samples.
    const int lastW = std::min(LAST_ROW, SAMPLE_ROWS - 1 - shift);
    int sigma = sign(a[shift + r]);
    int u = r, w = r;
    for (int step = 0; step < 511; ++step) {
        const int au = a[shift + u];
        if (au == ZERO_CODE) {
            sigma = 0;
        } else if (sigma == 0) {
            return u + 1;
        } else if (sign(au) != sigma) {
            return u;
        }
        if (w <= lastW) {
            const int aw = a[shift + w];
            if (aw == ZERO_CODE) {
                if (sigma != 0) return w;
            } else if (sigma != 0 && sign(aw) != sigma) {
                return w;
            }
        }
        if (u > 1) --u;
        if (w < LAST_ROW) ++w;
        if (u < 2 && w > LAST_ROW - 1) break;
    }
    return r;
}

} // namespace

Phase phaseOfItem(int item) {
    return item == 1 ? Phase::Zero : item == 2 ? Phase::Minimum : Phase::Maximum;
}

std::optional<int> snapPick(const uint8_t* trace, int row, Phase phase, int steps) {
    switch (phase) {
    case Phase::Maximum:
        return climbPick(trace, row, steps, [](int a, int b) { return a < b; });
    case Phase::Minimum:
        return climbPick(trace, row, steps, [](int a, int b) { return a > b; });
    case Phase::Zero:
        return zeroPick(trace, row, std::min(steps, 511));
    }
    return std::nullopt;
}

int snapBoundaryRow(const uint8_t* trace, int shift, int row, Phase phase) {
    shift = std::max(shift, 0);
    row = std::clamp(row, 0, LAST_ROW);
    switch (phase) {
    case Phase::Maximum:
        return climbBoundary(trace, shift, row, 0, [](int a, int b) { return a < b; });
    case Phase::Minimum:
        return climbBoundary(trace, shift, row, 1, [](int a, int b) { return a > b; });
    case Phase::Zero:
        return zeroBoundary(trace, shift, row);
    }
    return row;
}

} // namespace tesk
