// Start-up of the main window, the composition of its panels, the services
// it gives them and the language switch (the redraws: redraw_dispatch.cpp).

#include "shell/window/tform1.h"

#include "shell/coordinates/coordinates_panel.h"
#include "shell/coordinates/relief_tools.h"
#include "shell/display/ascan_panel.h"
#include "shell/display/filter_panel.h"
#include "shell/display/layer_colour_boxes.h"
#include "shell/display/magnifier_panel.h"
#include "shell/display/navigation.h"
#include "shell/display/parameter_panel.h"
#include "shell/display/radargram_view.h"
#include "shell/editing/editing_commands.h"
#include "shell/files/check_log_panel.h"
#include "shell/files/device_panel.h"
#include "shell/interpretation/borehole_image.h"
#include "shell/interpretation/layer_exports.h"
#include "shell/interpretation/layer_tools.h"
#include "shell/interpretation/table_panels.h"
#include "shell/interpretation/velocity_tool.h"
#include "shell/options/option_panel.h"
#include "shell/volume/volume_screens.h"
#include "shell/volume/volume_settings_panel.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"
#include "shell/window/header_bindings.h"
#include "shell/window/progress_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QToolButton>

namespace tesk {

namespace {

// Key preview: the window sees every key pressed in it before the control
// with the focus does. A key that control leaves unused travels on to its
// parents; those later deliveries of the same press are not shown again.
class KeyPreview final : public QObject {
  public:
    explicit KeyPreview(TForm1& form) : QObject(&form), form_(form) {
        QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) {
            pressed_ = nullptr;
            receiver_ = nullptr;
            return false;
        }
        if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w != &form_ && !form_.isAncestorOf(w)) return false; // another window's key
        if (e == pressed_ && receiver_ && w != receiver_ && w->isAncestorOf(receiver_))
            return false;
        pressed_ = e;
        receiver_ = w;
        const auto* key = static_cast<QKeyEvent*>(e);
        return form_.FormKeyPress(w, key->key(), key->modifiers());
    }

  private:
    TForm1& form_;
    const QEvent* pressed_ = nullptr;
    QPointer<QWidget> receiver_;
};

} // namespace

TForm1::TForm1(ProfileStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), store_(store), prompter_(prompter) {
    setObjectName("Form1");
    FormCreate();
}

TForm1::~TForm1() {
    // The controls go before the panels whose handlers they call.
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(controls);
}

void TForm1::buildPanels() {
    bar_ = std::make_unique<CommandBar>(*this, *this);
    radargram_ = std::make_unique<RadargramView>(*this, *this, *bar_);
    navigation_ = std::make_unique<Navigation>(*this, *bar_);
    options_ = std::make_unique<OptionPanel>(*this, *this, bar_->SpeedButton10);
    parameters_ = std::make_unique<ParameterPanel>(*this, options_->body());
    filters_ = std::make_unique<FilterPanel>(*this, options_->body());
    colours_ = std::make_unique<LayerColourBoxes>(*this, filters_->Panel_23);
    volumeSettings_ = std::make_unique<VolumeSettingsPanel>(*this, options_->body());
    device_ = std::make_unique<DevicePanel>(*this, options_->body());
    tables_ = std::make_unique<TablePanels>(*this, *this);
    layers_ =
        std::make_unique<LayerTools>(*this, options_->body(), *radargram_, *colours_, *tables_);
    options_->addSubPanel(options_->CheckBox11, parameters_->Panel_22);
    options_->addSubPanel(options_->CheckBox12, filters_->Panel_23);
    options_->addSubPanel(options_->CheckBox13, volumeSettings_->Panel_24);
    options_->addSubPanel(options_->CheckBox14, layers_->Panel_25);
    options_->addSubPanel(options_->CheckBox15, device_->Panel_26);
    options_->layoutOptionPanel();
    coordinates_ = std::make_unique<CoordinatesPanel>(*this, *this, *bar_, parameters_->ComboBox12);
    QWidget* pictureArea = radargram_->Image1->parentWidget();
    relief_ = std::make_unique<ReliefTools>(*this, *this, pictureArea, *bar_, *coordinates_,
                                            *parameters_);
    boreholes_ = std::make_unique<BoreholeImage>(*this, *this, pictureArea, tables_->StringGrid1,
                                                 [this] { return relief_->shift(); });
    relief_->Image7->raise(); // the relief line takes the mouse over the borehole display
    ascan_ = std::make_unique<AScanPanel>(*this, *this, options_->CheckBox4, filters_->ComboBox19,
                                          filters_->CheckBox23);
    magnifier_ =
        std::make_unique<MagnifierPanel>(*this, *this, bar_->SpeedButton35, radargram_->Image1);
    volume_ = std::make_unique<VolumeScreens>(*this, *this, *bar_, *radargram_, *options_,
                                              *volumeSettings_);
    checkLog_ = std::make_unique<CheckLogPanel>(*this, *this);
    progress_ = std::make_unique<ProgressPanel>(*this, *this, CommandBar::HEIGHT);
    progress_->setScrollArea(radargram_->ScrollBox1);
    files_ = std::make_unique<FileCommands>(
        *this, *bar_, *this,
        ExportPanels{*radargram_, *colours_, *navigation_, volume_->panel3d()});
    // The exports' hooks into the 3D view (files_->exportSources.viewPixels),
    // the volume (.volume) and the interpretation layers (.layers) are set
    // where those tools are wired.
    editing_ = std::make_unique<EditingCommands>(*this, *bar_);
    panels_ = {bar_.get(),        radargram_.get(),   navigation_.get(), options_.get(),
               parameters_.get(), filters_.get(),     colours_.get(),    volumeSettings_.get(),
               device_.get(),     coordinates_.get(), tables_.get(),     ascan_.get(),
               checkLog_.get(),   progress_.get(),    files_.get()};
    for (ShellPanel* p : volume_->panels()) panels_.push_back(p);
    registerView(8, volume_->sliceView());
    for (int cube : {0x10, 0x20, 0x40}) registerView(cube, volume_->cubeView());
    volume_->wireExports(files_->exportSources);
    volume_->setOnEnter([this] {
        velocity_->leaveMode();
        layers_->leaveModes();
        tables_->hideAll();
    });
    panels_.push_back(magnifier_.get());
    panels_.push_back(editing_.get());
    velocity_ = std::make_unique<VelocityTool>(*this, *bar_, *radargram_, *layers_, *tables_,
                                               parameters_->ComboBox10);
    panels_.push_back(layers_.get());
    panels_.push_back(velocity_.get());
    parameters_->velocityModeOn = [this] { return velocity_->modeOn(); };
    registerView(0, radargram_.get());
    radargram_->followMarkerBox(options_->ComboBox17);
    // "cT" and undo write the time range into the header themselves: the box
    // only shows it, and the time stretch items follow it.
    editing_->onTimeRangeChanged = [this] {
        QComboBox* range = parameters_->ComboBox11;
        {
            const QSignalBlocker quiet(range);
            range->setCurrentIndex(
                std::min(int(store_.header.value[hdr::TimeRange]), range->count() - 1));
        }
        parameters_->restored();
    };
    panels_.push_back(relief_.get());
    panels_.push_back(boreholes_.get());
    // The images over the picture follow it; the coordinates table follows
    // the cursor; the coordinate flags lie on the overlay.
    radargram_->afterPicture([this] {
        relief_->followView();
        showBoreholes();
    });
    radargram_->afterOverlay([this] { coordinates_->viewChanged(); });
    radargram_->addOverlayPainter(50, coordinates_->marksPainter());
    layerExports_ = std::make_unique<LayerExports>(*layers_, *boreholes_);
    files_->exportSources.layers = [this] { return layerExports_.get(); };

    // A bound cell is written before the handler of its control runs.
    bindings_ = std::make_unique<HeaderBindings>(*this);
    bindings_->surveySettingChanged = [this] { markModified(); };
    bindings_->connect(store_);
    for (ShellPanel* p : panels_) p->connectHandlers();
    QObject::connect(bar_->SpeedButton5, &QToolButton::clicked, this,
                     [this] { SpeedButton5Click(); });
}

void TForm1::FormCreate() {
    setWindowTitle("Tesk");
    resize(1467, 756);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WINDOW_BACKGROUND);
    setPalette(pal);
    setAutoFillBackground(true);
    // The window is designed in "MS Sans Serif"; Debian's metric-compatible
    // sans face stands in for it wherever the window is built.
    if (QFont::substitutes("MS Sans Serif").isEmpty())
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    setFont(QFont("MS Sans Serif", 8));
    view_ = ViewState{};
    buildPanels();
    new KeyPreview(*this);

    // The store starts empty: nothing is loaded, every derived view is stale.
    store_.stateFlags = state::Changed;
    store_.header.setStartValues();
    restoreControlsFromHeader();
    // The colour boxes start on 255 each; the layer colours in the header
    // are taken over only from a file.
    colours_->setComponents({255, 255, 255});
    // Every floating panel starts hidden; the A-scan panel appears with the
    // first survey when "Функция" is on.
    ascan_->Panel50->hide();
    {
        // The window is designed in English.
        const Restoring quiet(*this);
        options_->CheckBox1->setChecked(true);
    }
    applyCheckBoxColour(options_->CheckBox1);
    setCommandsEnabled(false);
    bar_->Panel_1->raise();
    AARR();
    DrawView();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::FormResize() {
    if (!bar_) return;
    bar_->fitWidth(width());
    radargram_->ScrollBox1->setGeometry(0, CommandBar::HEIGHT, width(),
                                        height() - CommandBar::HEIGHT);
}

bool TForm1::FormKeyPress(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    // The frame field: Enter draws the frame typed into it.
    if (target == bar_->MaskEdit1) navigation_->Edit1KeyPress(key);
    if (target == coordinates_->MaskEdit2) return relief_->Edit2KeyPress(key);
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z: undo and redo of the frame edits.
    if (editing_->keyPressed(target, key, modifiers)) return true;
    // Right / Left, Page Down / Page Up, Home and End move the view.
    if (navigation_->viewKey(target, key)) return true;
    return false;
}

bool TForm1::english() const {
    return options_ && options_->CheckBox1->isChecked();
}

Interaction& TForm1::interaction() {
    return *progress_;
}

RadargramEngine& TForm1::radargram() {
    return radargram_->engine();
}

void TForm1::showBoreholes() {
    boreholes_->ShowBoreholes();
}

const VolumeGrid* TForm1::volumeGrid() {
    return volume_->grid();
}

ViewPixels TForm1::cubePicture() {
    return volume_->cubePicture();
}

void TForm1::focusOptionPanel() {
    options_->focus();
}

void TForm1::setEditingAvailable(bool on) {
    editing_->setAvailable(on);
}

void TForm1::framesRewrittenOutsideEditing() {
    editing_->framesRewritten();
}

void TForm1::markModified() {
    if (files_ && !restoring_ && !busy()) files_->markModified();
}

void TForm1::AARR() {
    const bool en = english();
    // Lists are rewritten item by item; their selections must survive.
    const QList<QComboBox*> lists = findChildren<QComboBox*>();
    std::vector<int> selected;
    selected.reserve(std::size_t(lists.size()));
    for (QComboBox* c : lists) selected.push_back(c->currentIndex());
    const Restoring quiet(*this);
    for (ShellPanel* p : panels_) applyCaptionRows(*this, p->captions(), en);
    for (ShellPanel* p : panels_) p->applyLanguage(en);
    for (qsizetype i = 0; i < lists.size(); ++i)
        lists[i]->setCurrentIndex(selected[std::size_t(i)]);
}

void TForm1::PanelMouseDown(QWidget* source, Qt::MouseButton button) {
    pressPanelSource(source, button);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (files_->closeAccepted() || files_->closing()) {
        files_->FormClose();
        event->accept();
        return;
    }
    // A pass in progress keeps the window: its loader is still on the stack.
    if (busy()) {
        event->ignore();
        return;
    }
    // The title-bar button asks the close command's questions too, so a
    // survey is never lost by a stray click.
    if (files_->askToClose()) {
        files_->FormClose();
        event->accept();
    } else {
        event->ignore();
    }
}

OpenResult TForm1::openChosenFile(const std::string& path, bool append) {
    return files_->openChosenFile(path, append);
}

const QImage& TForm1::radargramImage() const {
    return radargram_->picture();
}
const QImage& TForm1::overlayImage() const {
    return radargram_->overlay();
}
const OpenResult& TForm1::lastOpen() const {
    return files_->lastOpen();
}
const SaveResult& TForm1::lastSave() const {
    return files_->lastSave();
}
bool TForm1::closeAccepted() const {
    return files_->closeAccepted();
}

} // namespace tesk
