#pragma once
// One run of a recipe over a fresh main window: the commands of the recipe
// language, each driving the window's real controls and handlers.

#include "shell/prompts/prompter.h"
#include "store/profile_store.h"

#include <QPoint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class QWidget;

namespace tesk {

class TForm1;

struct RecipeError {
    int status; // 1 command failed, 2 recipe error
    std::string text;
};

class RecipeRun {
  public:
    RecipeRun(ProfileStore& store, std::ostream& out, std::ostream& err);
    ~RecipeRun();
    // Answers queued by the recipe that no question took.
    std::size_t unusedAnswers() const { return prompter_.answers.size(); }
    void run(const std::string& line);
    // The window the recipe drives, and what the commands printed last.
    TForm1& window() { return *form_; }
    const std::string& lastText() const { return lastText_; }

  private:
    using Words = std::vector<std::string>;
    struct Command {
        const char* name;
        std::size_t words; // at least, the command included
        const char* usage;
        void (RecipeRun::*run)(const Words&);
    };
    static const Command COMMANDS[];

    void open(const Words& w);
    void save(const Words& w);
    void set(const Words& w);
    void click(const Words& w);
    void mouse(const Words& w);
    void release(const Words& w);
    void move(const Words& w);
    void drag(const Words& w);
    void dblclick(const Words& w);
    void cell(const Words& w);
    void select(const Words& w);
    void key(const Words& w);
    void answer(const Words& w);
    void render(const Words& w);
    void grab(const Words& w);
    void print(const Words& w);
    void expect(const Words& w);
    void undo(const Words& w);
    void redo(const Words& w);
    // Ctrl+key through the window's key handling; fails when the history
    // took no step.
    void historyKey(int key, const char* done, const char* nothing);

    QWidget* control(const std::string& name);
    // The modifier keys and mouse button named by the flags of a command.
    Modifiers keys(const Words& w, Qt::MouseButton& button);
    QPoint point(const Words& w, std::size_t at);
    int number(const std::string& word, const std::string& what, int lo, int hi);
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
    void say(const std::string& s);

    ProfileStore& store_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TForm1> form_;
    std::ostream& out_;
    std::ostream& err_;
    std::string lastText_;
};

// Texts of the print command.
std::string hexCells(const uint8_t* p, int n);
// A control as print shows it: its kind's state, hint, enabled and visible
// (relative to top); a grid, a memo and a list also list their contents.
std::string describeControl(QWidget* w, QWidget* top);

} // namespace tesk
