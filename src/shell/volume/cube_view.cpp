// Entering the three 3D views, preparing their data and drawing them.

#include "shell/volume/cube_view.h"

#include "display/overlay.h"
#include "shell/display/radargram_engine.h"
#include "shell/options/option_panel.h"
#include "shell/prompts/prompter.h"
#include "shell/volume/cube_canvas.h"
#include "shell/volume/cube_panel.h"
#include "shell/volume/cube_replay.h"
#include "shell/volume/volume_host.h"
#include "shell/window/command_bar.h"
#include "volume/cube_modes.h"
#include "volume/messages.h"
#include "volume/volume_controls.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>

namespace tesk {

CubeView::CubeView(ShellServices& services, VolumeHost& host, CubePanel& panel, CommandBar& bar,
                   OptionPanel& options, QWidget& window)
    : ShellPanel(services), host_(host), panel_(panel), bar_(bar), options_(options),
      window_(window) {
    if (openGLAvailable()) {
        canvas = new CubeCanvas(&window);
        canvas->setGeometry(0, CommandBar::HEIGHT, window.width(),
                            window.height() - CommandBar::HEIGHT);
        canvas->onPaint = [this](QOpenGLFunctions_1_1& f, int W) { paint(f, W); };
        // The drawing area covers the client area under the command bar.
        window.installEventFilter(this);
    }
}

CubeView::~CubeView() {
    window_.removeEventFilter(this);
}

bool CubeView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &window_ && e->type() == QEvent::Resize && canvas)
        canvas->setGeometry(0, CommandBar::HEIGHT, window_.width(),
                            window_.height() - CommandBar::HEIGHT);
    return false;
}

int CubeView::view() const {
    return services_.store().stateFlags & state::ViewMask;
}

bool CubeView::shown() const {
    const int v = view();
    return v == cube_view::Profiles || v == cube_view::Carpet || v == cube_view::Sections;
}

bool CubeView::refuseWithoutOpenGL() {
    if (canvas) return false;
    services_.interaction().show(msg::cubeViewNeedsOpenGL());
    return true;
}

// The volume for a view: built when wanted (or never built); when that
// fails a volume view shown so far goes back to the radargram.
bool CubeView::buildFor(int v, bool wanted) {
    if (!wanted) return true;
    if (host_.build(v)) return true;
    if (host_.screenShown()) bar_.SpeedButton5->click();
    return false;
}

void CubeView::showScreen(int v) {
    if (hideOtherView) hideOtherView();
    host_.enterScreen();
    if (QWidget* area = window_.findChild<QScrollArea*>("ScrollBox1")) area->hide();
    canvas->lower();
    canvas->show();
    panel_.arrange(v);
    panel_.mirror(host_.panel);
    panel_.Panel_3D->setEnabled(true);
    panel_.GroupBox1->setEnabled(true);
    panel_.Panel_3D->show();
    panel_.Panel_3D->raise();
    if (v == cube_view::Carpet && !options_.CheckBox13->isChecked()) {
        panel_.Panel_3D->hide();
        panel_.Panel_3D->setEnabled(false);
    }
}

void CubeView::hide() {
    if (canvas) canvas->hide();
    panel_.Panel_3D->hide();
    if (QWidget* area = window_.findChild<QScrollArea*>("ScrollBox1")) area->show();
}

void CubeView::SpeedButton8Click() {
    if (busy() || refuseWithoutOpenGL()) return;
    const Modifiers m = services_.prompter().modifiers();
    const uint16_t before = store().stateFlags;
    const bool entering = (before & state::ViewMask) != cube_view::Profiles || m.leftCtrl;
    if (!buildFor(cube_view::Profiles,
                  volumeBuildWanted(VolumeView::Profiles, before, m.leftCtrl, host_.panel.layers)))
        return;
    host_.panel.enterMode(cube_view::Profiles, host_.params);
    if (entering) {
        store().stateFlags = enterViewFlags(store().stateFlags, cube_view::Profiles);
        const Placement placed = GP3_CORD(store(), services_.interaction());
        if (placed.placed) host_.placementStepCm = placed.stepCm;
        showScreen(cube_view::Profiles);
        panel_.showProfiles(placed.profileItems, profileListHeight(int(placed.profileItems.size()),
                                                                   panel_.CheckListBox1->y(),
                                                                   panel_.Panel_3D->height()));
        prepareProfiles();
    } else {
        showScreen(cube_view::Profiles);
    }
    services_.applyLanguage();
    GP3_PROF(store(), panel_.profilesChecked());
    services_.setEditingAvailable(false);
    showEntryReadouts();
    draw();
}

void CubeView::SpeedButton12Click() {
    if (busy() || refuseWithoutOpenGL()) return;
    const Modifiers m = services_.prompter().modifiers();
    const bool wanted =
        volumeBuildWanted(VolumeView::Carpet, store().stateFlags, m.leftCtrl, false) ||
        !host_.grid.info.built;
    if (!buildFor(cube_view::Carpet, wanted)) return;
    host_.panel.enterMode(cube_view::Carpet, host_.params);
    store().stateFlags = enterViewFlags(store().stateFlags, cube_view::Carpet);
    showScreen(cube_view::Carpet);
    prepareCarpet();
    rebuildScene();
    services_.applyLanguage();
    showEntryReadouts();
    draw();
}

void CubeView::SpeedButton9Click() {
    if (busy() || refuseWithoutOpenGL()) return;
    if (!buildFor(cube_view::Sections, true)) return;
    host_.panel.enterMode(cube_view::Sections, host_.params);
    host_.panel.selectSection(host_.sections, 0);
    store().stateFlags = enterViewFlags(store().stateFlags, cube_view::Sections);
    showScreen(cube_view::Sections);
    panel_.showSections(host_.sections);
    prepareSections();
    rebuildScene();
    services_.applyLanguage();
    showEntryReadouts();
    draw();
}

// GP3_FLTR: the processed copy of every frame in its work bytes, where the
// internal frame clipboard lives too.
void CubeView::prepareProfiles() {
    const OverlaySettings o = services_.overlaySettings();
    CubeRelief relief;
    relief.on = store().stateFlags & state::Relief;
    relief.windowFactor = o.stretch;
    relief.velocityCode = store().velocityCode;
    relief.nsPerRow = o.nsPerRow;
    relief.Hmax = store().Hmax;
    const SliceProcessing proc = host_.processing();
    EscapeWatch escape(services_.prompter());
    const BusyPass busy(store());
    GP3_FLTR(store(), host_.radargram().raster, proc, relief, services_.interaction(),
             escape.check());
    services_.setEditingAvailable(false);
}

void CubeView::prepareCarpet() {
    GP2_FLTR(host_.radargram().raster, host_.grid, host_.panel.position(Bar::H),
             host_.processing());
}

void CubeView::prepareSections() {
    const SliceProcessing proc = host_.processing();
    for (int k = 0; k < int(host_.sections.items.size()); ++k) {
        host_.sections.buildIndex = k;
        GP4_FLTR(host_.sectionImages, k, host_.sections.table[std::size_t(k)],
                 host_.radargram().raster, host_.grid, proc);
    }
}

// The carpet and the sections keep their scene: a camera move replays it.
// The sections are drawn as textured surfaces rather than GP4_KUB's point
// cloud of up to 15 x 512 x 512 points, which a software renderer takes
// seconds over; their frame, cursor and corner marks stay lines. The
// profiles in 3D stream theirs at every redraw (it can run to tens of
// millions of vertices).
void CubeView::rebuildScene() {
    scene_.clear();
    RadargramEngine& r = host_.radargram();
    r.takeSettings(store());
    const CubeDecorations d = host_.panel.decorations();
    if (view() == cube_view::Carpet) {
        GP2_KUB(scene_, r.raster, host_.panel.position(Bar::D), d, host_.params, r.palettes);
    } else if (view() == cube_view::Sections) {
        if (d.edges) addCubeEdges(scene_);
        if (d.cursor) addCursorLines(scene_, d, true);
        if (d.corners) addCornerMarks(scene_);
        surfaces_.build(host_.sections, host_.sectionImages, host_.panel.windows(), r.palettes);
    }
}

void CubeView::draw() {
    if (canvas && shown()) canvas->update();
}

void CubeView::paint(QOpenGLFunctions_1_1& f, int W) {
    cubePrologue(f, host_.panel.camera(), W);
    if (!shown()) return;
    if (view() != cube_view::Profiles) {
        replayScene(f, scene_);
        if (view() == cube_view::Sections) surfaces_.draw(f);
        return;
    }
    RadargramEngine& r = host_.radargram();
    ProfileSceneSettings o;
    o.derivative = r.settings.amplitudeForm == form::Derivative;
    o.chosenAmplitude = r.settings.chosenAmplitude;
    o.layers = host_.panel.layers;
    o.boundary = host_.panel.boundaryItem + 1;
    o.K = host_.panel.position(Bar::K);
    o.M = host_.panel.position(Bar::M);
    // The curtains can run to millions of segments, which a software
    // renderer draws in seconds: while the mouse turns or shifts the cube
    // every n-th time sample is drawn, the whole picture when it is let go.
    if (host_.mouse.drag != CubeDrag::None)
        o.timeStride =
            profilePreviewStride(store(), host_.panel.windows(), PROFILE_PREVIEW_SEGMENTS);
    GLStreamSink sink(f);
    GP3_KUB(sink, store(), host_.grid, host_.panel.windows(), host_.panel.decorations(), o,
            r.palettes);
}

void CubeView::recolour() {
    if (!shown()) return;
    rebuildScene();
    draw();
}

void CubeView::reprocess() {
    if (!shown()) return;
    if (view() == cube_view::Profiles) prepareProfiles();
    if (view() == cube_view::Carpet) prepareCarpet();
    if (view() == cube_view::Sections) prepareSections();
    rebuildScene();
    draw();
}

void CubeView::drawOverlay() {
    if (!shown()) return;
    showDistance(true);
    showDistance(false);
    draw();
}

ViewPixels CubeView::picture() {
    if (!canvas || !shown()) return {};
    return canvas->readPixels();
}

// On entry the cursor readouts show X0, T0 and Y0.
void CubeView::showEntryReadouts() {
    showDistance(true);
    showDistance(false);
    bar_.StaticText3->setText(QString::number(host_.params.T[0]));
}

void CubeView::showDistance(bool x) {
    const int n = x ? host_.params.X[0] : host_.params.Y[0];
    const DistanceReadout d = cursorDistance(host_.gridStepCm(), n);
    (x ? bar_.StaticText1 : bar_.StaticText5)->setText(QString::number(n));
    (x ? bar_.StaticText2 : bar_.StaticText6)->setText(QString::fromStdString(d.value));
    (x ? bar_.SpeedButton21 : bar_.SpeedButton25)->setText(d.metres ? "+Lm" : "+Lcm");
}

void CubeView::showGlubina() {
    const OverlaySettings o = services_.overlaySettings();
    const auto& h = store().header.value;
    GlubinaSettings g;
    g.nsPerRow = o.nsPerRow;
    g.velocityCode = store().velocityCode;
    g.tableVelocity = VELOCITY_TABLE[std::size_t(
        std::clamp(int(h[hdr::VelocityIndex]), 0, int(VELOCITY_TABLE.size()) - 1))];
    g.antennaCm = o.antennaCm;
    g.zeroLine = o.zeroLine;
    g.reliefDisplay = o.reliefDisplay;
    g.Hmax = store().Hmax;
    const int frame = std::clamp(store().viewStart + host_.params.X[0], 0, MAX_FRAME_INDEX);
    g.frameHeight = store().frame(frame).reliefHeight();
    const GlubinaReadout r = GLUBINA(host_.params.T[0], g);
    bar_.StaticText3->setText(QString::fromStdString(r.time));
    bar_.StaticText4->setText(QString::fromStdString(r.depth));
}

} // namespace tesk
