// The viewer: one main window over one survey store for the whole run. An
// optional argument names a file to open at start, as the open command would.

#include "shell/prompts/qt_prompter.h"
#include "shell/window/tform1.h"

#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char USAGE[] = "Usage: tesk [FILE]\n"
                     "The ground-penetrating-radar survey viewer. FILE, when given, is opened at\n"
                     "start as the open command opens it: a work file (.gem), a device recording\n"
                     "(.geo) or a device-family file (.mr3, .gpr, .geb).\n"
                     "\n"
                     "  -h, --help     print this text and exit\n"
                     "  -v, --version  print the version and exit\n"
                     "  --             the next argument is the file, even if it starts with '-'\n"
                     "\n"
                     "Batch commands and recipes: tesk-cli --help\n";

} // namespace

int main(int argc, char** argv) {
    // Help and version need no window, nor a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("tesk %s\n", TESK_VERSION);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tesk");
    QApplication::setApplicationVersion(TESK_VERSION);

    // The toolkit has taken its own options out; what starts with "-" now
    // is an option this program does not have.
    const QStringList args = QApplication::arguments();
    QString file;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--") {
            if (i + 1 < args.size()) file = args[i + 1];
            break;
        }
        if (args[i].startsWith('-')) {
            std::fprintf(stderr, "tesk: unknown option %s\n%s", args[i].toLocal8Bit().constData(),
                         USAGE);
            return 2;
        }
        if (file.isEmpty()) file = args[i];
    }

    // The window is designed for "MS Sans Serif"; Liberation Sans has its metrics.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QApplication::setFont(QFont("MS Sans Serif", 8));

    static tesk::ProfileStore store; // the one survey of the run
    tesk::QtPrompter prompter(nullptr);
    auto* form = new tesk::TForm1(store, prompter);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->showMaximized();

    if (!file.isEmpty()) form->openChosenFile(file.toStdString(), false);
    return QApplication::exec();
}
