#include "shell/interpretation/layer_tools.h"

#include "interpretation/captions.h"
#include "interpretation/velocity_fit.h"
#include "shell/display/layer_colour_boxes.h"
#include "shell/display/radargram_engine.h"
#include "shell/display/radargram_view.h"
#include "shell/interpretation/pointer.h"
#include "shell/interpretation/table_panels.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/string_grid.h"
#include "store/options_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <algorithm>

namespace tesk {

namespace {

// Commands a layer or the depth section switches off: the slice and 3D
// views, the relief line, the editing of frames and profiles, and the
// velocity measurement.
const std::vector<const char*> LOCKED = {
    "SpeedButton7",  "SpeedButton8",  "SpeedButton9",  "SpeedButton12",     "SpeedButton13",
    "SpeedButton14", "SpeedButton26", "SpeedButton27", "SpeedButton28",     "SpeedButton29",
    "SpeedButton30", "SpeedButton31", "SpeedButton32", "SpeedButton_GProf", "CheckBox73",
    "SpeedButton15", "SpeedButton16"};

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"SpeedButton101", CaptionKind::Hint, -1, "Pencil", "Карандаш"},
    {"CheckBox32", CaptionKind::Caption, -1, "Multiples", "Кратник"},
    {"CheckBox33", CaptionKind::Caption, -1, "Show stratums", "Показать слои"},
    {"CheckBox34", CaptionKind::Caption, -1, "Show boreholes", "Показать скважины"},
};
// clang-format on

QIcon pencilIcon() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x80, 0, 0), 3, Qt::SolidLine, Qt::FlatCap));
    g.drawLine(4, 12, 12, 4);
    g.setPen(QPen(Qt::black, 1));
    g.drawLine(2, 14, 4, 12);
    return QIcon(p);
}

void setItems(QComboBox* box, const auto& items) {
    for (std::size_t i = 0; i < items.size(); ++i)
        box->setItemText(int(i), QString::fromStdString(items[i]));
}

} // namespace

LayerTools::LayerTools(ShellServices& services, QWidget* optionPanel, RadargramView& radargram,
                       LayerColourBoxes& colours, TablePanels& tables)
    : ShellPanel(services), colours_(colours), tables_(tables), image8_(newOverlayImage()),
      image5_(newOverlayImage()), lock_(*optionPanel->window(), LOCKED) {
    Panel_25 = subPanel(optionPanel, "Panel_25", 160);
    QWidget* p = Panel_25;
    ComboBox35 = combo(p, "ComboBox35", 4, 4, 150, QStringList(4, QString()));
    CheckBox32 = checkBox(p, "CheckBox32", 6, 27, 148);
    ComboBox31 = combo(p, "ComboBox31", 4, 47, 150, QStringList(9, QString()));
    SpeedButton101 = new QToolButton(p);
    SpeedButton101->setObjectName("SpeedButton101");
    SpeedButton101->setGeometry(4, 71, 24, 22);
    SpeedButton101->setCheckable(true);
    SpeedButton101->setIcon(pencilIcon());
    SpeedButton101->setEnabled(false);
    // "Sm" is the sample of the current layer's colour, moved here from the
    // colour boxes so that it stands beside the pencil.
    Panel_242 = colours.Panel_242;
    Panel_242->setParent(p);
    Panel_242->setGeometry(32, 71, 50, 22);
    Panel_242->setEnabled(false);
    Panel_242->show(); // a widget given a new parent is hidden until shown
    Label29 = new ClickLabel(Panel_242, "Label29");
    Label29->setGeometry(0, 0, 50, 22);
    Label29->setAlignment(Qt::AlignCenter);
    Label29->setText("Sm");
    Label29->setAttribute(Qt::WA_TransparentForMouseEvents); // the panel takes the press
    CheckBox36 = checkBox(p, "CheckBox36", 88, 73, 68);
    ComboBox36 = combo(p, "ComboBox36", 4, 97, 150, QStringList(3, QString()));
    CheckBox38 = checkBox(p, "CheckBox38", 6, 121, 148);
    CheckBox33 = checkBox(p, "CheckBox33", 6, 139, 148);
    CheckBox34 = checkBox(p, "CheckBox34", 6, 157, 148);
    CheckBox35 = checkBox(p, "CheckBox35", 6, 175, 148);
    ComboBox35->setCurrentIndex(0);
    ComboBox31->setCurrentIndex(0);
    ComboBox36->setCurrentIndex(0);
    // "Кратник" appears with the methods that draw multiples.
    CheckBox32->hide();
    CheckBox32->setEnabled(false);
    for (QCheckBox* c : {CheckBox32, CheckBox33, CheckBox34, CheckBox35, CheckBox36, CheckBox38})
        applyCheckBoxColour(c);

    // The overlays lie over the picture, under the velocity overlay.
    QWidget* area = radargram.Image1->parentWidget();
    const Point o = services.view().ViewOrigin;
    Image5 = new ImageWidget(area, "Image5");
    Image8 = new ImageWidget(area, "Image8");
    for (ImageWidget* w : {Image5, Image8}) {
        w->move(o.x, o.y);
        w->hide();
    }
    Image5->setImage(image5_);
    Image5->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image8->setImage(image8_);
    setImage8Enabled(false);
}

int LayerTools::layer() const {
    return std::clamp(ComboBox31->currentIndex(), 0, LAYERS);
}

double LayerTools::nsPerRow() const {
    return velocitySettingsFromHeader(services_.store().header).nsPerRow;
}

bool LayerTools::reliefDisplay() const {
    return services_.store().stateFlags & state::Relief;
}

ReliefShift LayerTools::reliefShift() const {
    const ReliefDisplay r = services_.processingSettings().relief;
    ReliefShift s;
    s.on = r.on;
    s.referenceHeight =
        r.absolute ? services_.radargram().reliefWindowMaximum : services_.store().Hmax;
    s.velocityCode = services_.store().velocityCode;
    s.nsPerRow = r.nsPerRow;
    s.stretch = r.stretch;
    return s;
}

BoundarySettings LayerTools::boundarySettings() const {
    BoundarySettings b;
    b.layer = layer();
    b.snap = CheckBox36->isChecked();
    b.phase = phaseOfItem(ComboBox36->currentIndex());
    b.relief = reliefShift();
    return b;
}

DepthSectionSettings LayerTools::depthSettings() const {
    const ProfileStore& s = services_.store();
    // The reference velocity of ComboBox10; its first item is the measured one.
    const int item =
        std::clamp(int(s.header.value[hdr::VelocityIndex]), 0, int(VELOCITY_TABLE.size()) - 1);
    const int V = item == 0 ? s.hodographVelocity : VELOCITY_TABLE[std::size_t(item)];
    DepthSectionSettings d = depthSectionSettings(s.header, V);
    d.relief = reliefShift();
    d.windowFactor = d.relief.on ? d.relief.stretch : 1.0;
    return d;
}

BoundaryKeys LayerTools::keys() {
    const Modifiers m = services_.prompter().modifiers();
    return BoundaryKeys{m.leftCtrl, m.leftShift, m.rightCtrl};
}

void LayerTools::setImage8Enabled(bool on) {
    Image8->setEnabled(on);
    // A surface that takes no pencil leaves the clicks to the cursor below it.
    Image8->setAttribute(Qt::WA_TransparentForMouseEvents, !on);
    Image8->setCursor(on ? Qt::UpArrowCursor : Qt::CrossCursor);
}

void LayerTools::pencilOff() {
    SpeedButton101->setChecked(false);
    SpeedButton101->setEnabled(false);
    releasePencil(pencil_);
    setImage8Enabled(false);
    Panel_242->setEnabled(false);
}

void LayerTools::showLayerColour(int k) {
    colours_.setCurrentLayer(k);
}

void LayerTools::followBoreholes() {
    if (CheckBox34->isChecked()) services_.showBoreholes();
}

void LayerTools::ShowBoundaries() {
    const BoundarySettings b = boundarySettings();
    // "Весь файл": the boundary keeps its phase along the whole survey.
    if (b.snap && CheckBox38->isChecked() && isBoundaryLayer(b.layer))
        snapBoundaryInFrames(store(), b.layer, 0, store().frameCount, b.phase);
    paintOverlay(image8_, tesk::ShowBoundaries(store(), services_.radargram().raster, b));
    Image8->setImage(image8_);
}

void LayerTools::ShowLayers() {
    services_.redraw(Redraw::Radargram);
}

void LayerTools::showLayerDisplay() {
    if (CheckBox33->isChecked()) {
        ShowLayers(); // the chain follows with the boreholes
        return;
    }
    if (layer() > 0) ShowBoundaries();
    followBoreholes();
}

void LayerTools::addStages(ProcessingSettings& p) {
    if (!services_.radargramShown()) return;
    if (CheckBox33->isChecked())
        p.interpretation.beforeFilters = [this](DisplayRaster& raster) {
            sections_ = convertDepthSection(raster, depthSettings());
        };
    p.interpretation.afterProcessing = [this](const DisplayRaster&) {
        if (CheckBox33->isChecked()) {
            paintDepthSection(image5_, sections_, depthSettings());
            Image5->setImage(image5_);
        } else if (layer() > 0) {
            ShowBoundaries();
        }
        followBoreholes();
    };
}

void LayerTools::showPointTable() {
    StringGrid* g = tables_.StringGrid1;
    for (int c = MODEL_COLUMN; c <= LAST_POINT_COLUMN; ++c)
        for (int r = 1; r <= point_row::Last; ++r) {
            const QString text = QString::fromStdString(points_.grid.cell(c, r));
            if (g->cell(c, r) != text) g->setCell(c, r, text);
        }
}

void LayerTools::connectHandlers() {
    auto toggled = [this](QCheckBox* c, void (LayerTools::*h)()) {
        QObject::connect(c, &QCheckBox::toggled, Panel_25, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    toggled(CheckBox33, &LayerTools::CheckBox33Click);
    toggled(CheckBox34, &LayerTools::CheckBox34Click);
    toggled(CheckBox35, &LayerTools::CheckBox35Click);
    toggled(CheckBox36, &LayerTools::CheckBox36Click);
    QObject::connect(CheckBox38, &QCheckBox::toggled, Panel_25, [this] {
        if (restoring()) return;
        applyCheckBoxColour(CheckBox38);
        applyLanguage(services_.english());
        services_.redraw(Redraw::Radargram);
        services_.focusOptionPanel();
    });
    QObject::connect(ComboBox31, &QComboBox::currentIndexChanged, Panel_25, [this] {
        if (!restoring()) ComboBox31Change();
    });
    QObject::connect(ComboBox36, &QComboBox::currentIndexChanged, Panel_25, [this] {
        if (restoring()) return;
        if (layer() > 0 && CheckBox36->isChecked()) services_.redraw(Redraw::Radargram);
        services_.focusOptionPanel();
    });
    QObject::connect(SpeedButton101, &QToolButton::clicked, Panel_25,
                     [this] { SpeedButton101Click(); });
    auto* sm = new PressFilter(Panel_242, [this] { Panel_242Click(); });
    Panel_242->installEventFilter(sm);
    Label29->onClick = [this] { Panel_242Click(); };
    // A new colour of the current layer shows at once.
    for (const char* name : {"ComboBox32", "ComboBox33", "ComboBox34"})
        if (auto* box = Panel_25->window()->findChild<QComboBox*>(name))
            QObject::connect(box, &QComboBox::currentIndexChanged, Panel_25, [this] {
                if (!restoring() && (layer() > 0 || CheckBox33->isChecked())) showLayerDisplay();
            });
    Image8->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image8MouseDown(b, p); };
    Image8->onMouseMove = [this](Qt::MouseButton, QPoint p) { Image8MouseMove(p); };
    Image8->onMouseUp = [this](Qt::MouseButton b, QPoint p) { Image8MouseUp(b, p); };
    QObject::connect(tables_.StringGrid1, &QTableWidget::cellClicked, Panel_25,
                     [this](int row, int column) { StringGrid1Click(column, row); });
    tables_.StringGrid1->onCellEdited = [this](int c, int r) { StringGrid1CellEdited(c, r); };
}

std::span<const CaptionRow> LayerTools::captions() const {
    return CAPTIONS;
}

void LayerTools::applyLanguage(bool en) {
    setItems(ComboBox35, velocityMethodItems(en));
    setItems(ComboBox36, phaseItems(en));
    setItems(ComboBox31, layerItems(en));
    CheckBox36->setText(QString::fromStdString(snapCaption(CheckBox36->isChecked(), en)));
    CheckBox35->setText(QString::fromStdString(tableModeCaption(points_.mode, en)));
    const bool whole = CheckBox38->isChecked();
    CheckBox38->setText(whole ? (en ? "All file" : "Весь файл") : (en ? "Single" : "Одиночная"));
}

void LayerTools::optionsForSave(OptionsFileSettings& o) const {
    // CheckBox37 is not in this window; its bit stays clear.
    o.layerChecks = {CheckBox36->isChecked(), CheckBox32->isChecked(), CheckBox33->isChecked(),
                     CheckBox34->isChecked(), CheckBox35->isChecked(), false};
    o.layerItems = {uint8_t(ComboBox35->currentIndex()), uint8_t(ComboBox36->currentIndex()),
                    uint8_t(ComboBox31->currentIndex())};
}

} // namespace tesk
