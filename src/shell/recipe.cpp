#include "shell/recipe.h"

#include "display/overlay.h"
#include "shell/prompter.h"
#include "shell/tform1.h"
#include "shell/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSaveFile>
#include <QSlider>
#include <QToolButton>
#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace tesk {

bool splitRecipeLine(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    std::string w;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && i + 1 < line.size()) {
                w += line[++i];
            } else {
                w += c;
            }
            continue;
        }
        if (c == '#') break;
        if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            w += line[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) words.push_back(w);
            w.clear();
            inWord = false;
        } else {
            w += c;
            inWord = true;
        }
    }
    if (quote) return false;
    if (inWord) words.push_back(w);
    return true;
}

namespace {

// The toolkit wants a private runtime directory; batch runs often have none.
void quietRuntimeDirectory() {
    if (!qgetenv("XDG_RUNTIME_DIR").isEmpty()) return;
    const QByteArray dir =
        QDir::tempPath().toUtf8() + "/tesk-runtime-" + QByteArray::number(getuid());
    QDir().mkpath(QString::fromUtf8(dir));
    QFile::setPermissions(QString::fromUtf8(dir),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir);
}

void ensureApplication() {
    if (QApplication::instance()) return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectory();
    static int argc = 1;
    static char name[] = "tesk-cli";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    QApplication::setApplicationName("Tesk");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QApplication::setFont(QFont("MS Sans Serif", 8));
}

struct RecipeError {
    int status; // 1 command failed, 2 recipe error
    std::string text;
};

std::string hex(const uint8_t* p, int n) {
    std::string s;
    char b[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02X", p[i]);
        if (i) s += (i % 16 == 0) ? '\n' : ' ';
        s += b;
    }
    return s;
}

std::string substitute(std::string line, const std::string& file) {
    if (file.empty()) return line;
    const QFileInfo fi(QString::fromStdString(file));
    const std::pair<const char*, std::string> vars[] = {
        {"$FILE", file},
        {"$DIR", fi.absolutePath().toStdString()},
        {"$STEM", fi.completeBaseName().toStdString()}};
    for (const auto& [name, value] : vars) {
        for (std::size_t at = line.find(name); at != std::string::npos;
             at = line.find(name, at + value.size()))
            line.replace(at, std::string(name).size(), value);
    }
    return line;
}

// The one survey store of a batch run: allocated on first use and reset for
// every file, never reallocated, as in the viewer.
ProfileStore& batchStore() {
    static ProfileStore store;
    return store;
}

// One run of a recipe over a fresh window on the batch store.
class RecipeRun {
  public:
    RecipeRun(std::ostream& out, std::ostream& err) : store_(batchStore()), out_(out), err_(err) {
        store_.reset();
        prompter_.unansweredDefault = Answer::No;
        prompter_.onShown = [this](const ShownMessage& m) {
            out_ << "message: " << describe(m) << '\n';
            lastText_ = m.text;
        };
        form_ = std::make_unique<TForm1>(store_, prompter_);
        form_->resize(1467, 756);
    }
    // Answers queued by the recipe that no question took.
    std::size_t unusedAnswers() const { return prompter_.answers.size(); }

    void run(const std::string& line);

  private:
    QWidget* control(const std::string& name) {
        QWidget* w = form_->findChild<QWidget*>(QString::fromStdString(name));
        if (!w) throw RecipeError{2, "unknown control: " + name};
        return w;
    }
    void need(const std::vector<std::string>& w, std::size_t n, const char* usage) {
        if (w.size() < n) throw RecipeError{2, std::string("usage: ") + usage};
    }
    Modifiers keys(const std::vector<std::string>& w, Qt::MouseButton& button) {
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
        }
        return m;
    }
    // Runs a handler with the modifier keys held, then checks that every
    // question it asked had an answer.
    template <typename F> void withKeys(const Modifiers& m, F&& f) {
        const int before = prompter_.unanswered;
        prompter_.held = m;
        f();
        prompter_.held = {};
        if (prompter_.unanswered > before)
            throw RecipeError{2, "a question had no queued answer (use: answer yes|no|cancel|ok)"};
    }
    void print(const std::string& s) {
        out_ << s << '\n';
        lastText_ = s;
    }
    std::string describeControl(QWidget* w);
    void render(const std::string& path, bool overlay);
    void grab(const std::string& path, QWidget* what);

    ProfileStore& store_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TForm1> form_;
    std::ostream& out_;
    std::ostream& err_;
    std::string lastText_;
};

std::string RecipeRun::describeControl(QWidget* w) {
    std::ostringstream s;
    s << w->objectName().toStdString() << ":";
    if (auto* c = qobject_cast<QComboBox*>(w))
        s << " item=" << c->currentIndex() << " text=\"" << c->currentText().toStdString() << '"';
    else if (auto* b = qobject_cast<QCheckBox*>(w))
        s << " checked=" << (b->isChecked() ? 1 : 0) << " caption=\"" << b->text().toStdString()
          << '"';
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        s << " caption=\"" << b->text().toStdString() << '"';
        if (b->isCheckable()) s << " checked=" << (b->isChecked() ? 1 : 0);
    } else if (auto* e = qobject_cast<QLineEdit*>(w))
        s << " text=\"" << e->displayText().toStdString() << '"';
    else if (auto* l = qobject_cast<QLabel*>(w))
        s << " caption=\"" << l->text().toStdString() << '"';
    else if (auto* t = qobject_cast<QSlider*>(w))
        s << " position=" << t->value();
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        s << " lines=" << m->blockCount() << " text=\"" << m->toPlainText().toStdString() << '"';
    else if (auto* p = qobject_cast<QProgressBar*>(w))
        s << " position=" << p->value() << " of " << p->maximum();
    if (!w->toolTip().isEmpty()) s << " hint=\"" << w->toolTip().toStdString() << '"';
    s << " enabled=" << (w->isEnabled() ? 1 : 0)
      << " visible=" << (w->isVisibleTo(form_.get()) ? 1 : 0);
    return s.str();
}

void RecipeRun::render(const std::string& path, bool overlay) {
    QImage image;
    const Point o = form_->view().ViewOrigin;
    if (overlay) {
        image = form_->radargramImage().copy();
        QPainter p(&image);
        p.drawImage(0, 0, form_->overlayImage());
    } else {
        image = form_->radargramImage().copy(o.x, o.y, 2 * VIEW_FRAMES, 512);
    }
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) || !image.save(&f, "PNG") || !f.commit())
        throw RecipeError{1, "cannot write " + path};
    print("rendered " + path);
}

// The window, or one control of it, as the operator would see it on the
// screen: panels, captions and the radargram together.
void RecipeRun::grab(const std::string& path, QWidget* what) {
    QApplication::processEvents();
    const QImage image = what->grab().toImage();
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) || !image.save(&f, "PNG") || !f.commit())
        throw RecipeError{1, "cannot write " + path};
    print("grabbed " + path);
}

void RecipeRun::run(const std::string& line) {
    std::vector<std::string> w;
    if (!splitRecipeLine(line, w)) throw RecipeError{2, "unclosed quote"};
    if (w.empty()) return;
    const std::string& cmd = w[0];
    Qt::MouseButton button;
    if (cmd == "open") {
        need(w, 2, "open PATH [--append] [--refused]");
        Modifiers m;
        bool refusal = false; // the recipe expects the file to be refused
        for (std::size_t i = 2; i < w.size(); ++i) {
            if (w[i] == "--append") m.leftCtrl = true;
            if (w[i] == "--refused") refusal = true;
        }
        prompter_.openNames.push_back(w[1]);
        withKeys(m, [&] { form_->SpeedButton1->click(); });
        if (!prompter_.openNames.empty()) {
            prompter_.openNames.clear();
            throw RecipeError{1, "the open command did not run (busy)"};
        }
        const bool loaded = form_->lastOpen().outcome == OpenOutcome::FramesLoaded ||
                            form_->lastOpen().outcome == OpenOutcome::NothingDone;
        if (refusal && loaded) throw RecipeError{1, "expected " + w[1] + " to be refused"};
        if (!refusal && !loaded) throw RecipeError{1, "cannot open " + w[1]};
    } else if (cmd == "save") {
        need(w, 2, "save PATH [--as gem|bmp|opt|txt] [--shift|--ctrl]");
        int index = 1;
        for (std::size_t i = 2; i + 1 < w.size(); ++i) {
            if (w[i] != "--as") continue;
            const std::string& t = w[i + 1];
            index = t == "gem" ? 1 : t == "bmp" ? 2 : t == "opt" ? 3 : t == "txt" ? 4 : 0;
            if (!index) throw RecipeError{2, "unknown file type: " + t};
        }
        prompter_.saveNames.push_back(SaveChoice{w[1], index});
        withKeys(keys(w, button), [&] { form_->SpeedButton3->click(); });
        prompter_.saveNames.clear();
        if (!form_->lastSave().written) throw RecipeError{1, "nothing was written to " + w[1]};
    } else if (cmd == "set") {
        need(w, 3, "set CONTROL VALUE");
        QWidget* c = control(w[1]);
        const std::string& v = w[2];
        auto number = [&](int lo, int hi) {
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end || n < lo || n > hi)
                throw RecipeError{2, "value out of range for " + w[1] + ": " + v};
            return int(n);
        };
        withKeys({}, [&] {
            if (auto* b = qobject_cast<QComboBox*>(c))
                b->setCurrentIndex(number(0, b->count() - 1));
            else if (auto* k = qobject_cast<QCheckBox*>(c))
                k->setChecked(number(0, 1) == 1);
            else if (auto* e = qobject_cast<QLineEdit*>(c)) {
                e->setText(QString::fromStdString(v));
                emit e->textEdited(e->text());
            } else if (auto* s = qobject_cast<QSlider*>(c))
                s->setValue(number(s->minimum(), s->maximum()));
            else
                throw RecipeError{2, w[1] + " has no value to set"};
        });
    } else if (cmd == "click") {
        need(w, 2, "click CONTROL [--left-shift] [--left-ctrl] [--right-ctrl] [--right-button]");
        QWidget* c = control(w[1]);
        const Modifiers m = keys(w, button);
        withKeys(m, [&] {
            if (auto* l = dynamic_cast<ClickLabel*>(c); l && button == Qt::LeftButton && l->onClick)
                l->onClick();
            else if (button == Qt::RightButton || qobject_cast<QFrame*>(c) ||
                     qobject_cast<QLabel*>(c))
                form_->PanelMouseDown(c, button);
            else if (auto* b = qobject_cast<QAbstractButton*>(c))
                b->click();
            else
                throw RecipeError{2, w[1] + " cannot be clicked"};
        });
    } else if (cmd == "mouse") {
        need(w, 4, "mouse CONTROL X Y [--right-button] [--left-shift] [--left-ctrl]");
        auto* img = dynamic_cast<ImageWidget*>(control(w[1]));
        if (!img || !img->onMouseDown) throw RecipeError{2, w[1] + " is not an image"};
        const QPoint at(std::atoi(w[2].c_str()), std::atoi(w[3].c_str()));
        const Modifiers m = keys(w, button);
        withKeys(m, [&] { img->onMouseDown(button, at); });
    } else if (cmd == "key") {
        need(w, 2, "key KEY");
        static const std::pair<const char*, int> KEYS[] = {
            {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Escape", Qt::Key_Escape},
            {"Left", Qt::Key_Left},     {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},
            {"Down", Qt::Key_Down},     {"Tab", Qt::Key_Tab}};
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
    } else if (cmd == "answer") {
        need(w, 2, "answer yes|no|cancel|ok ...");
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
    } else if (cmd == "render") {
        need(w, 2, "render PATH.png [--no-overlay]");
        render(w[1], !(w.size() > 2 && w[2] == "--no-overlay"));
    } else if (cmd == "grab") {
        need(w, 2, "grab PATH.png [CONTROL]");
        grab(w[1], w.size() > 2 ? control(w[2]) : form_.get());
    } else if (cmd == "print") {
        need(w, 2, "print CONTROL | print header | print frame N");
        if (w[1] == "header") {
            print(hex(store_.header.value.data(), HEADER_CELLS));
        } else if (w[1] == "frame") {
            need(w, 3, "print frame N");
            char* end = nullptr;
            const long n = std::strtol(w[2].c_str(), &end, 10);
            if (w[2].empty() || *end || n < 0 || n > MAX_FRAME_INDEX)
                throw RecipeError{2, "frame out of range: " + w[2]};
            print(hex(store_.frame(int(n)).value.data(), CELLS_PER_FRAME));
        } else if (w[1] == "title") {
            print(form_->windowTitle().toStdString());
        } else {
            print(describeControl(control(w[1])));
        }
    } else if (cmd == "expect") {
        need(w, 2, "expect TEXT");
        std::string want;
        for (std::size_t i = 1; i < w.size(); ++i) want += (i > 1 ? " " : "") + w[i];
        if (lastText_.find(want) == std::string::npos)
            throw RecipeError{1, "expected \"" + want + "\" in \"" + lastText_ + "\""};
    } else {
        throw RecipeError{2, "unknown command: " + cmd};
    }
}

} // namespace

int runRecipeText(const std::string& text, const std::string& name,
                  const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    ensureApplication();
    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) lines.push_back(l);
    }
    // A recipe written for a batch names the survey through $FILE, $DIR or
    // $STEM; without files after "--" those words would reach the commands
    // as they stand.
    if (files.empty()) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::vector<std::string> words;
            if (!splitRecipeLine(lines[i], words)) continue; // reported when run
            for (const std::string& word : words) {
                if (word.find("$FILE") != std::string::npos ||
                    word.find("$DIR") != std::string::npos ||
                    word.find("$STEM") != std::string::npos) {
                    err << name << ":" << (i + 1)
                        << ": the recipe uses $FILE, $DIR or $STEM but no files were given "
                           "after --\n";
                    return 2;
                }
            }
        }
    }
    std::vector<std::string> runs = files;
    if (runs.empty()) runs.push_back(std::string());
    int status = 0;
    for (const std::string& file : runs) {
        if (!file.empty()) out << "== " << file << '\n';
        RecipeRun run(out, err);
        bool failed = false;
        for (std::size_t i = 0; i < lines.size() && !failed; ++i) {
            try {
                run.run(substitute(lines[i], file));
            } catch (const RecipeError& e) {
                err << name << ":" << (i + 1) << ": " << e.text;
                if (!file.empty()) err << " (" << file << ")";
                err << '\n';
                if (e.status == 2) return 2;
                // A failed command ends this survey's run; the batch goes on
                // with the next file and reports the failure at the end.
                status = 1;
                failed = true;
            }
        }
        if (!failed && run.unusedAnswers() > 0)
            out << "note: " << run.unusedAnswers() << " queued answer(s) not used\n";
    }
    return status;
}

int runRecipe(const std::string& recipePath, const std::vector<std::string>& files,
              std::ostream& out, std::ostream& err) {
    std::ifstream in(recipePath);
    if (!in) {
        err << "tesk-cli: cannot read recipe " << recipePath << '\n';
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return runRecipeText(text.str(), recipePath, files, out, err);
}

} // namespace tesk
