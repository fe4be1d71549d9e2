#pragma once
// Small widgets the window is built from: an image with a drawing surface, a
// label that can be clicked, and a panel that reports mouse presses (for
// dragging floating panels).

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

namespace tesk {

// Shows a QImage at its natural size; transparent pixels show what lies below.
class ImageWidget final : public QWidget {
  public:
    explicit ImageWidget(QWidget* parent, const char* name) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_TranslucentBackground);
    }
    QImage image;
    std::function<void(Qt::MouseButton, QPoint)> onMouseDown;
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
