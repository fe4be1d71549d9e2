#include "shell/display/radargram_view.h"

#include "display/markers.h"
#include "shell/display/mouse.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>

namespace tesk {

RadargramView::RadargramView(ShellServices& services, QWidget& window, CommandBar& bar)
    : ShellPanel(services), bar_(bar) {
    ScrollBox1 = new QScrollArea(&window);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setGeometry(0, CommandBar::HEIGHT, window.width(),
                            window.height() - CommandBar::HEIGHT);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    auto* area = new QWidget;
    area->setObjectName("ScrollBox1Area");
    area->setFixedSize(IMAGE_WIDTH, IMAGE_HEIGHT);
    Image1 = new ImageWidget(area, "Image1");
    Image1->setImage(engine_.picture);
    Image6 = new ImageWidget(area, "Image6");
    Image6->setImage(engine_.overlay);
    ScrollBox1->setWidget(area);
    ScrollBox1->viewport()->setAutoFillBackground(false);
    area->setAutoFillBackground(false);
}

void RadargramView::connectHandlers() {
    // The overlay lies on top and takes the mouse for the picture below it.
    Image6->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image1MouseDown(b, p); };
    Image1->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image1MouseDown(b, p); };
}

void RadargramView::addOverlayPainter(int order, OverlayPainter painter) {
    painters_.emplace_back(order, std::move(painter));
    std::stable_sort(painters_.begin(), painters_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ordered_.clear();
    for (const auto& [o, p] : painters_) ordered_.push_back(p);
}

void RadargramView::GRAF() {
    if (busy()) return;
    engine_.takeSettings(store());
    if (tesk::GRAF(engine_, store(), services_.processingSettings(), services_.view().ViewOrigin))
        Image1->setImage(engine_.picture);
}

void RadargramView::DrawView() {
    if (busy()) return;
    const Readouts r = tesk::DrawView(engine_.overlay, store(), services_.view(),
                                      services_.overlaySettings(), ordered_);
    Image6->setImage(engine_.overlay);
    bar_.StaticText1->setText(QString::fromStdString(r.staticText1));
    bar_.StaticText2->setText(QString::fromStdString(r.staticText2));
    bar_.StaticText3->setText(QString::fromStdString(r.staticText3));
    bar_.StaticText4->setText(QString::fromStdString(r.staticText4));
    bar_.SpeedButton21->setText(r.distanceInMetres ? "+Lm" : "+Lcm");
    if (store().fileKind != kind::None)
        ScrollBox1->window()->setWindowTitle(QString::fromStdString(r.caption));
}

std::optional<AScanTrace> RadargramView::aScanTrace() {
    if (store().fileKind == kind::None) return std::nullopt; // nothing loaded
    const ReliefDisplay relief = services_.processingSettings().relief;
    const uint32_t reference = relief.absolute ? engine_.reliefWindowMaximum : store().Hmax;
    return radargramAScanTrace(store(), engine_.raster, services_.view(), relief, reference);
}

void RadargramView::followMarkerBox(QComboBox* box) {
    markerBox_ = box;
    addOverlayPainter(10, [this](QImage& overlay, const ProfileStore& s, const ViewState& v,
                                 const OverlaySettings&) {
        paintMarkerFlags(overlay, s, v, MarkerSettings{markerBox_->currentIndex()});
    });
}

void RadargramView::recolour() {
    GRAF();
    DrawView();
}

void RadargramView::reprocess() {
    GRAF();
    DrawView();
}

void RadargramView::Image1MouseDown(Qt::MouseButton button, QPoint at) {
    if (!services_.radargramShown()) return;
    ViewState& view = services_.view();
    const Modifiers m = services_.prompter().modifiers();
    int column = 0, row = 0;
    const bool inside = pictureCell(view, Point{at.x(), at.y()}, column, row);
    if (button == Qt::LeftButton) {
        if (inside) {
            view.cursorColumn = column;
            view.cursorRow = row;
            if (m.leftShift) view.cursorColour = 0xFFFFFF;
            if (m.leftCtrl) view.gridColour = 0x888888;
        } else {
            view.cursorColumn = 0;
            view.cursorRow = 0;
            if (m.leftCtrl) view.gridColour = 0x000000;
        }
    } else if (button == Qt::RightButton) {
        if (inside && !(m.anyCtrl() || m.leftShift)) {
            view.secondFrame = store().viewStart + column;
            view.secondRow = row;
        } else if (!inside) {
            view.secondFrame = 0;
            view.secondRow = 0;
        }
    }
    // With the marker box on "Change Mark", left Shift edits single markers.
    if (markerBox_ && markerShiftClick(store(), view, MarkerSettings{markerBox_->currentIndex()},
                                       mouseButton(button), navKeys(m), Point{at.x(), at.y()}))
        services_.markModified();
    // The trace under the cursor and the magnifier follow the overlay.
    services_.redraw(Redraw::Overlay);
}

} // namespace tesk
