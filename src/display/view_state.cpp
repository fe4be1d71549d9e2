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

int nextViewStart(const ProfileStore& s, int viewStart, int item, NavKeys keys) {
    if (viewStart >= MAX_VIEW_START) return viewStart;
    int v = viewStart;
    if (keys.leftShift && keys.leftCtrl) return viewStart;
    if (keys.leftCtrl) {
        v = s.frameCount < 510 ? 0 : s.frameCount - 510;
    } else if (keys.leftShift || item == 7) {
        v = nextProfileStart(s, viewStart);
    } else {
        v += items::VIEW_STEP_FRAMES[std::size_t(std::clamp(item, 0, 6))];
    }
    return std::min(v, MAX_VIEW_START);
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
    // Five mask positions; a blank or a missing position counts as 0.
    int n = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const char c = i < text.size() ? text[i] : '0';
        n = n * 10 + ((c >= '0' && c <= '9') ? c - '0' : 0);
    }
    n = n / 20 * 20;
    // Capped at the last used slot, and the window never starts past the
    // last full screen of the store (49480 is itself a multiple of 20).
    return std::min({n, int(s.frameCount), MAX_VIEW_START});
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
