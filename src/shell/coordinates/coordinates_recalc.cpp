// The recalculation controls of Panel_CORD: Pereschet (SpeedButton71, and
// the clearing with left Ctrl), the profile correction Kor_LX
// (SpeedButton72), the form of the positions (CheckBox74) and the
// hemispheres.

#include "shell/coordinates/coordinates_panel.h"

#include "coordinates/correction.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/radio_group.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>

namespace tesk {

coords::RecalcSettings CoordinatesPanel::recalcSettings() {
    coords::RecalcSettings r;
    r.mode = coords::RecalcMode(std::clamp(ComboBox_CRD->currentIndex(), 0, 3));
    r.coordinates = CheckBox71->isChecked();
    r.heights = CheckBox72->isChecked();
    r.geographic = CheckBox74->isChecked();
    r.adjust = CheckBox75->isChecked();
    coords::takeHeaderItems(r, store().header);
    r.cursorFrame = cursorFrame();
    r.decimalSeparator = decimalSeparator();
    return r;
}

coords::CoordImportSettings CoordinatesPanel::importSettings() {
    coords::CoordImportSettings s;
    s.recalc = recalcSettings();
    s.geographic = CheckBox74->isChecked();
    return s;
}

void CoordinatesPanel::SpeedButton71Click() {
    if (busy()) return;
    Interaction& ui = services_.interaction();
    if (services_.prompter().modifiers().leftCtrl) {
        const coords::ClearResult c = coords::clearPositionsAndHeights(
            store(), CheckBox71->isChecked(), CheckBox72->isChecked(), ui);
        if (c.heights)
            showHmax(coords::hmaxCaption(store().Hmax, " m", decimalSeparator()),
                     coords::HmaxColour::Unchanged);
    } else {
        const coords::RecalcResult r = coords::Pereschet(store(), recalcSettings(), ui);
        if (r.completed) resetAfterRecalc(r);
        store().viewStart = 0;
        bar_.MaskEdit1->setText("00000");
    }
    store().stateFlags |= state::Changed;
    services_.markModified();
    services_.redraw(Redraw::Radargram);
    if (reliefChanged && CheckBox73->isChecked()) reliefChanged();
    filledCursor_ = -1;
    viewChanged();
    focusPanel();
}

// A complete recalculation leaves the options unticked for the next one;
// the hemispheres keep their items, which give the stored magnitudes their
// signs.
void CoordinatesPanel::resetAfterRecalc(const coords::RecalcResult& r) {
    meanProfileStep_ = r.meanProfileStep;
    if (!r.hmaxCaption.empty()) showHmax(r.hmaxCaption, coords::HmaxColour::Unchanged);
    {
        const Restoring quiet(services_);
        for (QCheckBox* b : {CheckBox71, CheckBox72, CheckBox74, CheckBox75}) b->setChecked(false);
        ComboBox_CRD->setCurrentIndex(0);
    }
    SpeedButton72->setEnabled(false);
    showGeographicState();
    if (r.correction.done) correctionDone(r.correction);
}

void CoordinatesPanel::correctionDone(const coords::CorrectionResult& c) {
    // The step the profiles were rebuilt with becomes the profile step (the
    // box's binding keeps the header's cell).
    if (stepBox_ && c.stepItem >= 0 && c.stepItem < stepBox_->count())
        stepBox_->setCurrentIndex(c.stepItem);
    bar_.SpeedButton18->setText(QString::number(store().frameCount));
    // The profiles were rebuilt: the frame clipboard and the edit history no
    // longer fit the survey.
    services_.framesRewrittenOutsideEditing();
    store().viewStart = 0;
    bar_.MaskEdit1->setText("00000");
}

void CoordinatesPanel::SpeedButton72Click() {
    if (busy()) return;
    coords::CorrectionSettings cs;
    cs.meanProfileStep = meanProfileStep_;
    cs.stepItem = store().header.value[hdr::Step];
    const coords::CorrectionResult c = coords::Kor_LX(store(), cs, services_.interaction());
    if (c.done) {
        correctionDone(c);
        services_.markModified();
    }
    {
        const Restoring quiet(services_);
        for (QCheckBox* b : {CheckBox71, CheckBox75, CheckBox72}) b->setChecked(false);
    }
    SpeedButton72->setEnabled(false);
    store().stateFlags |= state::Changed;
    services_.redraw(Redraw::Radargram);
    filledCursor_ = -1;
    viewChanged();
}

void CoordinatesPanel::CheckBox75Click() {
    SpeedButton72->setEnabled(CheckBox75->isChecked());
}

void CoordinatesPanel::CheckBox71Click() {
    focusPanel();
    services_.redraw(Redraw::Overlay);
}

void CoordinatesPanel::CheckBox74Click() {
    // The header bit follows the box through its binding; while a file is
    // read the program sets it and nothing else happens.
    if (busy()) return;
    showGeographicState();
    store().stateFlags |= state::Changed;
    services_.redraw(Redraw::Overlay);
}

void CoordinatesPanel::RadioGroupClick(bool latitude) {
    RadioGroup* g = latitude ? RadioGroup_Lat : RadioGroup_Lon;
    coords::setHemisphere(store(), latitude, g->itemIndex());
}

void CoordinatesPanel::ComboBox_CRDChange() {
    if (busy()) return;
    focusPanel();
}

} // namespace tesk
