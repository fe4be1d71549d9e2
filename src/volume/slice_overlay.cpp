#include "volume/slice_overlay.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tesk {

namespace {

constexpr uint32_t MAROON = 0x000080;
constexpr uint32_t NAVY = 0x800000;
constexpr uint32_t GREEN = 0x008000;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t MARKER_COLOURS[4] = {0, 0x000088, 0xFF6600, 0x0000FF};

QColor bgr(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The drawing surface's MoveTo / LineTo: the end point stays unpainted.
void line(QPainter& p, uint32_t colour, int x1, int y1, int x2, int y2, bool dotted = false,
          int width = 1) {
    QPen pen(bgr(colour), width);
    pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    if (x1 == x2 && y1 == y2) return;
    if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    else if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    p.drawLine(x1, y1, x2, y2);
}

// A 2-pixel frame around the rectangle from (x1, y1) to (x2, y2) (x2, y2
// exclusive): the pen lies on and just outside its edges, never over the
// image inside.
void frame(QPainter& p, uint32_t colour, int x1, int y1, int x2, int y2) {
    const QColor c = bgr(colour);
    const int w = x2 - x1 + 2, h = y2 - y1 + 2;
    p.fillRect(x1 - 1, y1 - 1, w, 2, c);
    p.fillRect(x1 - 1, y2 - 1, w, 2, c);
    p.fillRect(x1 - 1, y1 - 1, 2, h, c);
    p.fillRect(x2 - 1, y1 - 1, 2, h, c);
}

class Texts {
  public:
    Texts(QPainter& p, std::vector<OverlayLabel>& labels) : p_(p), labels_(labels) {}
    void put(uint32_t colour, int size, int x, int y, const std::string& s) {
        QFont font("MS Sans Serif");
        font.setPointSize(size);
        p_.setFont(font);
        p_.setPen(bgr(colour));
        p_.drawText(QRect(x, y, 600, 24), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(s));
        labels_.push_back({x, y, colour, s});
    }

  private:
    QPainter& p_;
    std::vector<OverlayLabel>& labels_;
};

std::string degrees(uint8_t whole, uint32_t fraction) {
    char b[32];
    std::snprintf(b, sizeof b, "%.7f", whole + fraction / 10000000.0);
    return b;
}

// An arrow: shaft from (x1, y1) to (x2, y2), head closed through the two
// points and back to the tip.
void arrow(QPainter& p, uint32_t colour, int x1, int y1, int x2, int y2, int hx1, int hy1, int hx2,
           int hy2) {
    line(p, colour, x1, y1, x2, y2);
    line(p, colour, x2, y2, hx1, hy1);
    line(p, colour, hx1, hy1, hx2, hy2);
    line(p, colour, hx2, hy2, x2, y2);
}

struct Panel {
    int offset;      // 600 or 1200
    uint32_t colour; // navy or green
    bool showsTY;    // the T-Y section, else the T-X section
};

void drawSectionPanel(QPainter& p, Texts& t, const ProfileStore& s, const VolumeGrid& g,
                      const SectionParameters& q, const SliceOverlaySettings& o, const Panel& k) {
    const int X0 = o.x0, Y0 = o.y0, L = X0 + k.offset;
    const int step = g.info.stepCm;
    frame(p, k.colour, L - 1, Y0 - 1, L + 513, Y0 + 513);

    OverlaySettings depth;
    depth.antennaCm = o.antennaCm;
    depth.depthStepCm = o.depthStepCm;
    depth.nsPerRow = o.nsPerRow;
    depth.stretch = o.stretch;
    depth.reliefDisplay = o.reliefDisplay;
    depth.zeroLine = o.zeroLine;
    for (const DepthMark& m : depthScale(s, depth)) {
        const std::string right = o.absoluteHeight
                                      ? scaleNumber((double(s.Hmax) - m.depthCm) / 100.0)
                                      : std::to_string(int(std::trunc(m.timeNs)));
        t.put(k.colour, 8, L + 523, Y0 + m.row - 7, right);
        t.put(k.colour, 8, L - 25, Y0 + m.row - 7, scaleNumber(m.depthCm / 100.0));
        if (o.grid && m.row >= 1) line(p, o.gridColour, L, Y0 + m.row, L + 511, Y0 + m.row, true);
    }
    if (o.grid)
        for (int i = 1; i <= 25; ++i)
            line(p, o.gridColour, L + 20 * i, Y0, L + 20 * i, Y0 + 511, true);
    for (int i = 0; i <= 12; ++i)
        t.put(k.colour, 8, L - 3 + 40 * i, Y0 - 20, scaleNumber(i * step * 0.4));

    arrow(p, k.colour, L - 40, Y0 - 26, L - 15, Y0 - 26, L - 18, Y0 - 27, L - 18, Y0 - 25);
    t.put(k.colour, 8, L - 21, Y0 - 41, k.showsTY ? "Y" : "X");
    arrow(p, MAROON, L - 35, Y0 - 31, L - 35, Y0 - 6, L - 36, Y0 - 9, L - 34, Y0 - 9);
    t.put(MAROON, 8, L - 43, Y0 - 19, "T");

    const std::string head = o.english ? " CUTAWAY  " : " СЕЧЕНИЕ  ";
    const std::string what =
        k.showsTY ? "Y-T:  X = " + sectionDistance(double(step) * q.X[0], o.profileStepCm)
                  : "X-T:  Y = " + sectionDistance(double(step) * q.Y[0], o.profileStepCm);
    t.put(k.colour, 10, L + 100, Y0 - 40, head + what);

    // Where the X-Y plane and the other section cut this one.
    if (k.showsTY) {
        if (q.T[2] != 0 || q.T[3] != 0)
            line(p, o.cursorColour, L, Y0 + q.T[2], L + 511, Y0 + q.T[3], true);
        if (q.Y[2] != 0 || q.Y[3] != 0)
            line(p, o.cursorColour, L + q.Y[2], Y0, L + q.Y[3], Y0 + 511, true);
    } else {
        if (q.T[0] != 0 || q.T[1] != 0)
            line(p, o.cursorColour, L, Y0 + q.T[0], L + 511, Y0 + q.T[1], true);
        if (q.X[2] != 0 || q.X[3] != 0)
            line(p, o.cursorColour, L + q.X[2], Y0, L + q.X[3], Y0 + 511, true);
    }
}

} // namespace

std::string sectionDistance(double cm, int profileStepCm) {
    if (profileStepCm >= 100) return std::to_string(int(std::nearbyint(cm / 100.0))) + "m";
    return std::to_string(int(std::nearbyint(cm))) + "cm";
}

SliceOverlayReadouts drawSliceOverlay(QImage& overlay, const ProfileStore& s, const VolumeGrid& g,
                                      const SectionParameters& q, const SliceOverlaySettings& o) {
    SliceOverlayReadouts r;
    overlay.fill(Qt::transparent);
    QPainter p(&overlay);
    Texts t(p, r.labels);
    const int X0 = o.x0, Y0 = o.y0;
    const int step = g.info.stepCm;
    const bool haveGrid = g.allocated();

    // X-Y plane: title with the time and the position of the sections.
    const double nsPerRow = o.nsPerRow * (o.reliefDisplay ? o.stretch : 1.0);
    const int T = int(std::trunc(q.T[0] * nsPerRow));
    std::string title = (o.english ? " CUTAWAY  X-Y:  T = " : " СЕЧЕНИЕ  X-Y:  T = ") +
                        std::to_string(T) + (o.english ? " ns" : " нс");
    if (haveGrid) {
        if (o.geographic) {
            title += ":  Long = " + degrees(g.at(q.X[0], node::LonDegrees, 0),
                                            g.get24(q.X[0], node::LonDegrees + 1, 0));
            title += ":  Lat = " + degrees(g.at(0, node::LatDegrees, q.Y[0]),
                                           g.get24(0, node::LatDegrees + 1, q.Y[0]));
        } else {
            title += ":  X = " + std::to_string(g.ucsX(q.X[0], 0));
            title += ":  Y = " + std::to_string(g.ucsY(0, q.Y[0]));
        }
    }
    t.put(MAROON, 10, X0 + 50, Y0 - 40, title);

    frame(p, MAROON, X0 - 1, Y0 - 1, X0 + 513, Y0 + 513);
    if (o.grid)
        for (int i = 1; i <= 25; ++i) {
            line(p, o.gridColour, X0, Y0 + 511 - 20 * i, X0 + 511, Y0 + 511 - 20 * i, true);
            line(p, o.gridColour, X0 + 20 * i, Y0, X0 + 20 * i, Y0 + 511, true);
        }
    for (int i = 0; i <= 12; ++i) {
        const std::string metres = scaleNumber(i * step * 0.4);
        t.put(MAROON, 8, X0 - 3 + 40 * i, Y0 + 521, metres);
        t.put(MAROON, 8, X0 - 30, Y0 + 504 - 40 * i, metres);
    }

    const int a = X0 - 10, b = Y0 + 508;
    arrow(p, NAVY, a - 30, b + 30, a - 3, b + 30, a - 6, b + 31, a - 6, b + 29);
    t.put(NAVY, 8, a - 10, b + 32, "X");
    arrow(p, GREEN, a - 25, b + 35, a - 25, b + 10, a - 26, b + 13, a - 24, b + 13);
    t.put(GREEN, 8, a - 36, b + 6, "Y");

    if (q.Y[0] != 0 || q.Y[1] != 0)
        line(p, o.cursorColour, X0, Y0 + 511 - q.Y[0], X0 + 511, Y0 + 511 - q.Y[1], true);
    if (q.X[0] != 0 || q.X[1] != 0)
        line(p, o.cursorColour, X0 + q.X[0], Y0 + 511, X0 + q.X[1], Y0, true);

    if (haveGrid && (o.tracks || o.markers)) {
        for (int gx = 0; gx < GRID_NODES; ++gx)
            for (int gy = 0; gy < GRID_NODES; ++gy) {
                const int x = X0 + gx, y = Y0 + 511 - gy;
                if (o.tracks && !g.empty(gx, gy) && x >= 0 && y >= 0 && x < overlay.width() &&
                    y < overlay.height())
                    overlay.setPixel(x, y, 0xFFFFFF00u); // yellow, 0x00FFFF
                const int m = o.markers ? g.markerStatus(gx, gy) : 0;
                if (m == 0) continue;
                line(p, WHITE, x - 2, y + 2, x + 3, y - 3);
                line(p, WHITE, x - 2, y - 2, x + 3, y + 3);
                line(p, MARKER_COLOURS[m], x - 3, y, x + 4, y);
                line(p, MARKER_COLOURS[m], x, y - 3, x, y + 4);
            }
    }

    if (o.layout > section_layout::T)
        drawSectionPanel(p, t, s, g, q, o, Panel{600, NAVY, o.layout == section_layout::TY});
    if (o.layout == section_layout::TXY)
        drawSectionPanel(p, t, s, g, q, o, Panel{1200, GREEN, true});
    p.end();

    r.staticText1 = std::to_string(q.X[0]);
    r.staticText5 = std::to_string(q.Y[0]);
    r.xInMetres = r.yInMetres = o.profileStepCm >= 100;
    const std::string dx = sectionDistance(double(step) * q.X[0], o.profileStepCm);
    const std::string dy = sectionDistance(double(step) * q.Y[0], o.profileStepCm);
    r.staticText2 = dx.substr(0, dx.find_first_not_of("-0123456789"));
    r.staticText6 = dy.substr(0, dy.find_first_not_of("-0123456789"));
    const double time = nsPerRow * q.T[0];
    r.staticText3 = std::to_string(int(std::trunc(time)));
    r.staticText4 = std::to_string(depthForTime(time, s.velocityCode, o.antennaCm, o.zeroLine));
    return r;
}

} // namespace tesk
