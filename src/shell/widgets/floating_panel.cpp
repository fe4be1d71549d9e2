#include "shell/widgets/floating_panel.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QVariant>

namespace tesk {

namespace {

constexpr const char* DRAGGER_PROPERTY = "teskPanelDragger";

class PanelDragger final : public QObject {
  public:
    PanelDragger(QObject* owner, QWidget* target, PanelPressHandler onPress)
        : QObject(owner), target_(target), onPress_(std::move(onPress)) {}

    void press(QWidget* source, Qt::MouseButton button) {
        if (onPress_) onPress_(source, button);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* w = static_cast<QWidget*>(watched);
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            grab_ = m->globalPosition().toPoint() - target_->pos();
            dragging_ = true;
            target_->raise();
            if (m->button() == Qt::LeftButton) press(w, Qt::LeftButton);
            // Taken here, so the panel under a title does not start a second
            // move or toggle the collapse back.
            return true;
        }
        case QEvent::MouseMove:
            if (dragging_) {
                auto* m = static_cast<QMouseEvent*>(e);
                target_->move(m->globalPosition().toPoint() - grab_);
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease: {
            dragging_ = false;
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::RightButton) press(w, Qt::RightButton);
            return true;
        }
        default:
            return false;
        }
    }

  private:
    QWidget* target_;
    PanelPressHandler onPress_;
    QPoint grab_;
    bool dragging_ = false;
};

} // namespace

QFrame* floatingPanel(QWidget* parent, const char* name, QRect geometry) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setAutoFillBackground(true);
    p->setGeometry(geometry);
    p->hide();
    return p;
}

QLabel* panelTitle(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(6, 4, 360, 16);
    l->adjustSize();
    return l;
}

void dragWith(QObject* owner, QWidget* target, const std::vector<QWidget*>& sources,
              PanelPressHandler onPress) {
    auto* d = new PanelDragger(owner, target, std::move(onPress));
    for (QWidget* s : sources) {
        s->installEventFilter(d);
        s->setProperty(DRAGGER_PROPERTY, QVariant::fromValue(static_cast<QObject*>(d)));
    }
}

bool pressPanelSource(QWidget* source, Qt::MouseButton button) {
    auto* d = dynamic_cast<PanelDragger*>(source->property(DRAGGER_PROPERTY).value<QObject*>());
    if (!d) return false;
    d->press(source, button);
    return true;
}

} // namespace tesk
