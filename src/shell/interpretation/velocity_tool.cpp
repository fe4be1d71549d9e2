#include "shell/interpretation/velocity_tool.h"

#include "commands/export_common.h"
#include "interpretation/table_text.h"
#include "shell/display/radargram_engine.h"
#include "shell/display/radargram_view.h"
#include "shell/interpretation/layer_tools.h"
#include "shell/interpretation/pointer.h"
#include "shell/interpretation/table_panels.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/string_grid.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

namespace tesk {

namespace {

constexpr unsigned VELOCITY_MODE = 1;
constexpr int FRONT_TOP = 4;
constexpr int BEHIND_TOP = 36; // below the bar's edge: hidden behind the front button
constexpr uint32_t LIVE_TEXT = 0x88FFFF;

// Commands the velocity mode switches off: the relief, slice and 3D views,
// the relief line and the editing of frames.
const std::vector<const char*> LOCKED = {
    "SpeedButton6",  "SpeedButton7",  "SpeedButton8",  "SpeedButton9",  "SpeedButton12",
    "SpeedButton13", "SpeedButton14", "SpeedButton26", "SpeedButton27", "SpeedButton28",
    "SpeedButton29", "SpeedButton30", "SpeedButton31", "SpeedButton32", "CheckBox73"};

void showPanel(QFrame* panel, bool on) {
    panel->setVisible(on);
    panel->setEnabled(on);
    if (on) panel->raise();
}

} // namespace

VelocityTool::VelocityTool(ShellServices& services, CommandBar& bar, RadargramView& radargram,
                           LayerTools& layers, TablePanels& tables, QComboBox* comboBox10)
    : ShellPanel(services), bar_(bar), layers_(layers), tables_(tables), ComboBox10_(comboBox10),
      image9_(newOverlayImage()), lock_(*bar.Panel_1->window(), LOCKED) {
    QWidget* area = radargram.Image1->parentWidget();
    const Point o = services.view().ViewOrigin;
    Image9 = new ImageWidget(area, "Image9");
    Image9->move(o.x, o.y);
    Image9->setImage(image9_);
    Image9->setMouseTracking(true); // the live curve follows the pointer
    Image9->setCursor(Qt::CrossCursor);
    Image9->hide();
    Image9->setEnabled(false);
    for (QToolButton* b : {bar.SpeedButton15, bar.SpeedButton16}) b->setCheckable(true);
    // The two buttons share one place; the method decides which is in front.
    buttonX_ = bar.SpeedButton15->x();
    placeButtons();
}

bool VelocityTool::modeOn() const {
    return Image9->isEnabled();
}

VelocitySettings VelocityTool::settings() const {
    VelocitySettings s = velocitySettingsFromHeader(services_.store().header);
    s.method = VelocityMethod(std::clamp(layers_.ComboBox35->currentIndex(), 0, 3));
    s.snap = layers_.CheckBox36->isChecked();
    s.phase = phaseOfItem(layers_.ComboBox36->currentIndex());
    s.multiples = layers_.CheckBox32->isEnabled() && layers_.CheckBox32->isChecked();
    s.separator = systemDecimalSeparator();
    return s;
}

template <typename F> auto VelocityTool::run(F&& f) {
    const VelocitySettings s = settings();
    RadargramEngine& r = services_.radargram();
    VelocityContext c{store(),          r.raster, services_.view(),      session_,
                      layers_.points(), s,        r.settings.LevelTable, services_.interaction()};
    return f(c);
}

void VelocityTool::connectHandlers() {
    QObject::connect(bar_.SpeedButton15, &QToolButton::clicked, bar_.Panel_1,
                     [this] { SpeedButton15Click(); });
    QObject::connect(bar_.SpeedButton16, &QToolButton::clicked, bar_.Panel_1,
                     [this] { SpeedButton16Click(); });
    QObject::connect(layers_.ComboBox35, &QComboBox::currentIndexChanged, bar_.Panel_1, [this] {
        if (!restoring()) ComboBox35Change();
    });
    QObject::connect(layers_.CheckBox32, &QCheckBox::toggled, bar_.Panel_1, [this] {
        if (!restoring()) CheckBox32Click();
    });
    Image9->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image9MouseDown(b, p); };
    Image9->onMouseMove = [this](Qt::MouseButton, QPoint p) { Image9MouseMove(p); };
    QObject::connect(tables_.StringGrid4, &QTableWidget::cellClicked, bar_.Panel_1,
                     [this](int row, int) { StringGrid4Click(row); });
    tables_.StringGrid4->onCellEdited = [this](int c, int r) { StringGrid4CellEdited(c, r); };
}

void VelocityTool::applyLanguage(bool en) {
    if (captionRow_ > 0) tables_.showHodographTitle(captionRow_, en);
}

// --- the mode ---------------------------------------------------------------------------

void VelocityTool::SpeedButton15Click() {
    toggled(bar_.SpeedButton15);
}

void VelocityTool::SpeedButton16Click() {
    toggled(bar_.SpeedButton16);
}

void VelocityTool::toggled(QToolButton* button) {
    if (busy() || !services_.radargramShown()) {
        const QSignalBlocker quiet(button);
        button->setChecked(modeOn());
        return;
    }
    // Both buttons show the one mode, whichever stands in front.
    if (button->isChecked())
        enterMode();
    else
        leaveMode();
}

void VelocityTool::setButtonsDown(bool down) {
    for (QToolButton* b : {bar_.SpeedButton15, bar_.SpeedButton16}) {
        const QSignalBlocker quiet(b);
        b->setChecked(down);
    }
}

void VelocityTool::placeButtons() {
    const bool hyperbola = layers_.ComboBox35->currentIndex() <= 0;
    bar_.SpeedButton15->move(buttonX_, hyperbola ? FRONT_TOP : BEHIND_TOP);
    bar_.SpeedButton16->move(buttonX_, hyperbola ? BEHIND_TOP : FRONT_TOP);
}

void VelocityTool::enterMode() {
    setButtonsDown(true);
    if (modeOn()) return;
    lock_.hold(VELOCITY_MODE);
    layers_.velocityModeStarted();
    Image9->setEnabled(true);
    Image9->show();
    Image9->raise();
    captionRow_ = 0;
    // "Годограф": the last measured velocity is the soil velocity now.
    ComboBox10_->setCurrentIndex(0);
    showMethodControls();
    showResult(run([](VelocityContext& c) { return enterVelocityMode(c); }));
    services_.redraw(Redraw::Radargram);
}

void VelocityTool::leaveMode() {
    setButtonsDown(false);
    if (!modeOn()) return;
    lock_.release(VELOCITY_MODE);
    Image9->hide();
    Image9->setEnabled(false);
    layers_.velocityModeEnded();
    showMethodControls();
    captionRow_ = 0;
    tables_.showHodographTitle(0, services_.english());
    services_.redraw(Redraw::Overlay);
}

void VelocityTool::showMethodControls() {
    const int method = layers_.ComboBox35->currentIndex();
    const bool on = modeOn();
    showPanel(tables_.Panel_TGod, on && method == 1);
    // The multiples belong to the curves drawn from a pick.
    const bool multiples = on && (method == 0 || method == 1);
    layers_.CheckBox32->setVisible(multiples);
    layers_.CheckBox32->setEnabled(multiples);
    showPanel(tables_.Panel_Kratnik, multiples && layers_.CheckBox32->isChecked());
}

void VelocityTool::ComboBox35Change() {
    if (busy()) return;
    placeButtons();
    if (modeOn()) {
        showMethodControls();
        showResult(run([](VelocityContext& c) { return GODOGRAF(c); }));
        services_.redraw(Redraw::Radargram);
    }
    services_.focusOptionPanel();
}

void VelocityTool::CheckBox32Click() {
    applyCheckBoxColour(layers_.CheckBox32);
    if (modeOn()) {
        showMethodControls();
        showResult(run([](VelocityContext& c) { return GODOGRAF(c); }));
    }
    services_.focusOptionPanel();
}

// --- picks ------------------------------------------------------------------------------

void VelocityTool::Image9MouseDown(Qt::MouseButton button, QPoint at) {
    if (!modeOn() || Image9->isHidden() || busy()) return;
    const auto out = run([&](VelocityContext& c) {
        return tesk::Image9MouseDown(c, mouseButton(button), pointOf(at));
    });
    if (!out) return; // off the picture
    showResult(*out);
    services_.redraw(Redraw::Radargram);
}

void VelocityTool::Image9MouseMove(QPoint at) {
    if (!modeOn() || busy()) return;
    const int method = layers_.ComboBox35->currentIndex();
    if (method != 0 && method != 1) return; // the automatic methods draw no live curve
    const auto code =
        run([&](VelocityContext& c) { return tesk::Image9MouseMove(c, pointOf(at)); });
    paint(code, at);
}

void VelocityTool::StringGrid4Click(int row) {
    if (!modeOn() || row < 1 || row > HODOGRAPHS) return;
    const VelocityOutcome out =
        run([&](VelocityContext& c) { return tesk::StringGrid4Click(c, row); });
    captionRow_ = row;
    tables_.showHodographTitle(row, services_.english());
    showResult(out);
    services_.redraw(Redraw::Radargram);
}

void VelocityTool::StringGrid4CellEdited(int column, int row) {
    if (column != 1 || row < 1 || row > HODOGRAPHS) return;
    const char sep = systemDecimalSeparator();
    // The keys the cell takes, as they would have been typed one by one.
    std::string text;
    for (char32_t key : tables_.StringGrid4->cell(column, row).toUcs4())
        if (const auto k = StringGrid4KeyPress(key, sep))
            text += QString::fromUcs4(&*k, 1).toStdString();
    showResult(run([&](VelocityContext& c) { return editHodographCell(c, row, text); }));
}

// --- showing ----------------------------------------------------------------------------

void VelocityTool::showResult(const VelocityOutcome& out) {
    paint();
    showTables();
    // A measurement is ComboBox10's first item.
    if (out.measured && ComboBox10_->currentIndex() != 0) ComboBox10_->setCurrentIndex(0);
}

void VelocityTool::paint(std::optional<int> liveCode, QPoint at) {
    if (!liveCode) {
        paintOverlay(image9_, session_.drawing);
    } else {
        // The velocity a right click here would measure, beside the pointer.
        OverlayDrawing d = session_.drawing;
        d.texts.push_back({{at.x() + 10, at.y() - 16},
                           LIVE_TEXT,
                           "Vgr. = " + formatVgr(*liveCode, systemDecimalSeparator())});
        paintOverlay(image9_, d);
    }
    Image9->setImage(image9_);
}

void VelocityTool::showTables() {
    auto copy = [](StringGrid* g, const TableModel& m, int lastColumn) {
        for (int r = 1; r <= HODOGRAPHS; ++r)
            for (int c = 1; c <= lastColumn; ++c) {
                const QString text = QString::fromStdString(m.cell(c, r));
                if (g->cell(c, r) != text) g->setCell(c, r, text);
            }
    };
    copy(tables_.StringGrid4, session_.hodographTable, 5);
    copy(tables_.StringGrid5, session_.echoTable, 3);
    layers_.showPointTable();
}

} // namespace tesk
