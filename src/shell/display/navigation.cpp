#include "shell/display/navigation.h"

#include "shell/prompts/prompter.h"
#include "shell/window/command_bar.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
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
    // Leaving the field with a number half typed shows the frame it chose.
    QObject::connect(bar_.MaskEdit1, &QLineEdit::editingFinished, owner, [this] {
        if (!busy() && !restoring()) showViewStart();
    });
}

// The view step of ComboBox16, as the header keeps it.
int Navigation::viewStepItem() {
    return store().header.value[hdr::ViewFlags] & 0x0F;
}

void Navigation::SpeedButton18Click() {
    const Modifiers m = services_.prompter().modifiers();
    moveTo(nextViewStart(store(), store().viewStart, viewStepItem(),
                         NavKeys{m.leftShift, m.leftCtrl}));
}

void Navigation::SpeedButton17Click() {
    const Modifiers m = services_.prompter().modifiers();
    moveTo(previousViewStart(store(), store().viewStart, viewStepItem(),
                             NavKeys{m.leftShift, m.leftCtrl}));
}

void Navigation::MaskEdit1Change() {
    if (busy() || restoring()) return;
    const QString typed = bar_.MaskEdit1->displayText();
    if (typed == shown_) return; // a key the mask refused
    store().viewStart = typedViewStart(store(), typed.toStdString());
    // A number typed into the emptied field is still being typed while
    // blanks are left: the field keeps it until Enter. Five digits typed
    // over the old ones show the frame the window starts at at once.
    if (typed.contains(' ')) return;
    const int cursor = bar_.MaskEdit1->cursorPosition();
    showViewStart();
    bar_.MaskEdit1->setCursorPosition(cursor);
}

void Navigation::showViewStart() {
    // The field always shows five digits; its blanks are zeros.
    const Restoring quiet(services_);
    shown_ = QString("%1").arg(store().viewStart, 5, 10, QChar('0'));
    bar_.MaskEdit1->setText(shown_);
}

void Navigation::Edit1KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    if (!busy() && !restoring()) showViewStart();
    services_.redraw(Redraw::Radargram);
}

void Navigation::showFirstFrames() {
    moveTo(previousViewStart(store(), store().viewStart, viewStepItem(), NavKeys{false, true}));
}

void Navigation::showLastFrames() {
    moveTo(nextViewStart(store(), store().viewStart, viewStepItem(), NavKeys{false, true}));
}

namespace {
// Edit fields, lists, tables and track bars move their own cursor, item or
// position with the arrow and page keys.
bool usesMovementKeys(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSlider*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTextEdit*>(w) ||
            qobject_cast<QPlainTextEdit*>(w))
            return true;
        if (w->isWindow()) break;
    }
    return false;
}
} // namespace

bool Navigation::viewKey(QWidget* focus, int key) {
    if (usesMovementKeys(focus) || busy() || !bar_.SpeedButton18->isEnabled()) return false;
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        bar_.SpeedButton18->click();
        return true;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        bar_.SpeedButton17->click();
        return true;
    case Qt::Key_Home:
        showFirstFrames();
        return true;
    case Qt::Key_End:
        showLastFrames();
        return true;
    default:
        return false;
    }
}

void Navigation::moveTo(int viewStart) {
    store().viewStart = viewStart;
    showViewStart();
    services_.redraw(Redraw::Radargram);
    bar_.Panel_1->window()->setFocus();
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
