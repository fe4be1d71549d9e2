#include "shell/editing/editing_commands.h"

#include "editing/frame_editing.h"
#include "editing/messages.h"
#include "editing/resampling.h"
#include "shell/prompts/prompter.h"
#include "shell/window/command_bar.h"

#include <QAbstractSpinBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>

namespace tesk {

using namespace tesk::editing;

namespace {

// The Z and Y keys of a Russian keyboard layout, as the keys report them
// there: undo and redo work in either layout.
constexpr int CYRILLIC_YA = 0x042F; // on the Z key
constexpr int CYRILLIC_EN = 0x041D; // on the Y key

// The undo history keeps at least the last twenty edits even when each of
// them rewrote the whole store (a resampling along T of a full survey keeps
// one image of the value bytes, about 40 MB); most edits keep far less (a
// delete only what it moved), and up to the history's step limit are kept.
constexpr std::size_t STORE_IMAGE = std::size_t(MAX_FRAME_INDEX + 1) * CELLS_PER_FRAME;
constexpr std::size_t HISTORY_MEMORY = 20 * (STORE_IMAGE + (std::size_t(1) << 20));

bool textField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

} // namespace

EditingCommands::EditingCommands(ShellServices& services, CommandBar& bar)
    : ShellPanel(services), bar_(bar), tools_(HISTORY_MEMORY) {
    // The lettered buttons show their letters; mirror and move up keep
    // their glyphs.
    for (const editing::msg::ButtonText& t : editing::msg::BUTTON_TEXTS) {
        if (!*t.caption) continue;
        auto* b = bar_.Panel_1->findChild<QToolButton*>(t.button);
        if (!b) continue;
        b->setText(QString::fromUtf8(t.caption));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

void EditingCommands::connectHandlers() {
    QObject* owner = bar_.Panel_1;
    const std::pair<QToolButton*, void (EditingCommands::*)()> handlers[] = {
        {bar_.SpeedButton13, &EditingCommands::SpeedButton13Click},
        {bar_.SpeedButton14, &EditingCommands::SpeedButton14Click},
        {bar_.SpeedButton26, &EditingCommands::SpeedButton26Click},
        {bar_.SpeedButton27, &EditingCommands::SpeedButton27Click},
        {bar_.SpeedButton28, &EditingCommands::SpeedButton28Click},
        {bar_.SpeedButton29, &EditingCommands::SpeedButton29Click},
        {bar_.SpeedButton30, &EditingCommands::SpeedButton30Click},
        {bar_.SpeedButton31, &EditingCommands::SpeedButton31Click},
        {bar_.SpeedButton32, &EditingCommands::SpeedButton32Click},
    };
    for (const auto& [button, handler] : handlers)
        QObject::connect(button, &QToolButton::clicked, owner,
                         [this, h = handler] { (this->*h)(); });
}

EditInputs EditingCommands::inputs() {
    const ViewState& v = services_.view();
    EditInputs in;
    in.cursorFrame = store().viewStart + v.cursorColumn;
    in.cursorRow = v.cursorRow;
    in.secondFrame = v.secondFrame;
    // ComboBox16 keeps its item in the low bits of the view flags.
    in.blockItem = store().header.value[hdr::ViewFlags] & 0x0F;
    return in;
}

EditKeys EditingCommands::keys() {
    const Modifiers m = services_.prompter().modifiers();
    return EditKeys{m.leftShift, m.rightShift, m.leftCtrl, m.rightCtrl};
}

void EditingCommands::showPasteState() {
    bar_.SpeedButton29->setEnabled(available_ && tools_.clipboard.filled);
}

void EditingCommands::finish(const EditResult& r, bool changes) {
    // A command refused because another one is running changed nothing.
    if (r.outcome == Outcome::Busy) return;
    // Every command but the copy that ran to its end changed the survey.
    if (r.outcome == Outcome::Done && changes) services_.markModified();
    showPasteState();
    bar_.SpeedButton18->setText(QString::number(store().frameCount));
    if (r.timeRangeChanged && onTimeRangeChanged) onTimeRangeChanged();
    if (r.redraw) {
        services_.redraw(Redraw::Radargram);
        bar_.Panel_1->setFocus();
    }
}

void EditingCommands::SpeedButton26Click() {
    if (available_) finish(ShiftFramesRight(store(), tools_, services_.interaction(), inputs()));
}

void EditingCommands::SpeedButton27Click() {
    if (available_) finish(ShiftFramesLeft(store(), tools_, services_.interaction(), inputs()));
}

void EditingCommands::SpeedButton28Click() {
    if (available_) finish(copyFrames(store(), tools_, services_.interaction(), inputs()), false);
}

void EditingCommands::SpeedButton29Click() {
    if (available_) finish(pasteFrames(store(), tools_, services_.interaction(), inputs()));
}

void EditingCommands::SpeedButton30Click() {
    if (!available_) return;
    finish(
        DeleteFrames(store(), tools_, services_.interaction(), inputs(), deleteRangeFor(keys())));
}

void EditingCommands::SpeedButton13Click() {
    if (available_) finish(mirrorFrames(store(), tools_, inputs(), blockScopeFor(keys())));
}

void EditingCommands::SpeedButton14Click() {
    if (available_) finish(moveFramesUp(store(), tools_, inputs(), blockScopeFor(keys())));
}

void EditingCommands::SpeedButton31Click() {
    if (!available_) return;
    finish(resampleX(store(), tools_, services_.interaction(), inputs(), xResamplingFor(keys())));
}

void EditingCommands::SpeedButton32Click() {
    if (!available_) return;
    finish(resampleT(store(), tools_, services_.interaction(), tResamplingFor(keys())));
}

void EditingCommands::afterHistoryStep() {
    services_.markModified();
    bar_.SpeedButton18->setText(QString::number(store().frameCount));
    // The step may have put back the time range of a "cT".
    if (onTimeRangeChanged) onTimeRangeChanged();
    services_.redraw(Redraw::Radargram);
    bar_.Panel_1->setFocus();
}

bool EditingCommands::undo() {
    if (!available_ || !tools_.history.undo(store())) return false;
    afterHistoryStep();
    return true;
}

bool EditingCommands::redo() {
    if (!available_ || !tools_.history.redo(store())) return false;
    afterHistoryStep();
    return true;
}

bool EditingCommands::keyPressed(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers chord = modifiers & (Qt::ControlModifier | Qt::AltModifier);
    if (chord != Qt::ControlModifier || textField(target)) return false;
    const bool z = key == Qt::Key_Z || key == CYRILLIC_YA;
    const bool y = key == Qt::Key_Y || key == CYRILLIC_EN;
    if (z && !(modifiers & Qt::ShiftModifier)) {
        undo();
        return true;
    }
    if (y || z) {
        redo();
        return true;
    }
    return false;
}

void EditingCommands::surveyOpened() {
    tools_.surveyOpened();
    surveyLoaded_ = true;
    showPasteState();
}

void EditingCommands::setAvailable(bool on) {
    available_ = on && surveyLoaded_;
    // A view or mode that takes the buttons away may build in the work
    // bytes: the clipboard is given up with the paste button.
    if (!available_) tools_.clipboard.filled = false;
    for (QToolButton* b :
         {bar_.SpeedButton13, bar_.SpeedButton14, bar_.SpeedButton26, bar_.SpeedButton27,
          bar_.SpeedButton28, bar_.SpeedButton30, bar_.SpeedButton31, bar_.SpeedButton32})
        b->setEnabled(available_);
    showPasteState();
}

void EditingCommands::framesRewritten() {
    tools_.clipboard.filled = false;
    tools_.history.clear();
    showPasteState();
}

} // namespace tesk
