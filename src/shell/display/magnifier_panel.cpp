#include "shell/display/magnifier_panel.h"

#include "shell/display/mouse.h"
#include "shell/display/radargram_engine.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/image_widgets.h"

#include <QFrame>
#include <QToolButton>

namespace tesk {

namespace {

Qt::CursorShape cursorShape(MagnifierCursor c) {
    switch (c) {
    case MagnifierCursor::SizeWE:
        return Qt::SizeHorCursor;
    case MagnifierCursor::SizeNS:
        return Qt::SizeVerCursor;
    case MagnifierCursor::SizeDiagonal:
        return Qt::SizeFDiagCursor;
    case MagnifierCursor::Drag:
        break;
    }
    return Qt::DragMoveCursor;
}

} // namespace

MagnifierPanel::MagnifierPanel(ShellServices& services, QWidget& window, QToolButton* speedButton35,
                               QWidget* picture)
    : ShellPanel(services), SpeedButton35(speedButton35), window_(window), picture_(picture),
      m_(startMagnifier(services.view().ViewOrigin)) {
    Panel9 = floatingPanel(&window, "Panel9", QRect(0, 0, m_.width, m_.height));
    Panel9->setFrameShape(QFrame::NoFrame);
    QPalette black = Panel9->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel9->setPalette(black);
    Panel9->setEnabled(false);
    Image19 = new ImageWidget(Panel9, "Image19");
    clearMagnifierImage(image_);
    Image19->setImage(image_);
    Image19->setMouseTracking(true); // the pointer shape follows the edges
    SpeedButton35->setCheckable(true);
}

void MagnifierPanel::connectHandlers() {
    QObject::connect(SpeedButton35, &QToolButton::clicked, Panel9,
                     [this] { SpeedButton35Click(); });
    Image19->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image19MouseDown(b, p); };
    Image19->onMouseMove = [this](Qt::MouseButton b, QPoint p) { Image19MouseMove(b, p); };
    Image19->onMouseUp = [this](Qt::MouseButton b, QPoint p) { Image19MouseUp(b, p); };
}

void MagnifierPanel::SpeedButton35Click() {
    if (busy()) {
        SpeedButton35->setChecked(store().stateFlags & state::Magnifier);
        return;
    }
    const bool on = toggleMagnifier(store());
    SpeedButton35->setChecked(on);
    if (!on) {
        Panel9->hide();
        Panel9->setEnabled(false);
        return;
    }
    if (!placed_) {
        // First over the bottom-left corner of the picture.
        Panel9->move(picture_->mapTo(&window_, QPoint(m_.position.x, m_.position.y)));
        placed_ = true;
    }
    Panel9->setEnabled(true);
    clearMagnifierImage(image_);
    Image19->setImage(image_);
    LUPA();
}

void MagnifierPanel::LUPA() {
    if (busy() || !(store().stateFlags & state::Magnifier)) return;
    // The enlarged cells are the radargram's; the other views keep it out of sight.
    if (!services_.radargramShown()) {
        Panel9->hide();
        return;
    }
    RadargramEngine& r = services_.radargram();
    tesk::LUPA(image_, r.raster, m_, services_.view(), r.settings, r.palettes);
    Image19->setImage(image_);
    if (Panel9->isHidden()) {
        Panel9->show();
        Panel9->raise();
    }
}

void MagnifierPanel::Image19MouseDown(Qt::MouseButton button, QPoint at) {
    const Modifiers keys = services_.prompter().modifiers();
    const MagnifierPress p =
        magnifierMouseDown(m_, mouseButton(button), navKeys(keys), Point{at.x(), at.y()});
    if (p == MagnifierPress::MovePanel) {
        moving_ = true;
        grab_ = at;
        Panel9->raise();
    }
}

void MagnifierPanel::Image19MouseMove(Qt::MouseButton held, QPoint at) {
    if (moving_) {
        // The pointer keeps its place on the panel while the panel follows it.
        if (held == Qt::LeftButton) Panel9->move(Panel9->pos() + at - grab_);
        return;
    }
    const Point p{at.x(), at.y()};
    Image19->setCursor(cursorShape(magnifierCursor(m_, p)));
    if (!magnifierMouseMove(m_, p)) return;
    Panel9->resize(m_.width, m_.height);
    LUPA();
}

void MagnifierPanel::Image19MouseUp(Qt::MouseButton, QPoint at) {
    if (moving_) {
        moving_ = false;
        return;
    }
    magnifierMouseUp(m_, Point{at.x(), at.y()});
    Panel9->resize(m_.width, m_.height);
    LUPA();
}

} // namespace tesk
