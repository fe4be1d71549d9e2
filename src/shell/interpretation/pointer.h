#pragma once
// The pointer as the interpretation tools take it: Qt's points in the tools'
// own terms (the buttons as the display takes them), and a press on a plain
// panel that acts as a button.

#include "display/view_state.h"
#include "shell/display/mouse.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <functional>

namespace tesk {

inline Point pointOf(QPoint p) {
    return Point{p.x(), p.y()};
}

// Takes the left-button presses of a panel for onPress; every other event
// (a double click among them) goes on to the panel and its other filters.
class PressFilter final : public QObject {
  public:
    PressFilter(QObject* parent, std::function<void()> onPress)
        : QObject(parent), onPress_(std::move(onPress)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonPress) return false;
        if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return false;
        onPress_();
        return true;
    }

  private:
    std::function<void()> onPress_;
};

} // namespace tesk
