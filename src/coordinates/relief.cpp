#include "coordinates/relief.h"

#include "coordinates/frame_fields.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace tesk::coords {

uint16_t reliefModeState(uint16_t stateFlags) {
    // The open coordinate file stays open across the view change, and so does its bit.
    const uint16_t keep = stateFlags & state::CoordFileOpen;
    return uint16_t(
        keep |
        ((stateFlags & state::Relief) ? state::Relief : uint16_t(state::Relief | state::Changed)));
}

std::string windowItemCaption(double nsPerRow, int item) {
    const double w = WINDOW_FACTORS[size_t(std::clamp(item, 0, int(WINDOW_FACTORS.size()) - 1))];
    const int64_t v = int64_t(double(int64_t(512 * nsPerRow)) * w);
    return "    " + std::to_string(v) + "  ns";
}

double reliefScale(int velocityCode, double nsPerRow, double stretch) {
    return double(velocityCode) * nsPerRow * stretch / 100.0;
}

namespace {
uint32_t heightOf(const ProfileStore& s, int64_t frame) {
    if (frame < 0) frame = 0;
    if (frame > MAX_FRAME_INDEX) return 0;
    return s.frame(int(frame)).reliefHeight();
}
} // namespace

uint32_t windowMaximum(const ProfileStore& s, int32_t viewStart) {
    uint32_t m = 0;
    for (int k = 0; k <= RELIEF_POINTS; ++k) m = std::max(m, heightOf(s, int64_t(viewStart) + k));
    return m;
}

ReliefView reliefView(const ProfileStore& s, int32_t viewStart, bool absoluteHeight, double scale) {
    return ReliefView{viewStart, absoluteHeight ? windowMaximum(s, viewStart) : s.Hmax, scale};
}

int reliefRow(uint32_t reference, uint32_t height, double scale) {
    if (scale <= 0) scale = 1;
    const double rows = (double(reference) - double(height)) / scale;
    return int(std::clamp(roundHalfEven(rows), -1.0e6, 1.0e6));
}

std::vector<ReliefLinePoint> reliefLine(const ProfileStore& s, const ReliefView& v) {
    std::vector<ReliefLinePoint> pts;
    pts.reserve(RELIEF_POINTS);
    for (int k = 0; k < RELIEF_POINTS; ++k) {
        const uint32_t h = heightOf(s, int64_t(v.viewStart) + k);
        pts.push_back(ReliefLinePoint{2 * k, reliefRow(v.reference, h, v.scale), h != 0});
    }
    return pts;
}

void RLF_Lin(QImage& image, const ProfileStore& s, const ReliefView& v) {
    if (image.width() != RELIEF_IMAGE_WIDTH || image.height() != RELIEF_IMAGE_HEIGHT ||
        image.format() != QImage::Format_ARGB32)
        image = QImage(RELIEF_IMAGE_WIDTH, RELIEF_IMAGE_HEIGHT, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, RELIEF_IMAGE_WIDTH - 1, RELIEF_IMAGE_HEIGHT - 1);
    const auto pts = reliefLine(s, v);
    QPoint at(0, pts.front().y);
    for (const ReliefLinePoint& q : pts) {
        QPen pen(QColor::fromRgba(q.hasHeight ? RELIEF_CYAN : RELIEF_YELLOW), 2, Qt::SolidLine,
                 Qt::FlatCap, Qt::MiterJoin);
        p.setPen(pen);
        const QPoint to(q.x, q.y);
        if (to != at) p.drawLine(at, to);
        at = to;
    }
}

void ReliefEditor::mouseDown(Button b, int x, int y) {
    state_ = b == Button::Left ? 1 : 2;
    x_ = std::clamp(x, 0, RELIEF_IMAGE_WIDTH - 1);
    y_ = std::clamp(y, 1, RELIEF_IMAGE_HEIGHT);
}

bool ReliefEditor::mouseMove(ProfileStore& s, const ReliefView& v, int x, int y) {
    if (state_ == 0) return false;
    x = std::clamp(x, 0, RELIEF_IMAGE_WIDTH - 1);
    y = std::clamp(y, 1, RELIEF_IMAGE_HEIGHT);
    const int64_t c = int64_t(v.viewStart) + x / 2;
    const int64_t f = int64_t(v.viewStart) + x_ / 2;
    const int64_t d = c - f;
    if (d == 0) return false;
    const int64_t n = d < 0 ? -d : d;
    const int64_t dir = d < 0 ? -1 : 1;
    bool changed = false;
    if (state_ == 1) {
        for (int64_t t = 0; t <= n; ++t) {
            const int64_t frame = c - t * dir;
            if (frame < 0 || frame > MAX_FRAME_INDEX) continue;
            const double row = roundHalfEven(double(y) - double(t) * double(y - y_) / double(n));
            const int64_t h = int64_t(v.reference) - roundToInt(row * v.scale);
            s.frame(int(frame))
                .set24(cell::ReliefHeight, uint32_t(std::max<int64_t>(0, h)) & 0x0FFFFF);
            changed = true;
        }
    } else {
        for (int64_t t = 0; t < n; ++t) {
            const int64_t frame = c - t * dir;
            if (frame < 0 || frame > MAX_FRAME_INDEX) continue;
            s.frame(int(frame)).set24(cell::ReliefHeight, s.Hmax & 0xFFFFFF);
            changed = true;
        }
    }
    x_ = x;
    y_ = y;
    if (changed) s.stateFlags |= state::Changed;
    return changed;
}

std::string ReliefEditor::mouseUp(ProfileStore& s, char sep) {
    if (state_ == 0) return {};
    state_ = 0;
    s.setHmax(s.Hmax);
    return hmaxCaption(s.Hmax, "m", sep);
}

void smoothRelief(ProfileStore& s, bool ctrlOrShift) {
    s.stateFlags |= state::Changed;
    if (ctrlOrShift) return;
    const int N = lastSlot(s);
    for (int i = 1; i <= N - 1; ++i) {
        FrameRecord& f = s.frame(i);
        if (!f.inProfile()) continue;
        const double h = f.reliefHeight();
        const double hp = s.frame(i - 1).inProfile() ? s.frame(i - 1).reliefHeight() : h;
        const double hn = s.frame(i + 1).inProfile() ? s.frame(i + 1).reliefHeight() : h;
        f.set24(cell::ReliefHeight, uint32_t(roundToInt((hp + h + hn) / 3)));
    }
}

bool absoluteHeightKey(char c) {
    return c >= '0' && c <= '9';
}

uint32_t absoluteHeightFromText(ProfileStore& s, const std::string& text) {
    std::string t = text.empty() ? "000" : text.substr(0, 4);
    uint32_t v = 0;
    for (char c : t) v = v * 10 + uint32_t(c >= '0' && c <= '9' ? c - '0' : 0);
    s.setHmax(v);
    return v;
}

} // namespace tesk::coords
