#include "display/magnifier.h"

#include "display/pixel_canvas.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

int roundHalfEven(double x) {
    return int(std::nearbyint(x));
}

QColor qcolour(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// The sample intervals interpolated along the samples: as many as the rule
// Round(H / F) gives, and never fewer than the Trunc(H / F) source samples
// or than the picture rows 0 .. H - 3 need, so that no painted row is left
// between an enlarged sample and a cell that was not written.
int sampleIntervals(const Magnifier& m, int rows) {
    const int F = m.factor;
    const int painted = (m.height - 3 + F - 1) / F; // ceil((H - 3) / F)
    return std::max({rows, roundHalfEven(double(m.height) / F), painted});
}

} // namespace

Magnifier startMagnifier(Point viewOrigin) {
    Magnifier m;
    m.position = {viewOrigin.x, viewOrigin.y + 384};
    return m;
}

int zoomIn(int factor) {
    return factor < MAX_ZOOM ? factor + 1 : MAX_ZOOM;
}

int zoomOut(int factor) {
    return factor > MIN_ZOOM ? factor - 1 : MIN_ZOOM;
}

int clampMagnifierSize(int size) {
    return std::clamp(size, MIN_MAGNIFIER_SIZE, MAX_MAGNIFIER_SIZE);
}

bool toggleMagnifier(ProfileStore& s) {
    s.stateFlags ^= state::Magnifier;
    return s.stateFlags & state::Magnifier;
}

void clearMagnifierImage(QImage& image) {
    if (image.width() != MAGNIFIER_IMAGE_SIZE || image.height() != MAGNIFIER_IMAGE_SIZE ||
        image.format() != QImage::Format_ARGB32_Premultiplied)
        image =
            QImage(MAGNIFIER_IMAGE_SIZE, MAGNIFIER_IMAGE_SIZE, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    PixelCanvas c(image);
    const int w = image.width(), h = image.height();
    c.line(0, 0, w, 0, colour::Black);
    c.line(0, h - 1, w, h - 1, colour::Black);
    c.column(0, 0, h - 1, colour::Black);
    c.column(w - 1, 0, h - 1, colour::Black);
}

// --- mouse -----------------------------------------------------------------------

MagnifierPress magnifierMouseDown(Magnifier& m, MouseButton button, NavKeys keys, Point at) {
    if (button == MouseButton::Left) {
        if (keys.leftCtrl) {
            m.factor = zoomIn(m.factor);
            m.mouseState = magnifier_mouse::ZoomedIn;
            return MagnifierPress::Zoomed;
        }
        const bool rightEdge = at.x >= m.width - 7 && at.x <= m.width;
        const bool bottomEdge = at.y >= m.height - 7 && at.y <= m.height;
        if (rightEdge || bottomEdge) {
            m.mouseState = magnifier_mouse::Resizing;
            m.resizeFrom = at;
            m.resizeWidth = m.width;
            m.resizeHeight = m.height;
            return MagnifierPress::Resize;
        }
        return MagnifierPress::MovePanel;
    }
    if (button == MouseButton::Right) {
        m.mouseState = magnifier_mouse::RightPressed;
        if (!keys.leftCtrl) return MagnifierPress::None;
        m.factor = zoomOut(m.factor);
        return MagnifierPress::Zoomed;
    }
    return MagnifierPress::None;
}

MagnifierCursor magnifierCursor(const Magnifier& m, Point at) {
    const bool nearRight = at.x >= m.width - 10 && at.x <= m.width;
    const bool nearBottom = at.y >= m.height - 10 && at.y <= m.height;
    if (nearRight && nearBottom) return MagnifierCursor::SizeDiagonal;
    if (nearRight && at.y < m.height - 10) return MagnifierCursor::SizeWE;
    if (nearBottom && at.x < m.width - 10) return MagnifierCursor::SizeNS;
    return MagnifierCursor::Drag;
}

bool magnifierMouseMove(Magnifier& m, Point at) {
    if (m.mouseState != magnifier_mouse::Resizing) return false;
    m.width = clampMagnifierSize(m.resizeWidth + at.x - m.resizeFrom.x);
    m.height = clampMagnifierSize(m.resizeHeight + at.y - m.resizeFrom.y);
    return true;
}

void magnifierMouseUp(Magnifier& m, Point at) {
    magnifierMouseMove(m, at);
    m.mouseState = magnifier_mouse::Idle;
}

// --- the picture -------------------------------------------------------------------

MagnifierWindow magnifierWindow(const Magnifier& m, int cursorColumn, int cursorRow) {
    const int F = std::clamp(m.factor, MIN_ZOOM, MAX_ZOOM);
    const int W = clampMagnifierSize(m.width);
    const int H = clampMagnifierSize(m.height);
    MagnifierWindow w;
    w.columns = W / F / 2;
    w.rows = H / F;
    const int c0 = int(std::trunc(cursorColumn - w.columns / 2.0));
    const int r0 = int(std::trunc(cursorRow - w.rows / 2.0));
    w.firstColumn = std::clamp(c0, 0, VIEW_FRAMES - w.columns);
    w.firstRow = std::clamp(r0, 0, DisplayRaster::DISPLAY_COLUMNS - w.rows);
    return w;
}

MagnifierWindow enlargeIntoPlane7(DisplayRaster& raster, const Magnifier& given,
                                  const ViewState& v) {
    Magnifier m = given;
    m.factor = std::clamp(m.factor, MIN_ZOOM, MAX_ZOOM);
    m.width = clampMagnifierSize(m.width);
    m.height = clampMagnifierSize(m.height);
    const int F = m.factor;
    const MagnifierWindow w = magnifierWindow(m, v.cursorColumn, v.cursorRow);
    const int intervals = sampleIntervals(m, w.rows);
    const int lastRow = intervals * F; // last picture row of an enlarged sample
    const int columns = (w.columns + 1) * F;

    // Along the frames: each source sample row gives F picture cells per
    // view column, stepping from the frame's code towards the next frame's.
    for (int k = 0; k <= w.columns; ++k) {
        const uint8_t* own = raster.row(0, w.firstColumn + DisplayRaster::FIRST_VIEW_ROW + k);
        const uint8_t* next = raster.row(0, w.firstColumn + DisplayRaster::FIRST_VIEW_ROW + k + 1);
        for (int r = 0; r <= intervals; ++r) {
            const int sample = w.firstRow + r;
            const double e = own[sample];
            const double step = (double(next[sample]) - e) / F;
            double value = e;
            for (int j = 0; j < F; ++j) {
                raster.at(MAGNIFIER_PLANE, k * F + j, r * F) = uint8_t(roundHalfEven(value));
                value += step;
            }
        }
    }
    // Along the samples, within every picture column; below the last
    // enlarged sample the column holds its last value, so that the colour
    // rules that look at the next cell see defined codes.
    for (int col = 0; col < columns; ++col) {
        uint8_t* cells = raster.row(MAGNIFIER_PLANE, col);
        for (int r = 0; r < intervals; ++r) {
            const double a = cells[r * F];
            const double b = cells[(r + 1) * F];
            for (int j = 1; j < F; ++j)
                cells[r * F + j] = uint8_t(roundHalfEven(a + j * (b - a) / F));
        }
        std::fill(cells + lastRow + 1, cells + DisplayRaster::COLUMNS, cells[lastRow]);
    }
    return w;
}

void paintMagnifier(QImage& image, const DisplayRaster& raster, const Magnifier& given,
                    const DisplaySettings& s, const Palettes& p) {
    const int W = clampMagnifierSize(given.width);
    const int H = clampMagnifierSize(given.height);
    const ColumnPainter painter(s, p, magnifier_colour::BlankBackground);
    // No data stays distinguishable from the transparent picture: colour 1,
    // except in the derivative two-colour mode, which paints it 0.
    const bool twoColour = s.amplitudeForm == form::Derivative && s.colourMode == 5;
    const uint32_t noData = twoColour ? colour::Black : magnifier_colour::NoData;
    PixelCanvas c(image);
    ColumnColours colours;
    const int lastPaintedRow = std::min(H - 3, COLUMN_ROWS - 1);
    for (int col = 0; 2 * col < std::min(W, c.width()); ++col) {
        const uint8_t* codes = raster.row(MAGNIFIER_PLANE, col);
        painter.paint(codes, colours);
        for (int row = 0; row <= lastPaintedRow; ++row) {
            uint32_t colour = colours[std::size_t(row)];
            if (codes[row] == 0 && colour == colour::Black) colour = noData;
            c.put(2 * col, row, colour);
            c.put(2 * col + 1, row, colour);
        }
    }

    // Outline with bevelled corners and the factor in the bottom-left corner.
    QPainter painter2(&image);
    painter2.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(qcolour(magnifier_colour::Outline), 4);
    pen.setJoinStyle(Qt::MiterJoin);
    painter2.setPen(pen);
    painter2.setBrush(Qt::NoBrush);
    const QPolygon outline({QPoint(0, H - 4), QPoint(0, 4), QPoint(4, 0), QPoint(W - 4, 0),
                            QPoint(W, 4), QPoint(W, H - 4), QPoint(W - 4, H), QPoint(4, H)});
    painter2.drawPolygon(outline);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    painter2.setFont(font);
    painter2.setPen(Qt::black);
    painter2.setBackgroundMode(Qt::OpaqueMode);
    painter2.setBackground(qcolour(magnifier_colour::CaptionBrush));
    const QString caption =
        " " + QString::number(std::clamp(given.factor, MIN_ZOOM, MAX_ZOOM)) + " ";
    painter2.drawText(QRect(3, H - 16, 60, 16), Qt::AlignLeft | Qt::AlignTop, caption);
}

void LUPA(QImage& image, DisplayRaster& raster, const Magnifier& m, const ViewState& v,
          const DisplaySettings& s, const Palettes& p) {
    if (image.width() != MAGNIFIER_IMAGE_SIZE || image.height() != MAGNIFIER_IMAGE_SIZE ||
        image.depth() != 32)
        clearMagnifierImage(image);
    enlargeIntoPlane7(raster, m, v);
    paintMagnifier(image, raster, m, s, p);
}

} // namespace tesk
