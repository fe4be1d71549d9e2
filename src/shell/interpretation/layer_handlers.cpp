// The handlers of the layer tools: the current layer, the depth section, the
// switches, the pencil on Image8, "Sm" and the velocity and depth table.

#include "interpretation/captions.h"
#include "shell/interpretation/layer_tools.h"
#include "shell/interpretation/pointer.h"
#include "shell/interpretation/table_panels.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/string_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QToolButton>

namespace tesk {

namespace {
// The holders of the lock.
constexpr unsigned LAYER_CHOSEN = 1;
constexpr unsigned DEPTH_SECTION = 2;
const QColor LAYER_CHOSEN_COLOUR(0xFF, 0xBB, 0xBB); // 0xBBBBFF as the system writes it

void showTable(QFrame* panel, bool on) {
    panel->setVisible(on);
    panel->setEnabled(on);
    if (on) panel->raise();
}
} // namespace

void LayerTools::ComboBox31Change() {
    if (busy() || !services_.radargramShown()) {
        services_.focusOptionPanel();
        return;
    }
    const int k = layer();
    showLayerColour(k);
    if (k == 0) {
        resetBoxColour(ComboBox31);
        pencilOff();
        if (CheckBox33->isChecked()) {
            Image8->hide();
            ShowLayers();
        } else {
            lock_.release(LAYER_CHOSEN);
            Image5->hide();
            Image8->hide();
            showTable(tables_.Panel_TVSL, false);
        }
        services_.focusOptionPanel();
        return;
    }
    setBoxColour(ComboBox31, LAYER_CHOSEN_COLOUR);
    lock_.hold(LAYER_CHOSEN);
    showTable(tables_.Panel_TVSL, true);
    updateAllPoints(points_, store(), nsPerRow());
    showPointTable();
    if (CheckBox33->isChecked()) {
        pencilOff();
        Image5->show();
        Image8->hide();
        ShowLayers();
    } else {
        if (reliefDisplay()) {
            // The shifted traces are drawn, not traced.
            pencilOff();
        } else {
            Image5->hide();
            SpeedButton101->setEnabled(true);
            setImage8Enabled(SpeedButton101->isChecked());
        }
        Image8->show();
        Image8->raise();
        ShowBoundaries();
        followBoreholes();
    }
    services_.focusOptionPanel();
}

void LayerTools::CheckBox33Click() {
    if (services_.radargramShown()) {
        applyCheckBoxColour(CheckBox33);
        if (CheckBox33->isChecked()) {
            lock_.hold(DEPTH_SECTION);
            pencilOff();
            Image8->hide();
            Image5->show();
            showTable(tables_.Panel_TVSL, true);
            updateAllPoints(points_, store(), nsPerRow());
            showPointTable();
        } else {
            lock_.release(DEPTH_SECTION);
            if (layer() == 0) {
                showTable(tables_.Panel_TVSL, false);
            } else if (reliefDisplay()) {
                pencilOff();
                Image8->show();
            } else {
                SpeedButton101->setEnabled(true);
                setImage8Enabled(SpeedButton101->isChecked());
                Image8->show();
            }
            Image5->hide();
        }
    }
    services_.redraw(Redraw::Radargram);
    services_.focusOptionPanel();
}

void LayerTools::CheckBox34Click() {
    applyCheckBoxColour(CheckBox34);
    if (CheckBox33->isChecked())
        ShowLayers();
    else if (layer() > 0)
        ShowBoundaries();
    // Checked or not, the borehole display follows: it shows or hides itself.
    services_.showBoreholes();
    services_.focusOptionPanel();
}

void LayerTools::CheckBox35Click() {
    points_.mode = CheckBox35->isChecked() ? TableMode::Depth : TableMode::Velocity;
    CheckBox35->setText(
        QString::fromStdString(tableModeCaption(points_.mode, services_.english())));
    setFontColour(CheckBox35, tableModeFontColour(points_.mode));
    services_.focusOptionPanel();
}

void LayerTools::CheckBox36Click() {
    const bool on = CheckBox36->isChecked();
    CheckBox36->setText(QString::fromStdString(snapCaption(on, services_.english())));
    setFontColour(CheckBox36, checkBoxFontColour(on));
    services_.redraw(Redraw::Radargram);
    services_.focusOptionPanel();
}

void LayerTools::SpeedButton101Click() {
    // While the pencil is down it draws on Image8, and "Sm" smooths or deletes.
    const bool on = SpeedButton101->isChecked() && services_.radargramShown();
    setImage8Enabled(on);
    Panel_242->setEnabled(on);
    services_.focusOptionPanel();
}

void LayerTools::Panel_242Click() {
    if (!Panel_242->isEnabled() || busy()) return;
    const GsrslResult r =
        GSRSL(store(), points_, layer(), keys(), services_.interaction(), nsPerRow());
    showPointTable();
    showLayerDisplay();
    if (r == GsrslResult::Deleted || r == GsrslResult::Smoothed) services_.markModified();
    if (r != GsrslResult::Declined) services_.focusOptionPanel();
}

// --- the pencil -----------------------------------------------------------------------

void LayerTools::Image8MouseDown(Qt::MouseButton button, QPoint at) {
    if (!Image8->isEnabled() || Image8->isHidden() || busy()) return;
    tesk::Image8MouseDown(pencil_, mouseButton(button), pointOf(at));
}

void LayerTools::Image8MouseMove(QPoint at) {
    if (!Image8->isEnabled() || pencil_.state == PencilState::Idle) return;
    tesk::Image8MouseMove(pencil_, store(), layer(), pointOf(at));
    ShowBoundaries();
}

void LayerTools::Image8MouseUp(Qt::MouseButton button, QPoint at) {
    if (!Image8->isEnabled() || Image8->isHidden() || busy()) return;
    const bool stroke = pencil_.state != PencilState::Idle;
    tesk::Image8MouseUp(pencil_, store(), points_, layer(), mouseButton(button), pointOf(at),
                        keys(), services_.interaction(), nsPerRow());
    // The stroke drew or erased part of the boundary.
    if (stroke) services_.markModified();
    showPointTable();
    showLayerDisplay();
    services_.redraw(Redraw::Overlay);
}

// --- the velocity and depth table ------------------------------------------------------

void LayerTools::StringGrid1Click(int column, int row) {
    tesk::StringGrid1Click(points_, column, row);
}

void LayerTools::StringGrid1CellEdited(int column, int row) {
    const QString typed = tables_.StringGrid1->cell(column, row);
    tesk::StringGrid1Click(points_, column, row);
    // The keys the cell takes, as they would have been typed one by one.
    std::string text;
    for (char32_t key : typed.toUcs4())
        if (const auto k = StringGrid1KeyPress(points_, store(), key))
            text += QString::fromUcs4(&*k, 1).toStdString();
    editPointCell(points_, store(), column, row, text, nsPerRow());
    showPointTable();
    if (CheckBox33->isChecked())
        ShowLayers();
    else if (layer() > 0) {
        ShowBoundaries();
        followBoreholes();
    }
}

// --- modes ------------------------------------------------------------------------------

void LayerTools::dropLayerModes() {
    pencilOff();
    {
        const Restoring quiet(services_);
        ComboBox31->setCurrentIndex(0);
        CheckBox33->setChecked(false);
    }
    lock_.release(LAYER_CHOSEN | DEPTH_SECTION);
    resetBoxColour(ComboBox31);
    applyCheckBoxColour(CheckBox33);
    Image5->hide();
    Image8->hide();
}

void LayerTools::velocityModeStarted() {
    dropLayerModes();
    ComboBox31->setEnabled(false);
    CheckBox33->setEnabled(false);
}

void LayerTools::velocityModeEnded() {
    {
        const Restoring quiet(services_);
        ComboBox31->setCurrentIndex(0);
    }
    ComboBox31->setEnabled(true);
    CheckBox33->setEnabled(true);
    showTable(tables_.Panel_TVSL, false);
}

void LayerTools::leaveModes() {
    dropLayerModes();
    showLayerColour(0);
    showTable(tables_.Panel_TVSL, false);
}

void LayerTools::surveyLoaded() {
    releasePencil(pencil_);
    loadPointTable(points_, store());
    showPointTable();
    // The open enabled the commands again; a chosen layer keeps them off.
    lock_.reassert();
}

} // namespace tesk
