#include "interpretation/boreholes.h"

#include "interpretation/overlay_drawing.h"
#include "interpretation/point_table.h"
#include "interpretation/table_text.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

constexpr uint32_t WHITE = 0xFFFFFF;    // 0x00BBGGRR
constexpr uint32_t EDGE = 0x000001;     // the outer columns of a band
constexpr uint32_t BLACK = 0x000000;    // the middle column
constexpr int LAST_DRAWN_COLUMN = 1019; // a point at x >= 1020 is not drawn
constexpr int LEVEL_MARK_RIGHT = 8;     // the level mark ends before x + 8

int roundedCell(const TableModel& g, int column, int row) {
    const double v = cellNumber(g.cell(column, row));
    return int(std::clamp(std::nearbyint(v), -1.0e9, 1.0e9));
}

// Plain pixel writes: every line of this picture is horizontal or vertical
// and drawn as the pen would, without its end point.
class Pixels {
  public:
    explicit Pixels(QImage& image) : image_(image) {}
    void put(int x, int y, uint32_t bgr) {
        if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height())
            image_.setPixel(x, y, argbOf(bgr));
    }
    // From row a towards row b, b excluded; rows off the image are skipped.
    void column(int x, int a, int b, uint32_t bgr) {
        const int h = image_.height();
        if (b >= a) {
            for (int y = std::max(a, 0); y < std::min(b, h); ++y) put(x, y, bgr);
        } else {
            for (int y = std::min(a, h - 1); y > std::max(b, -1); --y) put(x, y, bgr);
        }
    }
    // From column a to column b, b excluded.
    void row(int y, int a, int b, uint32_t bgr) {
        for (int x = a; x < b; ++x) put(x, y, bgr);
    }

  private:
    QImage& image_;
};

} // namespace

double BoreholeView::rowsPerCm() const {
    const double stretch = scale.on ? scale.stretch : 1.0;
    const double cmPerRow = double(scale.velocityCode) * scale.nsPerRow * stretch / 100.0;
    return cmPerRow > 0 ? 1.0 / cmPerRow : 0.0;
}

std::vector<Borehole> boreholesOfTable(const TableModel& g) {
    std::vector<Borehole> points;
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN; ++c) {
        Borehole b;
        b.number = c - 1;
        b.frame = roundedCell(g, c, point_row::Frame);
        for (int k = 1; k <= LAYERS; ++k)
            b.levels[std::size_t(k - 1)] = roundedCell(g, c, point_row::Level + k);
        points.push_back(b);
    }
    return points;
}

int boreholeColumn(const Borehole& b, int32_t viewStart) {
    const int64_t x = 2 * (int64_t(b.frame) - viewStart);
    return x > 0 && x <= LAST_DRAWN_COLUMN ? int(x) : -1;
}

void ShowBoreholes(QImage& image, const std::vector<Borehole>& points, const ProfileStore& s,
                   const BoreholeView& v) {
    if (image.width() != BOREHOLE_IMAGE_WIDTH || image.height() != BOREHOLE_IMAGE_HEIGHT ||
        image.format() != QImage::Format_ARGB32)
        image = QImage(BOREHOLE_IMAGE_WIDTH, BOREHOLE_IMAGE_HEIGHT, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    Pixels px(image);
    px.row(0, 0, BOREHOLE_IMAGE_WIDTH, BLACK);
    px.row(BOREHOLE_IMAGE_HEIGHT - 1, 0, BOREHOLE_IMAGE_WIDTH, BLACK);
    px.column(0, 0, BOREHOLE_IMAGE_HEIGHT, BLACK);
    px.column(BOREHOLE_IMAGE_WIDTH - 1, 0, BOREHOLE_IMAGE_HEIGHT, BLACK);

    const double K = v.rowsPerCm();
    // The relief shift s of a point's frame (0 outside the relief display);
    // its line and column start at s, or at row 1 outside the relief display.
    auto shiftOf = [&](const Borehole& b) {
        const int f = std::clamp(b.frame, 0, MAX_FRAME_INDEX);
        return v.scale.on ? v.scale.rows(s.frame(f).reliefHeight()) : 0;
    };
    auto top = [&](const Borehole& b) { return v.scale.on ? shiftOf(b) : 1; };

    // Point lines and numbers first; the level columns cover them.
    QPainter p(&image);
    QFont font("MS Sans Serif");
    font.setPointSize(BOREHOLE_NUMBER_SIZE);
    p.setFont(font);
    p.setPen(QColor::fromRgba(argbOf(WHITE)));
    for (const Borehole& b : points) {
        const int x = boreholeColumn(b, v.viewStart);
        if (x < 0) continue;
        const int y0 = top(b);
        px.column(x - 1, y0, BOREHOLE_LINE_END, WHITE);
        px.column(x, y0, BOREHOLE_LINE_END, WHITE);
        p.drawText(QRect(x, BOREHOLE_NUMBER_ROW, 40, BOREHOLE_IMAGE_HEIGHT - BOREHOLE_NUMBER_ROW),
                   Qt::AlignLeft | Qt::AlignTop, QString::number(b.number));
    }
    p.end();

    for (const Borehole& b : points) {
        const int x = boreholeColumn(b, v.viewStart);
        if (x < 0) continue;
        const int shift = shiftOf(b);
        int y = top(b);
        for (int k = 1; k <= LAYERS; ++k) {
            const int level = b.levels[std::size_t(k - 1)];
            if (level < 1) continue;
            const int yb = int(std::clamp(std::nearbyint(level * K), -1.0e6, 1.0e6)) + shift;
            const uint32_t colour = layerColour(s.header, k);
            px.column(x - 3, y, yb, EDGE);
            px.column(x + 3, y, yb, EDGE);
            for (int dx : {-2, -1, 1, 2}) px.column(x + dx, y, yb, colour);
            px.column(x, y, yb, BLACK);
            px.row(yb, x - 3, x + LEVEL_MARK_RIGHT, WHITE);
            y = yb + 1;
        }
    }
}

} // namespace tesk
