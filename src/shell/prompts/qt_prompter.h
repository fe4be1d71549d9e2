#pragma once

#include "shell/prompts/prompter.h"

#include <QObject>
#include <QTranslator>

class QMessageBox;
class QWidget;

namespace tesk {

// The buttons of a message box worded in the language of the window.
void labelButtons(QMessageBox& box, bool english);
// The name filters of an open or save dialog: the request's entries, and
// every file when it asks for that.
QStringList requestFilters(const FileRequest& request);

// Real dialogs and the physical keyboard. It watches key presses of the
// whole application to tell the left Ctrl and Shift from the right ones,
// which the toolkit's modifier flags do not distinguish.
class QtPrompter final : public QObject, public Prompter {
  public:
    explicit QtPrompter(QWidget* parent);
    using Prompter::openFileName;
    using Prompter::saveFileName;
    Answer message(const Message& m, bool english) override;
    std::optional<std::string> openFileName(const FileRequest& request) override;
    std::optional<SaveChoice> saveFileName(const FileRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    Modifiers modifiers() override;
    // The toolkit's own texts of the dialogs (their buttons, labels and
    // columns) in the language of the window: its Russian translation while
    // the window speaks Russian.
    void useLanguage(bool english);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* parent_;
    Modifiers keys_;
    QTranslator russian_;
    bool russianLoaded_ = false;
    bool russianInstalled_ = false;
};

} // namespace tesk
