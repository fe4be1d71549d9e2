#pragma once

#include "shell/prompts/prompter.h"

#include <QObject>

class QWidget;

namespace tesk {

// Real dialogs and the physical keyboard. It watches key presses of the
// whole application to tell the left Ctrl and Shift from the right ones,
// which the toolkit's modifier flags do not distinguish.
class QtPrompter final : public QObject, public Prompter {
  public:
    explicit QtPrompter(QWidget* parent);
    Answer message(const Message& m, bool english) override;
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<SaveChoice> saveFileName(const std::string& filter,
                                           const std::string& defaultExtension) override;
    std::optional<QColor> colour(const QColor& initial) override;
    Modifiers modifiers() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* parent_;
    Modifiers keys_;
};

} // namespace tesk
