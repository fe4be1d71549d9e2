#include "shell/display/navigation.h"

#include "shell/prompts/prompter.h"
#include "shell/window/command_bar.h"

#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace tesk {

Navigation::Navigation(ShellServices& services, CommandBar& bar)
    : ShellPanel(services), bar_(bar) {}

void Navigation::connectHandlers() {
    QObject* owner = bar_.Panel_1;
    QObject::connect(bar_.SpeedButton17, &QToolButton::clicked, owner,
                     [this] { SpeedButton17Click(); });
    QObject::connect(bar_.SpeedButton18, &QToolButton::clicked, owner,
                     [this] { SpeedButton18Click(); });
    for (QToolButton* b : {bar_.SpeedButton20, bar_.SpeedButton21, bar_.SpeedButton22,
                           bar_.SpeedButton23, bar_.SpeedButton24, bar_.SpeedButton25})
        QObject::connect(b, &QToolButton::clicked, owner, [this, b] { NudgeClick(b); });
    QObject::connect(bar_.MaskEdit1, &QLineEdit::textEdited, owner, [this] { MaskEdit1Change(); });
}

// The view step of ComboBox16, as the header keeps it.
int Navigation::viewStepItem() {
    return store().header.value[hdr::ViewFlags] & 0x0F;
}

void Navigation::SpeedButton18Click() {
    const Modifiers m = services_.prompter().modifiers();
    store().viewStart =
        nextViewStart(store(), store().viewStart, viewStepItem(), NavKeys{m.leftShift, m.leftCtrl});
    showViewStart();
    services_.redraw(Redraw::Radargram);
    bar_.Panel_1->window()->setFocus();
}

void Navigation::SpeedButton17Click() {
    const Modifiers m = services_.prompter().modifiers();
    store().viewStart = previousViewStart(store(), store().viewStart, viewStepItem(),
                                          NavKeys{m.leftShift, m.leftCtrl});
    showViewStart();
    services_.redraw(Redraw::Radargram);
    bar_.Panel_1->window()->setFocus();
}

void Navigation::MaskEdit1Change() {
    if (busy() || restoring()) return;
    store().viewStart = typedViewStart(store(), bar_.MaskEdit1->displayText().toStdString());
    const int cursor = bar_.MaskEdit1->cursorPosition();
    showViewStart();
    bar_.MaskEdit1->setCursorPosition(cursor);
}

void Navigation::showViewStart() {
    // The field always shows five digits; its blanks are zeros.
    const Restoring quiet(services_);
    bar_.MaskEdit1->setText(QString("%1").arg(store().viewStart, 5, 10, QChar('0')));
}

void Navigation::Edit1KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    services_.redraw(Redraw::Radargram);
}

void Navigation::NudgeClick(QToolButton* b) {
    if (!services_.radargramShown()) return; // the slice views move their sections
    ViewState& v = services_.view();
    if (b == bar_.SpeedButton20) v.cursorColumn = std::max(v.cursorColumn - 1, 0);
    if (b == bar_.SpeedButton21) v.cursorColumn = std::min(v.cursorColumn + 1, 511);
    if (b == bar_.SpeedButton22) v.cursorRow = std::max(v.cursorRow - 1, 0);
    if (b == bar_.SpeedButton23) v.cursorRow = std::min(v.cursorRow + 1, 511);
    if (b == bar_.SpeedButton24) v.sectionIndex = std::max(v.sectionIndex - 1, 0);
    if (b == bar_.SpeedButton25) v.sectionIndex = std::min(v.sectionIndex + 1, 511);
    services_.redraw(Redraw::Overlay);
}

} // namespace tesk
