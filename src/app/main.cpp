// The viewer: one main window over one survey store for the whole run. An
// optional argument names a file to open at start, as the open command would.

#include "shell/prompts/qt_prompter.h"
#include "shell/window/tform1.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tesk");
    // The window is designed for "MS Sans Serif"; Liberation Sans has its metrics.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QApplication::setFont(QFont("MS Sans Serif", 8));

    static tesk::ProfileStore store; // the one survey of the run
    tesk::TForm1* form = nullptr;
    tesk::QtPrompter prompter(nullptr);
    form = new tesk::TForm1(store, prompter);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->showMaximized();

    const QStringList args = QApplication::arguments();
    if (args.size() > 1) form->openChosenFile(args.at(1).toStdString(), false);
    return QApplication::exec();
}
