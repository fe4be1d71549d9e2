#pragma once
// Every modal interaction of the window: message boxes, the open, save and
// colour dialogs, and the state of the modifier keys at the moment of an
// event. The window talks only to this interface; QtPrompter shows real
// dialogs, ScriptedPrompter answers from queues for tests and recipes.

#include "store/messages.h"

#include <QColor>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tesk {

struct Modifiers {
    bool leftShift = false;
    bool rightShift = false;
    bool leftCtrl = false;
    bool rightCtrl = false;
    bool escape = false;
    bool anyCtrl() const { return leftCtrl || rightCtrl; }
    bool anyShift() const { return leftShift || rightShift; }
};

struct SaveChoice {
    std::string path;
    int filterIndex = 1; // 1-based entry of the filter list
};

// What an open or save dialog is asked to show.
struct FileRequest {
    FileRequest() = default;
    explicit FileRequest(std::string entries) : filter(std::move(entries)) {}
    std::string filter;           // "Label|*.ext|Label|*.ext|", the entries of the list
    std::string folder;           // the folder it starts in; empty: the dialog's own choice
    std::string proposedName;     // the save dialog's name to start from
    std::string defaultExtension; // the save dialog adds it to a name typed without one
    bool allFiles = false;        // the open dialog also offers every file
    bool english = true;          // the language of the dialog (CheckBox1)
};

class Prompter {
  public:
    virtual ~Prompter() = default;
    // Shows m in the language chosen by english and returns the answer.
    virtual Answer message(const Message& m, bool english) = 0;
    // The open and save dialogs.
    virtual std::optional<std::string> openFileName(const FileRequest& request) = 0;
    virtual std::optional<SaveChoice> saveFileName(const FileRequest& request) = 0;
    // Plain dialogs: filter is in the "Label|*.ext|Label|*.ext|" form.
    std::optional<std::string> openFileName(const std::string& filter) {
        return openFileName(FileRequest{filter});
    }
    std::optional<SaveChoice> saveFileName(const std::string& filter,
                                           const std::string& defaultExtension) {
        FileRequest r{filter};
        r.defaultExtension = defaultExtension;
        return saveFileName(r);
    }
    virtual std::optional<QColor> colour(const QColor& initial) = 0;
    // Physical modifier keys held right now.
    virtual Modifiers modifiers() = 0;
};

// A message as it was shown, for tests and recipe transcripts.
struct ShownMessage {
    Icon icon;
    Buttons buttons;
    std::string text; // in the language it was shown in
    bool english;
    Answer answer;
};

class ScriptedPrompter final : public Prompter {
  public:
    using Prompter::openFileName;
    using Prompter::saveFileName;
    Answer message(const Message& m, bool english) override;
    std::optional<std::string> openFileName(const FileRequest& request) override;
    std::optional<SaveChoice> saveFileName(const FileRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    Modifiers modifiers() override { return held; }

    // Answers for the next questions, in order. A question with none queued
    // gets unansweredDefault and is counted in unanswered.
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<SaveChoice>> saveNames;
    std::deque<std::optional<QColor>> colours;
    Modifiers held;
    Answer unansweredDefault = Answer::No;
    int unanswered = 0;
    std::vector<ShownMessage> shown;
    std::vector<std::string> filtersAsked;
    // Every open and save dialog asked for, in order.
    std::vector<FileRequest> dialogsAsked;
    // Called after each message is recorded (recipes print it).
    std::function<void(const ShownMessage&)> onShown;
};

// Converts "Label|*.ext|Label|*.ext|" to the name filters of QFileDialog.
QStringList dialogFilters(const std::string& filter);

// Human-readable transcript line of a shown message ("\r" as line breaks).
std::string describe(const ShownMessage& m);

} // namespace tesk
