// What the print command shows of a control: its kind's state in one line,
// then the contents of a table, a memo or a list, one line each.

#include "shell/recipe/recipe_run.h"

#include "shell/widgets/radio_group.h"
#include "shell/widgets/string_grid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QTextBlock>
#include <cstdio>
#include <sstream>

namespace tesk {

std::string hexCells(const uint8_t* p, int n) {
    std::string s;
    char b[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02X", p[i]);
        if (i) s += (i % 16 == 0) ? '\n' : ' ';
        s += b;
    }
    return s;
}

namespace {

// A table: "NAME: rows=R cols=C", then each row's cells separated by a tab.
std::string describeGrid(const StringGrid& g) {
    std::ostringstream s;
    s << g.objectName().toStdString() << ": rows=" << g.rowCount() << " cols=" << g.columnCount();
    for (int r = 0; r < g.rowCount(); ++r) {
        s << '\n';
        for (int c = 0; c < g.columnCount(); ++c)
            s << (c ? "\t" : "") << g.cell(c, r).toStdString();
    }
    return s.str();
}

} // namespace

std::string describeControl(QWidget* w, QWidget* top) {
    if (auto* g = dynamic_cast<StringGrid*>(w)) return describeGrid(*g);
    std::ostringstream s;
    std::vector<std::string> lines; // contents after the state line
    s << w->objectName().toStdString() << ":";
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        s << " item=" << c->currentIndex() << " items=" << c->count() << " text=\""
          << c->currentText().toStdString() << '"';
        for (int i = 0; i < c->count(); ++i) lines.push_back(c->itemText(i).toStdString());
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        s << " item=" << l->currentRow() << " items=" << l->count();
        for (int i = 0; i < l->count(); ++i) {
            const QListWidgetItem* it = l->item(i);
            const bool checkable = it->flags() & Qt::ItemIsUserCheckable;
            lines.push_back((checkable ? (it->checkState() == Qt::Checked ? "[x] " : "[ ] ") : "") +
                            it->text().toStdString());
        }
    } else if (auto* b = qobject_cast<QCheckBox*>(w)) {
        s << " checked=" << (b->isChecked() ? 1 : 0) << " caption=\"" << b->text().toStdString()
          << '"';
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        s << " caption=\"" << b->text().toStdString() << '"';
        if (b->isCheckable()) s << " checked=" << (b->isChecked() ? 1 : 0);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        s << " text=\"" << e->displayText().toStdString() << '"';
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        s << " caption=\"" << l->text().toStdString() << '"';
    } else if (auto* t = qobject_cast<QSlider*>(w)) {
        s << " position=" << t->value();
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        s << " lines=" << m->blockCount() << " text=\"" << m->toPlainText().toStdString() << '"';
        for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next())
            lines.push_back(b.text().toStdString());
    } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
        s << " position=" << p->value() << " of " << p->maximum();
    } else if (auto* g = dynamic_cast<RadioGroup*>(w)) {
        s << " item=" << g->itemIndex() << " caption=\"" << g->title().toStdString() << '"';
    }
    if (!w->toolTip().isEmpty()) s << " hint=\"" << w->toolTip().toStdString() << '"';
    s << " enabled=" << (w->isEnabled() ? 1 : 0) << " visible=" << (w->isVisibleTo(top) ? 1 : 0);
    for (const std::string& l : lines) s << "\n  " << l;
    return s.str();
}

} // namespace tesk
