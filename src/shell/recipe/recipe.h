#pragma once
// Recipes: plain-text scripts that drive the real main window, one command a
// line, so a folder of surveys can be processed exactly as an operator would
// process one by hand. The window runs on the offscreen platform; every
// command goes through the same handlers, messages and controls as clicks.

#include <iosfwd>
#include <string>
#include <vector>

namespace tesk {

// Runs the recipe file once, or once per file with $FILE, $DIR and $STEM
// replaced. Returns 0 when it ran to its end, 1 when a command failed (a
// file error, a failed expect), 2 for a recipe error (unknown command or
// control, bad line, a question with no queued answer).
int runRecipe(const std::string& recipePath, const std::vector<std::string>& files,
              std::ostream& out, std::ostream& err);

// The same for a recipe given as text (tests); name is used in messages.
int runRecipeText(const std::string& text, const std::string& name,
                  const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

// Splits a recipe line like a shell: blanks separate words, single or double
// quotes keep blanks, a backslash escapes the next character, "#" outside
// quotes starts a comment. False when a quote is not closed.
bool splitRecipeLine(const std::string& line, std::vector<std::string>& words);

} // namespace tesk
