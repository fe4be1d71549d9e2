// The handlers of the 3D panel Panel_3D and the mouse that turns the cube.

#include "shell/volume/cube_view.h"

#include "shell/prompts/prompter.h"
#include "shell/volume/cube_canvas.h"
#include "shell/volume/cube_panel.h"
#include "shell/volume/volume_host.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

namespace tesk {

namespace {

bool cameraBar(Bar b) {
    return b == Bar::X || b == Bar::T || b == Bar::Y || b == Bar::M || b == Bar::G || b == Bar::V;
}

MouseButton buttonOf(Qt::MouseButton b) {
    return b == Qt::RightButton    ? MouseButton::Right
           : b == Qt::MiddleButton ? MouseButton::Middle
                                   : MouseButton::Left;
}

// The double click on Panel_3D, which its drag leaves alone.
class DoubleClickFilter final : public QObject {
  public:
    DoubleClickFilter(QObject* owner, std::function<void()> f) : QObject(owner), f_(std::move(f)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonDblClick) return false;
        f_();
        return true;
    }

  private:
    std::function<void()> f_;
};

} // namespace

void CubeView::connectHandlers() {
    QObject* owner = panel_.Panel_3D;
    dragWith(owner, panel_.Panel_3D, {panel_.Panel_3D, panel_.Label80});
    auto* snap = new DoubleClickFilter(owner, [this] { Panel_3DClick(); });
    panel_.Panel_3D->installEventFilter(snap);
    panel_.Label80->installEventFilter(snap);
    for (Bar b : PANEL_BARS) {
        QObject::connect(panel_.trackBar(b), &QSlider::valueChanged, owner, [this, b](int v) {
            if (!panel_.mirroring()) TrackBarChange(b, v);
        });
        panel_.captionLabel(b)->onClick = [this, b] { LabelClick(b); };
        if (b == Bar::A1 || b == Bar::A2 || b == Bar::A3 || b == Bar::A4 || b == Bar::K)
            panel_.valueLabel(b)->onClick = [this, b] { LabelClick(b); };
    }
    for (QCheckBox* c :
         {panel_.CheckBox61, panel_.CheckBox63, panel_.CheckBox64, panel_.CheckBox66})
        QObject::connect(c, &QCheckBox::toggled, owner, [this] {
            if (!panel_.mirroring()) CheckBoxClick();
        });
    QObject::connect(panel_.CheckListBox1, &QListWidget::itemChanged, owner, [this] {
        if (!panel_.mirroring()) CheckListBox1Click();
    });
    QObject::connect(panel_.CheckListBox2, &QListWidget::itemChanged, owner, [this] {
        if (!panel_.mirroring()) CheckListBox2Click();
    });
    QObject::connect(panel_.CheckListBox2, &QListWidget::currentRowChanged, owner, [this] {
        if (!panel_.mirroring()) CheckListBox2Click();
    });
    QObject::connect(panel_.SpeedButton_ADD_CUT, &QToolButton::clicked, owner,
                     [this] { SpeedButton_ADD_CUTClick(); });
    for (QRadioButton* r : panel_.RadioGroup1Items)
        QObject::connect(r, &QRadioButton::toggled, owner, [this](bool on) {
            if (on) host_.panel.planeKind = panel_.radioItem(panel_.RadioGroup1);
        });
    for (QRadioButton* r : panel_.RadioGroup2Items)
        QObject::connect(r, &QRadioButton::toggled, owner, [this](bool on) {
            if (on) RadioGroup2Click();
        });
    QObject::connect(bar_.SpeedButton8, &QToolButton::clicked, owner,
                     [this] { SpeedButton8Click(); });
    QObject::connect(bar_.SpeedButton9, &QToolButton::clicked, owner,
                     [this] { SpeedButton9Click(); });
    QObject::connect(bar_.SpeedButton12, &QToolButton::clicked, owner,
                     [this] { SpeedButton12Click(); });
    for (QToolButton* b : {bar_.SpeedButton20, bar_.SpeedButton21, bar_.SpeedButton22,
                           bar_.SpeedButton23, bar_.SpeedButton24, bar_.SpeedButton25})
        QObject::connect(b, &QToolButton::clicked, owner, [this, b] { NudgeClick(b); });
    if (canvas) {
        canvas->onMouseDown = [this](Qt::MouseButton b, QPoint p) { MouseDown(b, p); };
        canvas->onMouseMove = [this](Qt::MouseButton, QPoint p) { MouseMove(p); };
        canvas->onMouseUp = [this](Qt::MouseButton, QPoint p) { MouseUp(p); };
    }
}

void CubeView::TrackBarChange(Bar b, int position) {
    const Modifiers m = services_.prompter().modifiers();
    const PanelEffect e =
        host_.panel.change(b, position, view(), m.leftCtrl, busy(), host_.params, host_.sections);
    apply(e, cameraBar(b));
}

void CubeView::LabelClick(Bar b) {
    const Modifiers m = services_.prompter().modifiers();
    const PanelEffect e =
        host_.panel.captionClick(b, view(), m.leftCtrl, busy(), host_.params, host_.sections);
    apply(e, cameraBar(b));
}

// What a change asks for, in order: the carpet plane or a section image
// built again, the picture (a camera move only replays the kept scene), the
// readouts.
void CubeView::apply(const PanelEffect& e, bool camera) {
    panel_.mirror(host_.panel);
    if (!shown()) return;
    if (e.rebuildCarpet) prepareCarpet();
    if (e.rebuildSection >= 0)
        GP4_FLTR(host_.sectionImages, e.rebuildSection,
                 host_.sections.table[std::size_t(e.rebuildSection)], host_.radargram().raster,
                 host_.grid, host_.processing());
    if (e.redraw || e.rebuildCarpet || e.rebuildSection >= 0) {
        if (!camera) rebuildScene();
        draw();
    }
    if (e.readoutsX) showDistance(true);
    if (e.readoutsY) showDistance(false);
    if (e.glubina) showGlubina();
}

void CubeView::CheckBoxClick() {
    host_.panel.cubeEdges = panel_.CheckBox61->isChecked();
    host_.panel.points = panel_.CheckBox63->isChecked();
    host_.panel.cursor = panel_.CheckBox64->isChecked();
    host_.panel.layers = panel_.CheckBox66->isChecked();
    if (!shown()) return;
    rebuildScene();
    draw();
}

void CubeView::CheckListBox1Click() {
    if (view() != cube_view::Profiles) return;
    GP3_PROF(store(), panel_.profilesChecked());
    services_.setEditingAvailable(false);
    draw();
}

// A section chosen in the list: its A, B and C onto their bars without
// their handlers; a check box ticked or cleared: drawn or not.
void CubeView::CheckListBox2Click() {
    SectionList& l = host_.sections;
    for (int k = 0; k < panel_.CheckListBox2->count() && k < int(l.checked.size()); ++k)
        l.checked[std::size_t(k)] = panel_.CheckListBox2->item(k)->checkState() == Qt::Checked;
    const int row = panel_.CheckListBox2->currentRow();
    if (row >= 0) host_.panel.selectSection(l, row);
    panel_.mirror(host_.panel);
    if (view() != cube_view::Sections) return;
    rebuildScene();
    draw();
}

void CubeView::SpeedButton_ADD_CUTClick() {
    if (view() != cube_view::Sections || busy()) return;
    const Modifiers m = services_.prompter().modifiers();
    const std::vector<int> rebuild =
        addOrDeleteSection(host_.sections, host_.panel.planeKind, m.leftCtrl);
    const SliceProcessing proc = host_.processing();
    for (int k : rebuild)
        GP4_FLTR(host_.sectionImages, k, host_.sections.table[std::size_t(k)],
                 host_.radargram().raster, host_.grid, proc);
    host_.panel.selectSection(host_.sections, host_.sections.selected);
    panel_.showSections(host_.sections);
    panel_.mirror(host_.panel);
    rebuildScene();
    draw();
}

void CubeView::RadioGroup2Click() {
    host_.panel.boundaryItem = panel_.radioItem(panel_.RadioGroup2);
    if (view() == cube_view::Profiles) draw();
}

void CubeView::Panel_3DClick() {
    panel_.Panel_3D->move(0, CommandBar::HEIGHT + 1);
}

void CubeView::MouseDown(Qt::MouseButton button, QPoint at) {
    if (!cubeMouseActive(store().stateFlags)) return;
    const int focus = cubeMouseDown(host_.mouse, host_.panel, buttonOf(button), at.x(), at.y());
    if (focus == 3) panel_.trackBar(Bar::Y)->setFocus();
    if (focus == 4) panel_.trackBar(Bar::M)->setFocus();
    if (canvas) canvas->setCursor(Qt::PointingHandCursor);
    draw();
}

// The bars move with the pointer; the picture is drawn again when the
// camera changed.
void CubeView::MouseMove(QPoint at) {
    if (!cubeMouseActive(store().stateFlags)) return;
    const CubeCamera before = host_.panel.camera();
    cubeMouseMove(host_.mouse, host_.panel, at.x(), at.y());
    const CubeCamera now = host_.panel.camera();
    if (now.angleX == before.angleX && now.angleY == before.angleY && now.shiftX == before.shiftX &&
        now.shiftY == before.shiftY)
        return;
    panel_.mirror(host_.panel);
    draw();
}

void CubeView::MouseUp(QPoint at) {
    if (!cubeMouseActive(store().stateFlags)) return;
    cubeMouseUp(host_.mouse, host_.panel, at.x(), at.y());
    panel_.mirror(host_.panel);
    if (canvas) canvas->unsetCursor();
    draw();
}

void CubeView::NudgeClick(QToolButton* b) {
    if (!shown()) return;
    auto nudge = [&](Bar bar, int by) { TrackBarChange(bar, host_.panel.position(bar) + by); };
    if (b == bar_.SpeedButton20) nudge(Bar::Kx, -1);
    if (b == bar_.SpeedButton21) nudge(Bar::Kx, +1);
    if (b == bar_.SpeedButton22) nudge(Bar::Kt, -1);
    if (b == bar_.SpeedButton23) nudge(Bar::Kt, +1);
    if (b == bar_.SpeedButton24) nudge(Bar::Ky, -1);
    if (b == bar_.SpeedButton25) nudge(Bar::Ky, +1);
}

} // namespace tesk
