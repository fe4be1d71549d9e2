#include "display/overlay.h"

#include "display/raster_fill.h"
#include "store/settings_catalog.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tesk {

namespace {

// Colours of the system are 0x00BBGGRR.
QColor bgr(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

constexpr uint32_t MAROON = 0x000080;
constexpr uint32_t NAVY = 0x800000;
constexpr uint32_t RED = 0x0000FF;
constexpr uint32_t BLUE = 0xFF0000;
constexpr uint32_t MAGENTA = 0xFF00FF;
constexpr uint32_t LIGHT_BLUE = 0xFFCC88;

std::string twoDigits(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// A rectangle outline as the drawing surface's Rectangle(x1, y1, x2, y2)
// draws it: from x1, y1 to x2 - 1, y2 - 1.
void outline(QPainter& p, uint32_t colour, int x1, int y1, int x2, int y2) {
    p.setPen(QPen(bgr(colour), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// A line as the drawing surface's MoveTo / LineTo draws it: the end point
// itself stays unpainted, so a tick "from Y0 - 5 to Y0" is five pixels high
// and stops above the picture. Slanted strokes only occur in closed arrow
// heads, whose end points the next stroke paints anyway.
void line(QPainter& p, uint32_t colour, int x1, int y1, int x2, int y2, bool dotted = false) {
    QPen pen(bgr(colour), 1);
    pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    if (x1 == x2 && y1 == y2) return;
    if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    else if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    p.drawLine(x1, y1, x2, y2);
}

// Text with its top-left corner at (x, y), remembered for the readouts.
void text(QPainter& p, std::vector<OverlayLabel>& drawn, uint32_t colour, int x, int y,
          const std::string& s) {
    p.setPen(bgr(colour));
    p.drawText(QRect(x, y, 400, 20), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(s));
    drawn.push_back({x, y, colour, s});
}

double tableVelocity(int item) {
    if (item <= 0) return 500; // the hodograph entry counts as 5 cm/ns here
    return VELOCITY_TABLE[std::size_t(std::min(item, int(VELOCITY_TABLE.size()) - 1))];
}

std::string degrees(uint8_t whole, uint32_t fraction) {
    char b[32];
    std::snprintf(b, sizeof b, "%.7f", whole + fraction / 10000000.0);
    return b;
}

} // namespace

std::string scaleNumber(double value) {
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", value);
    std::string s = b;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

int profileStartBackward(const ProfileStore& s, int frame) {
    int f = std::clamp(frame, 0, MAX_FRAME_INDEX);
    if (!s.frame(f).inProfile()) return f;
    while (f > 0 && s.frame(f - 1).inProfile()) --f;
    return f;
}

OverlaySettings overlaySettingsFromHeader(const ProfileStore& s) {
    const auto& h = s.header.value;
    OverlaySettings o;
    auto pick = [](const auto& table, int i) {
        return table[std::size_t(std::clamp(i, 0, int(table.size()) - 1))];
    };
    o.stepCm = pick(items::STEP_CM, h[hdr::Step]);
    o.velocityItem = h[hdr::VelocityIndex];
    o.antennaCm = pick(items::ANTENNA_CM, h[hdr::Antenna]);
    o.depthStepCm = pick(items::DEPTH_STEP_CM, h[hdr::DepthStep]);
    o.nsPerRow = pick(items::NS_PER_SAMPLE, h[hdr::TimeRange]);
    o.zeroLine = h[hdr::ViewFlags] & hdr::ZeroLine;
    o.geographic = h[hdr::CoordFlags] & hdr::Geographic;
    return o;
}

std::vector<DepthMark> depthScale(const ProfileStore& s, const OverlaySettings& o) {
    std::vector<DepthMark> marks;
    const double v = s.velocityCode / 100.0;
    if (v <= 0) return marks;
    const double p = o.nsPerRow * (o.reliefDisplay ? o.stretch : 1.0);
    const int a = o.antennaCm / 2;
    const double t0 = o.antennaCm / 30.0;
    const double z0 = a / v - t0;
    const double z = o.zeroLine ? 0.0 : z0;
    const int D = std::max(o.depthStepCm, 1);
    for (int i = 0; i <= 512; ++i) {
        const double h = double(i) * D;
        const double t = std::sqrt(h * h + double(a) * a) / v - t0 - z;
        const int y = int(std::trunc(t / p));
        if (y > 510) break;
        marks.push_back({i * D, y, t});
    }
    return marks;
}

Readouts DrawView(QImage& overlay, const ProfileStore& s, const ViewState& v,
                  const OverlaySettings& o, std::span<const OverlayPainter> painters) {
    Readouts r;
    overlay.fill(Qt::transparent);
    QPainter p(&overlay);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    p.setFont(font);
    const int X0 = v.ViewOrigin.x;
    const int Y0 = v.ViewOrigin.y;
    const int W = overlay.width();
    const int H = overlay.height();
    const int viewStart = s.viewStart;

    // Corner mark and the frame around the picture.
    line(p, RED, W - 1, H - 10, W - 1, H - 1);
    line(p, RED, W - 1, H - 1, W - 10, H - 1);
    outline(p, LIGHT_BLUE, X0 - 1, Y0 - 1, X0 + 1024, Y0 + 512);
    outline(p, NAVY, X0 - 2, Y0 - 2, X0 + 1025, Y0 + 513);

    // Distance along the profile, counted from the start of the profile in view.
    const int start = viewStart == 0 ? 0 : profileStartBackward(s, viewStart);
    const double B = viewStart == 0 ? 0.0 : double(o.stepCm) * (viewStart - start);
    for (int j = 0; j <= 25; ++j)
        text(p, r.labels, MAROON, X0 - 3 + 40 * j, Y0 - 20,
             scaleNumber(o.stepCm * j / 5.0 + B / 100.0));
    for (int j = 0; j < 25; ++j) {
        const int f = viewStart + 15 + 20 * j;
        const bool reversed = f <= MAX_FRAME_INDEX && (s.frame(f).status() & status::Reversed);
        text(p, r.labels, MAROON, X0 + 28 + 40 * j, Y0 - 20, reversed ? "<" : ">");
    }

    // Depth scale: one line per depth step, times corrected for the antenna gap.
    for (const DepthMark& m : depthScale(s, o)) {
        const std::string right =
            o.absoluteHeight
                ? std::to_string(int(std::nearbyint((o.windowHmax - m.depthCm) / 100.0))) + " m"
                : std::to_string(int(std::nearbyint(m.timeNs))) + " ns";
        text(p, r.labels, NAVY, X0 + 1032, Y0 + m.row - 7, right);
        // The left scale names its unit once, at the surface; deeper marks
        // carry the bare number of metres so that they fit left of the frame.
        text(p, r.labels, NAVY, X0 - 25, Y0 + m.row - 7,
             m.depthCm == 0 ? std::string("0 m") : scaleNumber(m.depthCm / 100.0));
        if (o.grid && m.row > 0) line(p, v.gridColour, X0, Y0 + m.row, X0 + 1022, Y0 + m.row, true);
    }

    // Vertical grid every 20 or 40 frames, magenta every 100.
    const bool fine = tableVelocity(o.velocityItem) > 500;
    auto vertical = [&](uint32_t colour, int x) {
        if (o.grid)
            line(p, colour, x, Y0 - 5, x, Y0 + 511, true);
        else
            line(p, colour, x, Y0 - 5, x, Y0);
    };
    for (int blk = 0; blk <= 4; ++blk) {
        const int base = X0 + 200 * blk;
        if (fine)
            for (int d = 20; d <= 180; d += 20) vertical(v.gridColour, base + d);
        else
            for (int d = 40; d <= 160; d += 40) vertical(v.gridColour, base + d);
        vertical(MAGENTA, base + 200);
    }

    // Axis sketch: X to the right, T downwards.
    line(p, MAROON, X0 - 40, Y0 - 26, X0 - 15, Y0 - 26);
    line(p, MAROON, X0 - 15, Y0 - 26, X0 - 18, Y0 - 27);
    line(p, MAROON, X0 - 18, Y0 - 27, X0 - 18, Y0 - 25);
    line(p, MAROON, X0 - 18, Y0 - 25, X0 - 15, Y0 - 26);
    text(p, r.labels, MAROON, X0 - 21, Y0 - 41, "X");
    line(p, NAVY, X0 - 35, Y0 - 31, X0 - 35, Y0 - 6);
    line(p, NAVY, X0 - 35, Y0 - 6, X0 - 36, Y0 - 9);
    line(p, NAVY, X0 - 36, Y0 - 9, X0 - 34, Y0 - 9);
    line(p, NAVY, X0 - 34, Y0 - 9, X0 - 35, Y0 - 6);
    text(p, r.labels, NAVY, X0 - 43, Y0 - 19, "T");
    static constexpr int EPSILON[][2] = {{4, 29}, {3, 28}, {2, 28}, {1, 28}, {0, 29}, {0, 30},
                                         {0, 31}, {1, 32}, {2, 33}, {3, 33}, {1, 34}, {1, 35},
                                         {2, 36}, {3, 36}, {4, 36}, {5, 35}};
    for (const auto& e : EPSILON) {
        const int x = X0 + e[0], y = Y0 - e[1];
        if (x >= 0 && y >= 0 && x < W && y < H) overlay.setPixelColor(x, y, bgr(BLUE));
    }

    // The markers of the frames in view, the layers and the coordinate and
    // height flags are drawn at this point of the order, over the scales and
    // under the cursor, by the tools that own them.
    if (!painters.empty()) {
        p.end();
        for (const OverlayPainter& paint : painters) paint(overlay, s, v, o);
        p.begin(&overlay);
        p.setFont(font);
    }

    // Cursor frame and its stamp.
    const int F = std::clamp(viewStart + v.cursorColumn, 0, MAX_FRAME_INDEX);
    const FrameRecord& fr = s.frame(F);
    text(p, r.labels, 0, X0 + 7, Y0 - 38, "gr. = " + scaleNumber(s.permittivity));
    text(p, r.labels, 0, X0 + 80, Y0 - 38, "Vgr. = " + scaleNumber(s.velocityCode / 100.0));
    if (o.reliefDisplay)
        text(p, r.labels, 0, X0 + 150, Y0 - 38,
             "Hrf. = " + std::to_string(fr.reliefHeight()) + "cm");
    text(p, r.labels, MAROON, X0, Y0 + 515,
         "Profile " + std::to_string(fr.get16(cell::ProfileNumber)));

    // Cursor and second point.
    const int cx = X0 + 2 * v.cursorColumn;
    line(p, v.cursorColour, cx, Y0, cx, Y0 + 510, true);
    line(p, v.cursorColour, X0, Y0 + v.cursorRow, X0 + 1022, Y0 + v.cursorRow, true);
    const int sx = X0 + 2 * (v.secondFrame - viewStart);
    line(p, v.secondPointColour, sx, Y0, sx, Y0 + 510, true);
    line(p, v.secondPointColour, X0, Y0 + v.secondRow, X0 + 1022, Y0 + v.secondRow, true);
    p.end();

    // Readouts of the cursor.
    const double pns = o.nsPerRow * (o.reliefDisplay ? o.stretch : 1.0);
    const double t = pns * v.cursorRow;
    r.staticText1 = std::to_string(F);
    r.staticText3 = std::to_string(int(std::trunc(t)));
    const double vel = s.velocityCode / 100.0;
    const int a = o.antennaCm / 2;
    double depth = 0;
    if (s.velocityCode > 0) {
        const double tp = o.zeroLine ? t : t + a * 100.0 / s.velocityCode - a / 15.0;
        const double sd = (tp + a / 15.0) * vel;
        depth = sd <= a ? 0.0 : std::trunc(std::sqrt(sd * sd - double(a) * a));
    }
    r.staticText4 = std::to_string(int(depth));
    const int back = F - profileStartBackward(s, F);
    r.distanceInMetres = o.stepCm >= 100;
    r.staticText2 = r.distanceInMetres
                        ? std::to_string(int(std::nearbyint(back * double(o.stepCm) / 100.0)))
                        : std::to_string(int(std::nearbyint(back * double(o.stepCm))));

    std::string x, y;
    if (o.geographic) {
        x = degrees(fr.value[cell::LonDegrees], fr.get24(cell::LonFraction));
        y = degrees(fr.value[cell::LatDegrees], fr.get24(cell::LatFraction));
    } else {
        x = std::to_string(int32_t(fr.get32(cell::UcsX)));
        y = std::to_string(int32_t(fr.get32(cell::UcsY)));
    }
    r.caption = "Tesk  " + s.currentFileName + s.captionDate;
    // The recording stamp and position of the cursor frame belong to the
    // radargram view; the slice and cube views show the file alone.
    if ((s.stateFlags & state::ViewMask) != 0) return r;
    r.caption += "   " + twoDigits(fr.value[cell::Hour]) + ":" + twoDigits(fr.value[cell::Minute]) +
                 ":" + twoDigits(fr.value[cell::Second]) + "." +
                 twoDigits(fr.value[cell::Hundredths]) + "   " + "X=" + x + "   " + "Y=" + y +
                 "   " + "H=" + std::to_string(fr.reliefHeight()) + "  cm";
    return r;
}

} // namespace tesk
