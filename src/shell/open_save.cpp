// The open, save and close commands of the command bar.

#include "shell/tform1.h"
#include "store/byte_source.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace tesk {

void TForm1::SpeedButton1Click() {
    // A click while a file is loading cancels nothing; it only clears the busy bit.
    if (store_.stateFlags & state::Busy) {
        store_.stateFlags &= uint16_t(~state::Busy);
        return;
    }
    lastOpen_ = {};
    const bool append = prompter_.modifiers().anyCtrl();
    store_.openFileName.clear();
    const auto chosen = prompter_.openFileName(openDialogFilter());
    if (!chosen || !fileExists(*chosen)) return;
    openChosenFile(*chosen, append);
}

OpenResult TForm1::openChosenFile(const std::string& path, bool append) {
    OpenSettings settings;
    settings.device = deviceOptions();
    const OpenResult r = openSurveyFile(store_, path, append, interaction_, settings);
    lastOpen_ = r;
    const AfterOpen after = afterOpen(store_, r, path, view_);
    if (after.framesLoaded) {
        if (!append)
            restoreControlsFromHeader();
        else
            AARR();
        // The view starts over: frame field, frame count.
        SpeedButton18->setText(QString::number(store_.frameCount));
        showViewStart();
        setCommandsEnabled(true);
        if (after.showDeviceOptions) CheckBox15->show();
        GRAF();
        DrawView();
    }
    if (r.deviceCheck) showCheckLog(r.checkLog);
    if (r.outcome == OpenOutcome::SettingsLoaded && r.options) applyOptionsFile(*r.options);
    if (!after.title.empty()) setWindowTitle(QString::fromStdString(after.title));
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return r;
}

void TForm1::SpeedButton3Click() {
    const Modifiers m = prompter_.modifiers();
    saveVariant_ = m.leftShift ? 1 : (m.leftCtrl ? 2 : 0);
    lastSave_ = {};
    const auto choice = prompter_.saveFileName(saveDialogFilter(), "gem");
    if (choice) {
        refreshHeaderFromControls();
        const SaveKind kind = saveKindForFilterIndex(choice->filterIndex);
        SaveSettings settings;
        if (kind == SaveKind::Options) settings.options = optionsForSave();
        const SaveResult r = saveSurveyFile(store_, choice->path, kind, interaction_, settings);
        lastSave_ = r;
        if (r.written && kind == SaveKind::WorkFile)
            setWindowTitle(QString::fromStdString(tesk::windowTitle(store_)));
    }
    saveVariant_ = 0;
}

bool TForm1::askToClose() {
    if (interaction_.show(msg::confirmClose()) == Answer::No) return false;
    if (interaction_.show(msg::offerSave()) != Answer::No) SpeedButton3Click();
    closeAccepted_ = true;
    return true;
}

void TForm1::SpeedButton4Click() {
    if (askToClose()) close();
}

void TForm1::FormClose() {
    if (closing_) return;
    closing_ = true;
    // Whatever a pass or an import still holds is released with the window.
    store_.stateFlags &= uint16_t(~(state::Busy | state::CoordFileOpen));
}

} // namespace tesk
