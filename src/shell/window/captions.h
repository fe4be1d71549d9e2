#pragma once
// The language switch: the rows of the caption catalogue that every panel
// contributes, and the switch that applies them to the window.

#include <span>

class QWidget;

namespace tesk {

enum class CaptionKind { Hint, Caption, Item };

// One switchable text of a control, named by its object name.
struct CaptionRow {
    const char* control;
    CaptionKind kind;
    int index; // list item index; -1 for hints and captions
    const char* en;
    const char* ru;
};

// Writes the rows' texts of the chosen language into the controls under
// root: tool tips, captions of labels and buttons, list items in place (the
// list keeps its length and selection).
void applyCaptionRows(QWidget& root, std::span<const CaptionRow> rows, bool english);

} // namespace tesk
