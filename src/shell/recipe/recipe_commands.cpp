// The commands of the recipe language. Each drives the window the way an
// operator would: buttons are clicked, boxes set, cells typed into, keys
// sent to the focus (the pointer gestures are in recipe_gestures.cpp).

#include "shell/recipe/recipe_run.h"

#include "shell/recipe/recipe.h"

#include "display/overlay.h"
#include "shell/editing/editing_commands.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/radio_group.h"
#include "shell/widgets/string_grid.h"
#include "shell/window/tform1.h"
#include "store/byte_source.h"
#include "volume/volume_build.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSaveFile>
#include <QSlider>
#include <cstdlib>

namespace tesk {

namespace {

void savePicture(const QImage& image, const std::string& path) {
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) || !image.save(&f, "PNG") || !f.commit())
        throw RecipeError{1, "cannot write " + path};
}

} // namespace

// clang-format off
const RecipeRun::Command RecipeRun::COMMANDS[] = {
    {"open", 2, "open PATH [--append] [--refused]", &RecipeRun::open},
    {"save", 2, "save PATH [--as gem|bmp|opt|txt|sgy] [--shift|--ctrl]", &RecipeRun::save},
    {"set", 3, "set CONTROL VALUE | set LIST ITEM [on|off]", &RecipeRun::set},
    {"click", 2, "click CONTROL [--left-shift] [--left-ctrl] [--right-ctrl] [--right-button]", &RecipeRun::click},
    {"mouse", 4, "mouse CONTROL X Y [--right-button] [--left-shift] [--left-ctrl] [--right-ctrl]", &RecipeRun::mouse},
    {"release", 4, "release CONTROL X Y [--right-button] [--left-shift] [--left-ctrl] [--right-ctrl]", &RecipeRun::release},
    {"move", 4, "move CONTROL X Y [--left-button|--right-button] [--left-shift] [--left-ctrl] [--right-ctrl]", &RecipeRun::move},
    {"drag", 6, "drag CONTROL X1 Y1 X2 Y2 [--right-button] [--left-shift] [--left-ctrl] [--right-ctrl]", &RecipeRun::drag},
    {"dblclick", 4, "dblclick CONTROL X Y [--right-button] [--left-shift] [--left-ctrl] [--right-ctrl]", &RecipeRun::dblclick},
    {"cell", 5, "cell GRID COL ROW TEXT", &RecipeRun::cell},
    {"select", 4, "select GRID COL ROW", &RecipeRun::select},
    {"key", 2, "key KEY [CONTROL]", &RecipeRun::key},
    {"answer", 2, "answer yes|no|cancel|ok ...", &RecipeRun::answer},
    {"render", 2, "render PATH.png [--no-overlay]", &RecipeRun::render},
    {"grab", 2, "grab PATH.png [CONTROL]", &RecipeRun::grab},
    {"print", 2, "print CONTROL | print header | print frame N | print title | print volume | print node GX GY", &RecipeRun::print},
    {"expect", 2, "expect TEXT", &RecipeRun::expect},
    {"undo", 1, "undo", &RecipeRun::undo},
    {"redo", 1, "redo", &RecipeRun::redo},
};
// clang-format on

void RecipeRun::run(const std::string& line) {
    Words w;
    if (!splitRecipeLine(line, w)) throw RecipeError{2, "unclosed quote"};
    if (w.empty()) return;
    for (const Command& c : COMMANDS) {
        if (w[0] != c.name) continue;
        if (w.size() < c.words) throw RecipeError{2, std::string("usage: ") + c.usage};
        (this->*c.run)(w);
        return;
    }
    throw RecipeError{2, "unknown command: " + w[0]};
}

QWidget* RecipeRun::control(const std::string& name) {
    QWidget* w = form_->findChild<QWidget*>(QString::fromStdString(name));
    if (!w) throw RecipeError{2, "unknown control: " + name};
    return w;
}

Modifiers RecipeRun::keys(const Words& w, Qt::MouseButton& button) {
    Modifiers m;
    button = Qt::LeftButton;
    for (std::size_t i = 1; i < w.size(); ++i) {
        if (w[i] == "--left-shift" || w[i] == "--shift")
            m.leftShift = true;
        else if (w[i] == "--left-ctrl" || w[i] == "--ctrl")
            m.leftCtrl = true;
        else if (w[i] == "--right-ctrl")
            m.rightCtrl = true;
        else if (w[i] == "--right-button")
            button = Qt::RightButton;
        else if (w[i] == "--left-button")
            button = Qt::LeftButton;
    }
    return m;
}

int RecipeRun::number(const std::string& word, const std::string& what, int lo, int hi) {
    char* end = nullptr;
    const long n = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end || n < lo || n > hi)
        throw RecipeError{2, "value out of range for " + what + ": " + word};
    return int(n);
}

QPoint RecipeRun::point(const Words& w, std::size_t at) {
    return QPoint(number(w[at], "X", -100000, 100000), number(w[at + 1], "Y", -100000, 100000));
}

void RecipeRun::say(const std::string& s) {
    out_ << s << '\n';
    lastText_ = s;
}

void RecipeRun::open(const Words& w) {
    Modifiers m;
    bool refusal = false; // the recipe expects the file to be refused
    for (std::size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "--append") m.leftCtrl = true;
        if (w[i] == "--refused") refusal = true;
    }
    if (!fileExists(w[1])) {
        // The dialog offers only files that exist; a name typed into it
        // that does not gets the message of a file that cannot be read.
        withKeys(m, [&] { form_->openChosenFile(w[1], m.leftCtrl); });
    } else {
        prompter_.openNames.push_back(w[1]);
        withKeys(m, [&] { static_cast<QAbstractButton*>(control("SpeedButton1"))->click(); });
        if (!prompter_.openNames.empty()) {
            prompter_.openNames.clear();
            throw RecipeError{1, "the open command did not run (busy)"};
        }
    }
    const OpenOutcome outcome = form_->lastOpen().outcome;
    const bool loaded =
        outcome == OpenOutcome::FramesLoaded || outcome == OpenOutcome::SettingsLoaded ||
        outcome == OpenOutcome::NothingDone || outcome == OpenOutcome::CoordinatesImported;
    if (refusal && loaded) throw RecipeError{1, "expected " + w[1] + " to be refused"};
    if (!refusal && !loaded) throw RecipeError{1, "cannot open " + w[1]};
}

void RecipeRun::save(const Words& w) {
    int index = 1;
    for (std::size_t i = 2; i + 1 < w.size(); ++i) {
        if (w[i] != "--as") continue;
        const std::string& t = w[i + 1];
        index = t == "gem"   ? 1
                : t == "bmp" ? 2
                : t == "opt" ? 3
                : t == "txt" ? 4
                : t == "sgy" ? 5
                             : 0;
        if (!index) throw RecipeError{2, "unknown file type: " + t};
    }
    prompter_.saveNames.push_back(SaveChoice{w[1], index});
    Qt::MouseButton button;
    withKeys(keys(w, button),
             [&] { static_cast<QAbstractButton*>(control("SpeedButton3"))->click(); });
    prompter_.saveNames.clear();
    if (!form_->lastSave().written) throw RecipeError{1, "nothing was written to " + w[1]};
}

void RecipeRun::set(const Words& w) {
    QWidget* c = control(w[1]);
    const std::string& v = w[2];
    withKeys({}, [&] {
        if (auto* b = qobject_cast<QComboBox*>(c))
            b->setCurrentIndex(number(v, w[1], 0, b->count() - 1));
        else if (auto* k = qobject_cast<QCheckBox*>(c))
            k->setChecked(number(v, w[1], 0, 1) == 1);
        else if (auto* e = qobject_cast<QLineEdit*>(c)) {
            e->setText(QString::fromStdString(v));
            emit e->textEdited(e->text());
        } else if (auto* s = qobject_cast<QSlider*>(c)) {
            s->setValue(number(v, w[1], s->minimum(), s->maximum()));
        } else if (auto* l = qobject_cast<QListWidget*>(c)) {
            // A list item is chosen, and with on / off its check box set.
            const int row = number(v, w[1], 0, l->count() - 1);
            l->setCurrentRow(row);
            if (w.size() > 3) {
                if (w[3] != "on" && w[3] != "off")
                    throw RecipeError{2, "usage: set LIST ITEM [on|off]"};
                l->item(row)->setCheckState(w[3] == "on" ? Qt::Checked : Qt::Unchecked);
            }
        } else
            throw RecipeError{2, w[1] + " has no value to set"};
    });
}

void RecipeRun::click(const Words& w) {
    QWidget* c = control(w[1]);
    Qt::MouseButton button;
    const Modifiers m = keys(w, button);
    withKeys(m, [&] {
        if (auto* l = dynamic_cast<ClickLabel*>(c); l && button == Qt::LeftButton && l->onClick)
            l->onClick();
        else if (button == Qt::RightButton || qobject_cast<QFrame*>(c) || qobject_cast<QLabel*>(c))
            form_->PanelMouseDown(c, button);
        else if (auto* b = qobject_cast<QAbstractButton*>(c))
            b->click();
        else
            throw RecipeError{2, w[1] + " cannot be clicked"};
    });
}

void RecipeRun::cell(const Words& w) {
    auto* grid = dynamic_cast<StringGrid*>(control(w[1]));
    if (!grid) throw RecipeError{2, w[1] + " is not a table"};
    const int column = number(w[2], "COL", 0, grid->columnCount() - 1);
    const int row = number(w[3], "ROW", 0, grid->rowCount() - 1);
    std::string text;
    for (std::size_t i = 4; i < w.size(); ++i) text += (i > 4 ? " " : "") + w[i];
    bool typed = false;
    withKeys({}, [&] { typed = grid->typeIntoCell(column, row, QString::fromStdString(text)); });
    if (!typed)
        throw RecipeError{1, "cell " + w[2] + " " + w[3] + " of " + w[1] + " cannot be typed into"};
}

// A click on a cell of a table, as the mouse gives it.
void RecipeRun::select(const Words& w) {
    auto* grid = dynamic_cast<StringGrid*>(control(w[1]));
    if (!grid) throw RecipeError{2, w[1] + " is not a table"};
    const int column = number(w[2], "COL", 0, grid->columnCount() - 1);
    const int row = number(w[3], "ROW", 0, grid->rowCount() - 1);
    withKeys({}, [&] {
        grid->setCurrentCell(row, column);
        emit grid->cellClicked(row, column);
    });
}

void RecipeRun::key(const Words& w) {
    static const std::pair<const char*, int> KEYS[] = {
        {"Return", Qt::Key_Return},     {"Enter", Qt::Key_Enter}, {"Escape", Qt::Key_Escape},
        {"Left", Qt::Key_Left},         {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},
        {"Down", Qt::Key_Down},         {"Tab", Qt::Key_Tab},     {"PageUp", Qt::Key_PageUp},
        {"PageDown", Qt::Key_PageDown}, {"Home", Qt::Key_Home},   {"End", Qt::Key_End}};
    int key = 0;
    QString text;
    for (const auto& [name, k] : KEYS)
        if (w[1] == name) key = k;
    if (!key && w[1].size() == 1) {
        key = QChar(w[1][0]).toUpper().unicode();
        text = QString::fromStdString(w[1]);
    }
    if (!key) throw RecipeError{2, "unknown key: " + w[1]};
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_.get();
    if (w.size() > 2) target = control(w[2]);
    withKeys({}, [&] {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    });
}

void RecipeRun::answer(const Words& w) {
    for (std::size_t i = 1; i < w.size(); ++i) {
        const std::string& a = w[i];
        if (a == "yes")
            prompter_.answers.push_back(Answer::Yes);
        else if (a == "no")
            prompter_.answers.push_back(Answer::No);
        else if (a == "cancel")
            prompter_.answers.push_back(Answer::Cancel);
        else if (a == "ok")
            prompter_.answers.push_back(Answer::Ok);
        else
            throw RecipeError{2, "unknown answer: " + a};
    }
}

void RecipeRun::render(const Words& w) {
    const bool overlay = !(w.size() > 2 && w[2] == "--no-overlay");
    QImage image;
    const Point o = form_->view().ViewOrigin;
    if (overlay) {
        image = form_->radargramImage().copy();
        QPainter p(&image);
        p.drawImage(0, 0, form_->overlayImage());
    } else {
        image = form_->radargramImage().copy(o.x, o.y, 2 * VIEW_FRAMES, 512);
    }
    savePicture(image, w[1]);
    say("rendered " + w[1]);
}

// The window, or one control of it, as the operator would see it on the
// screen: panels, captions and the radargram together.
void RecipeRun::grab(const Words& w) {
    QWidget* what = w.size() > 2 ? control(w[2]) : form_.get();
    QApplication::processEvents();
    savePicture(what->grab().toImage(), w[1]);
    say("grabbed " + w[1]);
}

void RecipeRun::print(const Words& w) {
    if (w[1] == "header") {
        say(hexCells(store_.header.value.data(), HEADER_CELLS));
    } else if (w[1] == "frame") {
        if (w.size() < 3) throw RecipeError{2, "usage: print frame N"};
        char* end = nullptr;
        const long n = std::strtol(w[2].c_str(), &end, 10);
        if (w[2].empty() || *end || n < 0 || n > MAX_FRAME_INDEX)
            throw RecipeError{2, "frame out of range: " + w[2]};
        say(hexCells(store_.frame(int(n)).value.data(), CELLS_PER_FRAME));
    } else if (w[1] == "title") {
        say(form_->windowTitle().toStdString());
    } else if (w[1] == "volume") {
        const VolumeGrid* g = form_->volumeGrid();
        say(g ? volumeSummary(*g) : "volume: not built");
    } else if (w[1] == "node") {
        if (w.size() < 4) throw RecipeError{2, "usage: print node GX GY"};
        const int gx = number(w[2], "GX", 0, LAST_GRID_NODE);
        const int gy = number(w[3], "GY", 0, LAST_GRID_NODE);
        const VolumeGrid* g = form_->volumeGrid();
        if (!g || !g->info.built) throw RecipeError{1, "no volume is built"};
        std::string cells = nodeCellsHex(*g, gx, gy);
        if (!cells.empty() && cells.back() == '\n') cells.pop_back();
        say(cells);
    } else {
        say(describeControl(control(w[1]), form_.get()));
    }
}

void RecipeRun::expect(const Words& w) {
    std::string want;
    for (std::size_t i = 1; i < w.size(); ++i) want += (i > 1 ? " " : "") + w[i];
    if (lastText_.find(want) == std::string::npos)
        throw RecipeError{1, "expected \"" + want + "\" in \"" + lastText_ + "\""};
}

// Undo and redo as the operator gives them: Ctrl+Z and Ctrl+Y on the
// command bar, which has the focus after every edit.
void RecipeRun::undo(const Words&) {
    historyKey(Qt::Key_Z, "undone", "nothing to undo");
}

void RecipeRun::redo(const Words&) {
    historyKey(Qt::Key_Y, "redone", "nothing to redo");
}

void RecipeRun::historyKey(int key, const char* done, const char* nothing) {
    const editing::EditHistory& h = form_->editingCommands().tools().history;
    const int before = h.undoSteps();
    QWidget* bar = control("Panel_1");
    withKeys({}, [&] {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
        QApplication::sendEvent(bar, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
        QApplication::sendEvent(bar, &release);
    });
    if (h.undoSteps() == before) throw RecipeError{1, nothing};
    say(done);
}

} // namespace tesk
