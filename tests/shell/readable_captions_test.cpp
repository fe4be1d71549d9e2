// Every caption and list item of the window can be read in both languages:
// no text is wider than its control, and no control's text runs under a
// neighbour on the same panel.

#include "window_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <string>
#include <vector>

namespace tesk::testing {
namespace {

// The width the control needs to show its text (or its longest item) whole.
int neededWidth(QWidget* w) {
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        // The longest item beside the arrow and the frame.
        const QFontMetrics fm(c->font());
        int widest = 0;
        for (int i = 0; i < c->count(); ++i)
            widest = std::max(widest, fm.horizontalAdvance(c->itemText(i)));
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        const QSize s =
            c->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(widest, fm.height()), c);
        return s.width();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w);
        b && !qobject_cast<QCheckBox*>(w) && !qobject_cast<QRadioButton*>(w))
        return QFontMetrics(b->font()).horizontalAdvance(b->text()) + 6; // the text and its bevel
    return w->sizeHint().width();
}

QString shownText(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return {};
}

// Text-carrying controls that are part of the window's design (not hidden
// on purpose, not a list's inner parts).
std::vector<QWidget*> textControls(QWidget& form) {
    std::vector<QWidget*> out;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (w->isHidden() || w->objectName().isEmpty()) continue;
        const bool text = qobject_cast<QComboBox*>(w) ||
                          ((qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) &&
                           !shownText(w).trimmed().isEmpty() && !w->objectName().startsWith("qt_"));
        if (text) out.push_back(w);
    }
    return out;
}

// Where the text of w is drawn inside its parent.
QRect textRect(QWidget* w) {
    QRect r = w->geometry();
    if (qobject_cast<QComboBox*>(w)) return r;
    if (auto* l = qobject_cast<QLabel*>(w); l && !(l->alignment() & Qt::AlignLeft)) return r;
    r.setWidth(std::min(r.width(), neededWidth(w)));
    return r;
}

std::vector<std::string> problems(QWidget& form) {
    std::vector<std::string> found;
    const std::vector<QWidget*> controls = textControls(form);
    for (QWidget* w : controls) {
        const std::string name = w->objectName().toStdString();
        const auto* label = qobject_cast<QLabel*>(w);
        if (!(label && label->wordWrap()) && neededWidth(w) > w->width() + 1)
            found.push_back(name + " needs " + std::to_string(neededWidth(w)) + " px, has " +
                            std::to_string(w->width()) + " (\"" + shownText(w).toStdString() +
                            "\")");
        const QRect r = textRect(w);
        for (QWidget* other :
             w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == w || other->isHidden() || other->objectName().isEmpty()) continue;
            if (other->geometry().contains(w->geometry())) continue; // a frame it stands on
            if (r.intersects(other->geometry()))
                found.push_back(name + " runs under " + other->objectName().toStdString());
        }
    }
    return found;
}

class ReadableCaptions : public WindowTest {};

TEST_F(ReadableCaptions, EveryTextFitsItsPlaceInBothLanguages) {
    ui.CheckBox14->setChecked(true); // every sub-panel of the option panel
    for (bool english : {true, false}) {
        ui.CheckBox1->setChecked(english);
        for (const std::string& p : problems(*form))
            ADD_FAILURE() << (english ? "English: " : "Russian: ") << p;
    }
}

} // namespace
} // namespace tesk::testing
