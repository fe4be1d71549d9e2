#pragma once
// Small widgets the window is built from: an image with a drawing surface and
// a label that can be clicked.

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

namespace tesk {

// Shows a QImage at its natural size; transparent pixels show what lies below.
// The pointer gestures of the tools that work on the picture come out as
// callbacks: press, release, double click and moves (with the button held,
// or Qt::NoButton).
class ImageWidget final : public QWidget {
  public:
    using PointerHandler = std::function<void(Qt::MouseButton, QPoint)>;

    explicit ImageWidget(QWidget* parent, const char* name) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_TranslucentBackground);
    }
    QImage image;
    PointerHandler onMouseDown, onMouseUp, onMouseMove, onDoubleClick;
    void setImage(const QImage& img) {
        image = img;
        resize(img.size());
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, image);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (onMouseDown) onMouseDown(e->button(), e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (onMouseUp) onMouseUp(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const Qt::MouseButton held = (e->buttons() & Qt::LeftButton)    ? Qt::LeftButton
                                     : (e->buttons() & Qt::RightButton) ? Qt::RightButton
                                                                        : Qt::NoButton;
        if (onMouseMove) onMouseMove(held, e->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (onDoubleClick) onDoubleClick(e->button(), e->position().toPoint());
    }
};

class ClickLabel final : public QLabel {
  public:
    ClickLabel(QWidget* parent, const char* name) : QLabel(parent) { setObjectName(name); }
    std::function<void()> onClick;

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (onClick && e->button() == Qt::LeftButton) onClick();
        QLabel::mousePressEvent(e);
    }
};

} // namespace tesk
