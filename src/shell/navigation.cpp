// Moving the radargram window over the survey and pointing at frames.

#include "shell/tform1.h"
#include "shell/widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace tesk {

void TForm1::SpeedButton18Click() {
    const Modifiers m = prompter_.modifiers();
    store_.viewStart = nextViewStart(store_, store_.viewStart, ComboBox16->currentIndex(),
                                     NavKeys{m.leftShift, m.leftCtrl});
    showViewStart();
    GRAF();
    DrawView();
    setFocus();
}

void TForm1::SpeedButton17Click() {
    const Modifiers m = prompter_.modifiers();
    store_.viewStart = previousViewStart(store_, store_.viewStart, ComboBox16->currentIndex(),
                                         NavKeys{m.leftShift, m.leftCtrl});
    showViewStart();
    GRAF();
    DrawView();
    setFocus();
}

void TForm1::MaskEdit1Change() {
    if (busy() || restoring_) return;
    store_.viewStart = typedViewStart(store_, MaskEdit1->displayText().toStdString());
    const int cursor = MaskEdit1->cursorPosition();
    showViewStart();
    MaskEdit1->setCursorPosition(cursor);
}

void TForm1::showViewStart() {
    // The field always shows five digits; its blanks are zeros.
    restoring_ = true;
    MaskEdit1->setText(QString("%1").arg(store_.viewStart, 5, 10, QChar('0')));
    restoring_ = false;
}

void TForm1::Edit1KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    GRAF();
    DrawView();
}

void TForm1::NudgeClick(QToolButton* b) {
    if ((store_.stateFlags & state::ViewMask) != 0) return; // the slice views move their sections
    if (b == SpeedButton20) view_.cursorColumn = std::max(view_.cursorColumn - 1, 0);
    if (b == SpeedButton21) view_.cursorColumn = std::min(view_.cursorColumn + 1, 511);
    if (b == SpeedButton22) view_.cursorRow = std::max(view_.cursorRow - 1, 0);
    if (b == SpeedButton23) view_.cursorRow = std::min(view_.cursorRow + 1, 511);
    if (b == SpeedButton24) view_.sectionIndex = std::max(view_.sectionIndex - 1, 0);
    if (b == SpeedButton25) view_.sectionIndex = std::min(view_.sectionIndex + 1, 511);
    DrawView();
}

void TForm1::Image1MouseDown(Qt::MouseButton button, QPoint at) {
    if ((store_.stateFlags & state::ViewMask) != 0) return; // radargram view only
    const Modifiers m = prompter_.modifiers();
    int column = 0, row = 0;
    const bool inside = pictureCell(view_, Point{at.x(), at.y()}, column, row);
    if (button == Qt::LeftButton) {
        if (inside) {
            view_.cursorColumn = column;
            view_.cursorRow = row;
            if (m.leftShift) view_.cursorColour = 0xFFFFFF;
            if (m.leftCtrl) view_.gridColour = 0x888888;
        } else {
            view_.cursorColumn = 0;
            view_.cursorRow = 0;
            if (m.leftCtrl) view_.gridColour = 0x000000;
        }
    } else if (button == Qt::RightButton) {
        if (inside && !(m.anyCtrl() || m.leftShift)) {
            view_.secondFrame = store_.viewStart + column;
            view_.secondRow = row;
        } else if (!inside) {
            view_.secondFrame = 0;
            view_.secondRow = 0;
        }
    }
    DrawView();
}

} // namespace tesk
