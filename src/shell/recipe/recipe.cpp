#include "shell/recipe/recipe.h"

#include "shell/recipe/recipe_run.h"
#include "shell/window/tform1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QInputDevice>
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

// The application of a batch run, when the caller has none. It ends with the
// run, while the toolkit's own globals (the input devices that key presses
// create among them) are still alive: left to the end of the program it
// would tear them down after they are gone.
std::unique_ptr<QApplication> ensureApplication() {
    if (QApplication::instance()) return nullptr;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectory();
    // The toolkit's list of input devices is made before the application,
    // so that it is destroyed after it at exit: the first key event of a
    // recipe creates the core keyboard, which the application's destructor
    // takes off that list.
    (void)QInputDevice::devices();
    static int argc = 1;
    static char name[] = "tesk-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName("Tesk");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QApplication::setFont(QFont("MS Sans Serif", 8));
    return app;
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

} // namespace

RecipeRun::RecipeRun(ProfileStore& store, std::ostream& out, std::ostream& err)
    : store_(store), out_(out), err_(err) {
    store_.reset();
    prompter_.unansweredDefault = Answer::No;
    prompter_.onShown = [this](const ShownMessage& m) {
        out_ << "message: " << describe(m) << '\n';
        lastText_ = m.text;
    };
    form_ = std::make_unique<TForm1>(store_, prompter_);
    form_->resize(1467, 756);
}

RecipeRun::~RecipeRun() = default;

int runRecipeText(const std::string& text, const std::string& name,
                  const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<QApplication> app = ensureApplication();
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
        RecipeRun run(batchStore(), out, err);
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
