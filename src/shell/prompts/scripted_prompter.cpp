#include "shell/prompts/prompter.h"

#include <QStringList>

namespace tesk {

Answer ScriptedPrompter::message(const Message& m, bool english) {
    Answer a = Answer::Ok;
    if (m.buttons != Buttons::Ok) {
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        } else {
            a = unansweredDefault;
            ++unanswered;
        }
    }
    shown.push_back({m.icon, m.buttons, m.text(english), english, a});
    if (onShown) onShown(shown.back());
    return a;
}

std::optional<std::string> ScriptedPrompter::openFileName(const FileRequest& request) {
    filtersAsked.push_back(request.filter);
    dialogsAsked.push_back(request);
    if (openNames.empty()) return std::nullopt;
    auto n = openNames.front();
    openNames.pop_front();
    return n;
}

std::optional<SaveChoice> ScriptedPrompter::saveFileName(const FileRequest& request) {
    filtersAsked.push_back(request.filter);
    dialogsAsked.push_back(request);
    if (saveNames.empty()) return std::nullopt;
    auto n = saveNames.front();
    saveNames.pop_front();
    return n;
}

std::optional<QColor> ScriptedPrompter::colour(const QColor&) {
    if (colours.empty()) return std::nullopt;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

QStringList dialogFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + parts[i + 1] + ")";
    return out;
}

std::string describe(const ShownMessage& m) {
    static const char* icons[] = {"warning", "error", "information", "question"};
    static const char* buttons[] = {"OK", "Yes/No", "Yes/No/Cancel", "Yes/No/No-to-all"};
    static const char* answers[] = {"OK", "Yes", "No", "Cancel", "No-to-all"};
    std::string text = m.text;
    for (auto& c : text)
        if (c == '\r') c = '\n';
    return std::string("[") + icons[int(m.icon)] + ", " + buttons[int(m.buttons)] + "] " + text +
           " -> " + answers[int(m.answer)];
}

} // namespace tesk
