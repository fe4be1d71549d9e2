// The passes that follow the lines of a companion coordinate file: times
// between the fixes of every profile run, heights between the heights read,
// and the first and last known position copied to the ends of every run.

#include "coordinates/frame_fields.h"
#include "coordinates/imports.h"

#include <cmath>

namespace tesk::coords {

namespace {

uint32_t parkedHeight(const FrameRecord& f) {
    return (uint32_t(f.work[cell::ReliefHeight]) << 16) |
           (uint32_t(f.work[cell::ReliefHeight + 1]) << 8) | f.work[cell::ReliefHeight + 2];
}

// The end of the walk: frames 0 .. frameCount - 1.
int walkEnd(const ProfileStore& s) {
    return lastSlot(s);
}

} // namespace

void fillCorTimes(ProfileStore& s) {
    const int end = walkEnd(s);
    int k = 0;
    bool inRun = false, fixSeen = false, interpolated = false;
    double L = 0, D = 0; // seconds of day of the last fix, seconds per frame
    int Lh = 0;
    for (int j = 0; j < end; ++j) {
        FrameRecord& f = s.frame(j);
        if (f.inProfile()) {
            if (!inRun) {
                k = j;
                fixSeen = interpolated = false;
            }
            if (fixSeen && carriesTime(f)) {
                double T = timeOfDay(f);
                // A run across midnight counts on into the next day.
                T += SECONDS_PER_DAY * std::floor(L / SECONDS_PER_DAY);
                if (L - T > SECONDS_PER_DAY / 2) T += SECONDS_PER_DAY;
                if (j - k > 1) {
                    D = (T - L) / (j - k);
                    double C = L;
                    for (int m = k + 1; m < j; ++m) {
                        C += D;
                        setTimeHundredths(s.frame(m), roundToInt(C * 100));
                    }
                    interpolated = true;
                }
                L = T;
                Lh = f.value[cell::Hundredths];
                k = j;
            } else if (!fixSeen) {
                L = timeOfDay(f);
                Lh = 0;
                if (carriesTime(f)) {
                    // The frames before the run's first fix: one second earlier,
                    // the hundredths rising towards the fix.
                    const int n = j - k;
                    for (int m = 1; m <= n; ++m) {
                        FrameRecord& g = s.frame(k + m - 1);
                        setTimeHundredths(g, (int64_t(L) - 1) * 100);
                        g.value[cell::Hundredths] = uint8_t(roundToInt(m * 100.0 / (n + 1)));
                    }
                    fixSeen = true;
                    k = j;
                }
            }
            inRun = true;
        } else {
            if (inRun && j - k > 1) {
                if (interpolated) {
                    double C = L + Lh / 100.0;
                    for (int m = k + 1; m < j; ++m) {
                        C += D;
                        setTimeHundredths(s.frame(m), roundToInt(C * 100));
                    }
                } else if (fixSeen) {
                    // No step is known in this run: the frames after its last
                    // fix keep the fix's second, the hundredths rising from it.
                    const int n = j - k - 1;
                    for (int m = 1; m <= n; ++m) {
                        FrameRecord& g = s.frame(k + m);
                        setTimeHundredths(g, int64_t(L) * 100);
                        g.value[cell::Hundredths] = uint8_t(roundToInt(m * 100.0 / (n + 1)));
                    }
                }
            }
            k = j;
            inRun = fixSeen = interpolated = false;
        }
    }
}

void fillCorHeights(ProfileStore& s) {
    const int end = walkEnd(s);
    int k = 0;
    bool inRun = false, fixSeen = false;
    uint32_t P = 0;
    for (int j = 0; j < end; ++j) {
        FrameRecord& f = s.frame(j);
        const uint32_t h = parkedHeight(f);
        if (f.inProfile()) {
            if (!inRun) {
                k = j;
                fixSeen = false;
            }
            if (fixSeen && h != 0) {
                const int n = j - k;
                for (int m = 1; m < n; ++m)
                    s.frame(k + m).set24(cell::ReliefHeight,
                                         uint32_t(roundToInt(P + (double(h) - P) * m / n)));
                f.set24(cell::ReliefHeight, h);
                P = h;
                k = j;
            } else if (!fixSeen) {
                if (h != 0) {
                    for (int m = k; m <= j; ++m) s.frame(m).set24(cell::ReliefHeight, h);
                    fixSeen = true;
                    // The first height is the anchor of what follows.
                    k = j;
                }
                P = h;
            }
            inRun = true;
        } else {
            // Frames after the run's last height keep it; gap frames get none.
            if (inRun && j - k > 1)
                for (int m = k; m < j; ++m) s.frame(m).set24(cell::ReliefHeight, P);
            k = j;
            inRun = fixSeen = false;
        }
    }
}

void fillRunEndPositions(ProfileStore& s) {
    const int end = walkEnd(s);
    int E = 0, state = 0;
    auto copyPosition = [&](int from, int to) {
        std::copy(s.frame(from).value.begin() + cell::LonDegrees,
                  s.frame(from).value.begin() + cell::LatFraction + 3,
                  s.frame(to).value.begin() + cell::LonDegrees);
    };
    for (int j = 0; j < end; ++j) {
        const FrameRecord& f = s.frame(j);
        if (f.inProfile()) {
            if (hasGeoCells(f)) {
                if (state == 1) copyPosition(j, E);
                state = 3;
                E = j;
            } else {
                if (state == 0) E = j;
                state |= 1;
            }
        } else {
            // Only the frame after a run: gap frames get no position.
            if (state != 0 && j - E > 1) copyPosition(E, j - 1);
            state = 0;
        }
    }
}

} // namespace tesk::coords
