// The pointer gestures of the recipe language: a press, a release, a move
// or a drag on an image in the image's own pixels, and a double click on any
// control, with the modifier keys the recipe names.

#include "shell/recipe/recipe_run.h"

#include "shell/widgets/image_widgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>

namespace tesk {

namespace {

// The pixels of the line from a to b after a, one step at a time.
std::vector<QPoint> lineAfter(QPoint a, QPoint b) {
    std::vector<QPoint> points;
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    while (x != b.x() || y != b.y()) {
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        points.emplace_back(x, y);
    }
    return points;
}

ImageWidget::PointerHandler& imageHandler(QWidget* c, const std::string& name,
                                          ImageWidget::PointerHandler ImageWidget::*which) {
    auto* img = dynamic_cast<ImageWidget*>(c);
    if (!img || !(img->*which)) throw RecipeError{2, name + " is not an image"};
    return img->*which;
}
} // namespace

void RecipeRun::mouse(const Words& w) {
    auto& down = imageHandler(control(w[1]), w[1], &ImageWidget::onMouseDown);
    const QPoint at = point(w, 2);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    withKeys(m, [&] { down(button, at); });
}

void RecipeRun::release(const Words& w) {
    auto& up = imageHandler(control(w[1]), w[1], &ImageWidget::onMouseUp);
    const QPoint at = point(w, 2);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    withKeys(m, [&] { up(button, at); });
}

void RecipeRun::move(const Words& w) {
    auto& moved = imageHandler(control(w[1]), w[1], &ImageWidget::onMouseMove);
    const QPoint at = point(w, 2);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    bool held = false;
    for (const std::string& word : w) held |= word == "--left-button" || word == "--right-button";
    withKeys(m, [&] { moved(held ? button : Qt::NoButton, at); });
}

void RecipeRun::drag(const Words& w) {
    QWidget* c = control(w[1]);
    auto& down = imageHandler(c, w[1], &ImageWidget::onMouseDown);
    auto* img = static_cast<ImageWidget*>(c);
    const QPoint from = point(w, 2), to = point(w, 4);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    // The pointer travels in the coordinates the drag started in; a control
    // that moves with the drag (a section marker) gets them relative to
    // where it stands now, as the mouse gives them.
    const QPoint start = c->pos();
    withKeys(m, [&] {
        down(button, from);
        for (const QPoint& p : lineAfter(from, to))
            if (img->onMouseMove) img->onMouseMove(button, p - (c->pos() - start));
        if (img->onMouseUp) img->onMouseUp(button, to - (c->pos() - start));
    });
}

void RecipeRun::dblclick(const Words& w) {
    QWidget* c = control(w[1]);
    const QPoint at = point(w, 2);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    withKeys(m, [&] {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(at), c->mapToGlobal(QPointF(at)), button,
                      button, Qt::NoModifier);
        QApplication::sendEvent(c, &e);
    });
}

} // namespace tesk
