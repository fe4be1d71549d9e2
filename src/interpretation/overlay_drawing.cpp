#include "interpretation/overlay_drawing.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace tesk {

QImage newOverlayImage() {
    QImage image(OVERLAY_WIDTH, OVERLAY_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void paintOverlay(QImage& image, const OverlayDrawing& d) {
    image.fill(Qt::transparent);
    const bool anyShape = d.frameOutline || !d.lines.empty() || !d.texts.empty();
    if (anyShape) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (d.frameOutline) {
            p.setPen(QPen(QColor::fromRgba(argbOf(d.outlineColour)), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(0, 0, image.width() - 1, image.height() - 1);
        }
        QPolygon polygon;
        for (const OverlayPolyline& l : d.lines) {
            if (l.points.empty()) continue;
            QPen pen(QColor::fromRgba(argbOf(l.colour)), l.width);
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            if (l.points.size() == 1) {
                p.drawPoint(l.points[0].x, l.points[0].y);
                continue;
            }
            polygon.resize(int(l.points.size()));
            for (std::size_t i = 0; i < l.points.size(); ++i)
                polygon.setPoint(int(i), l.points[i].x, l.points[i].y);
            p.drawPolyline(polygon);
        }
        if (!d.texts.empty()) {
            QFont font("MS Sans Serif");
            font.setPointSize(8);
            p.setFont(font);
            for (const OverlayText& t : d.texts) {
                p.setPen(QColor::fromRgba(argbOf(t.colour)));
                p.drawText(QRect(t.at.x, t.at.y, 200, 20), Qt::AlignLeft | Qt::AlignTop,
                           QString::fromStdString(t.text));
            }
        }
    }
    // Single pixels go straight into the image, after the lines.
    const int w = image.width(), h = image.height();
    for (const OverlayPixel& px : d.pixels)
        if (px.at.x >= 0 && px.at.y >= 0 && px.at.x < w && px.at.y < h)
            image.setPixel(px.at.x, px.at.y, argbOf(px.colour));
}

} // namespace tesk
