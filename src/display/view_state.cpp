#include "display/view_state.h"

#include "display/raster_fill.h"
#include "store/settings_catalog.h"

#include <algorithm>
#include <string>

namespace tesk {

namespace {
bool inProfile(const ProfileStore& s, int f) {
    return f >= 0 && f <= MAX_FRAME_INDEX && s.frame(f).inProfile();
}
} // namespace

int lastViewStart(const ProfileStore& s) {
    return std::clamp(s.frameCount - VIEW_FRAMES, MAX_VIEW_START,
                      MAX_FRAME_INDEX + 1 - VIEW_FRAMES);
}

int nextViewStart(const ProfileStore& s, int viewStart, int item, NavKeys keys) {
    const int last = lastViewStart(s);
    if (viewStart >= last) return viewStart;
    int v = viewStart;
    if (keys.leftShift && keys.leftCtrl) return viewStart;
    if (keys.leftCtrl) {
        v = s.frameCount < 510 ? 0 : s.frameCount - 510;
    } else if (keys.leftShift || item == 7) {
        v = nextProfileStart(s, viewStart);
    } else {
        v += items::VIEW_STEP_FRAMES[std::size_t(std::clamp(item, 0, 6))];
    }
    return std::min(v, last);
}

int previousViewStart(const ProfileStore& s, int viewStart, int item, NavKeys keys) {
    if (viewStart <= 0) return viewStart;
    int v = viewStart;
    if (keys.leftCtrl) {
        v = 0;
    } else if (keys.leftShift || item == 7) {
        const int f = viewStart - 1;
        if (inProfile(s, f)) {
            v = profileStart(s, f);
        } else {
            // In a gap: back over the gap, then to the start of that profile.
            int i = f;
            while (i > 0 && !inProfile(s, i)) --i;
            v = inProfile(s, i) ? profileStart(s, i) : 0;
        }
    } else {
        v -= items::VIEW_STEP_FRAMES[std::size_t(std::clamp(item, 0, 6))];
    }
    return std::max(v, 0);
}

int typedViewStart(const ProfileStore& s, const std::string& text) {
    // The field holds five positions: at most five digits make the number.
    int n = 0;
    int digits = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') continue;
        if (++digits > 5) break;
        n = n * 10 + (c - '0');
    }
    n = n / 20 * 20;
    // Capped at the last used slot and at the last screen of the survey.
    return std::min({n, int(s.frameCount), lastViewStart(s)});
}

bool pictureCell(const ViewState& v, Point p, int& column, int& row) {
    const int dx = p.x - v.ViewOrigin.x;
    const int dy = p.y - v.ViewOrigin.y;
    if (dx < 0 || dx > 1021 || dy < 0 || dy > 511) return false;
    column = dx / 2;
    row = dy;
    return true;
}

} // namespace tesk
