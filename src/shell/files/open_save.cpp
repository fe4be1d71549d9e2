#include "shell/files/open_save.h"

#include "commands/file_kinds.h"
#include "shell/prompts/prompter.h"
#include "shell/window/command_bar.h"
#include "store/byte_source.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QToolButton>
#include <algorithm>

namespace tesk {

FileCommands::FileCommands(ShellServices& services, CommandBar& bar, OpenSaveHost& host,
                           const ExportPanels& panels)
    : ShellPanel(services), bar_(bar), host_(host), panels_(panels) {}

void FileCommands::connectHandlers() {
    QObject* owner = bar_.Panel_1;
    QObject::connect(bar_.SpeedButton1, &QToolButton::clicked, owner,
                     [this] { SpeedButton1Click(); });
    QObject::connect(bar_.SpeedButton3, &QToolButton::clicked, owner,
                     [this] { SpeedButton3Click(); });
    QObject::connect(bar_.SpeedButton4, &QToolButton::clicked, owner,
                     [this] { SpeedButton4Click(); });
}

void FileCommands::SpeedButton1Click() {
    // A click while a file is loading cancels nothing; it only clears the busy bit.
    if (store().stateFlags & state::Busy) {
        store().stateFlags &= uint16_t(~state::Busy);
        return;
    }
    lastOpen_ = {};
    Prompter& prompter = services_.prompter();
    const bool append = prompter.modifiers().anyCtrl();
    store().openFileName.clear();
    FileRequest request{openDialogFilter()};
    request.folder = startFolder();
    request.allFiles = true;
    request.english = services_.english();
    const auto chosen = prompter.openFileName(request);
    if (!chosen || !fileExists(*chosen)) return;
    lastFolder_ = QFileInfo(QString::fromStdString(*chosen)).absolutePath().toStdString();
    if (!append && !mayReplaceSurvey(*chosen)) return;
    openChosenFile(*chosen, append);
}

namespace {
// A survey is on screen.
bool surveyLoaded(const ProfileStore& s) {
    return s.fileKind != 0 && s.fileKind != kind::None;
}
} // namespace

bool FileCommands::mayReplaceSurvey(const std::string& path) {
    // Options and coordinate files are applied to the survey on screen.
    const FileKind* row = openKindFor(path);
    const bool replaces =
        row && row->identify.opened == Opened::ByteFile && !row->identify.needsSurvey;
    if (!modified_ || !replaces || !surveyLoaded(store())) return true;
    // The close command's question, with a way back.
    Message question = msg::offerSave();
    question.buttons = Buttons::YesNoCancel;
    switch (services_.interaction().show(question)) {
    case Answer::Yes:
        SpeedButton3Click();
        return !modified_; // only once the survey is kept in a work file
    case Answer::No:
        return true;
    default:
        return false;
    }
}

std::string FileCommands::startFolder() {
    const ProfileStore& s = store();
    if (surveyLoaded(s) && !s.currentFileName.empty())
        return QFileInfo(QString::fromStdString(s.currentFileName)).absolutePath().toStdString();
    return lastFolder_;
}

OpenResult FileCommands::openChosenFile(const std::string& path, bool append) {
    OpenSettings settings;
    settings.device = host_.deviceOptions();
    const OpenResult r = openSurveyFile(store(), path, append, services_.interaction(), settings);
    lastOpen_ = r;
    const AfterOpen after = afterOpen(store(), r, path, services_.view());
    if (after.framesLoaded) host_.surveyLoaded(append, after);
    if (r.deviceCheck) host_.showCheckLog(r.checkLog);
    if (r.outcome == OpenOutcome::SettingsLoaded && r.options) host_.applyOptionsFile(*r.options);
    // A survey just opened is as its file keeps it; a file added to it
    // (appended frames, options, coordinates) changed it.
    if (r.outcome == OpenOutcome::FramesLoaded && !append)
        modified_ = false;
    else if (r.outcome != OpenOutcome::Refused && (r.added || append))
        modified_ = true;
    if (!after.title.empty())
        bar_.Panel_1->window()->setWindowTitle(QString::fromStdString(after.title));
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return r;
}

void FileCommands::SpeedButton3Click() {
    lastSave_ = {};
    // The key held at the click selects the text table: none, left Shift, left Ctrl.
    const Modifiers keys = services_.prompter().modifiers();
    const SaveVariant variant = keys.leftShift  ? SaveVariant::LeftShift
                                : keys.leftCtrl ? SaveVariant::LeftCtrl
                                                : SaveVariant::Plain;
    FileRequest request{saveDialogFilter()};
    request.defaultExtension = "gem";
    request.folder = startFolder();
    request.english = services_.english();
    // The survey's own name, as a work file.
    if (surveyLoaded(store()) && !store().currentFileName.empty())
        request.proposedName = QFileInfo(QString::fromStdString(store().currentFileName))
                                   .completeBaseName()
                                   .toStdString() +
                               ".gem";
    const auto choice = services_.prompter().saveFileName(request);
    if (!choice) return;
    const SaveKind kind = saveKindForFilterIndex(choice->filterIndex);
    SaveSettings settings;
    settings.variant = variant;
    ExportSettings text;
    BitmapSettings bitmap;
    ViewPixels pixels;
    if (kind == SaveKind::Options) settings.options = host_.optionsForSave();
    if (kind == SaveKind::Text) {
        text = textExportSettings(variant);
        settings.text = &text;
    }
    if (kind == SaveKind::Bitmap) {
        bitmap = bitmapExportSettings(pixels);
        settings.bitmap = &bitmap;
    }
    const SaveResult r =
        saveSurveyFile(store(), choice->path, kind, services_.interaction(), settings);
    lastSave_ = r;
    if (r.written)
        lastFolder_ = QFileInfo(QString::fromStdString(r.path)).absolutePath().toStdString();
    if (r.written && kind == SaveKind::WorkFile) {
        modified_ = false;
        bar_.Panel_1->window()->setWindowTitle(QString::fromStdString(tesk::windowTitle(store())));
    }
    if (kind == SaveKind::Bitmap) afterBitmap();
}

bool FileCommands::askToClose() {
    Interaction& ui = services_.interaction();
    if (ui.show(msg::confirmClose()) == Answer::No) return false;
    if (ui.show(msg::offerSave()) != Answer::No) SpeedButton3Click();
    closeAccepted_ = true;
    return true;
}

void FileCommands::SpeedButton4Click() {
    if (askToClose()) host_.closeWindow();
}

void FileCommands::FormClose() {
    if (closing_) return;
    closing_ = true;
    store().stateFlags &= uint16_t(~(state::Busy | state::CoordFileOpen));
}

} // namespace tesk
