#pragma once
// Building blocks of the window's panels: sub-panels, check boxes, labels and
// lists placed at their design positions under their component names, and
// the colour rules the panels share.

#include <QColor>
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QWidget;

namespace tesk {

// Height of every sub-panel of the option panel.
inline constexpr int SUB_PANEL_HEIGHT = 214;

const QColor WINDOW_BACKGROUND(0xC0, 0xDC, 0xC0); // money green
const QColor CHECKED_COLOUR(0x80, 0x00, 0x00);    // maroon
const QColor UNCHECKED_COLOUR(0x00, 0x00, 0x80);  // navy
const QColor LIGHT_YELLOW(0xFF, 0xFF, 0x99);

QFrame* subPanel(QWidget* parent, const char* name, int width);
QFrame* innerPanel(QWidget* parent, const char* name, int x, int y, int w, int h);
QCheckBox* checkBox(QWidget* parent, const char* name, int x, int y, int w = 126);
QLabel* label(QWidget* parent, const char* name, int x, int y, int w = 130);
QComboBox* combo(QWidget* parent, const char* name, int x, int y, int w, const QStringList& items);

// Items "prefix0", "prefix1", ... and the numbers of a table.
QStringList numbered(const QString& prefix, int count);
template <typename Table> QStringList numbers(const Table& table) {
    QStringList l;
    for (int v : table) l << QString::number(v);
    return l;
}

// Option check boxes show their state by font colour: checked maroon,
// unchecked navy.
void applyCheckBoxColour(QCheckBox* box);
// A list box's background colour, and back to the system's.
void setBoxColour(QComboBox* box, const QColor& c);
void resetBoxColour(QComboBox* box);
// Font colour from a colour value 0x00BBGGRR.
void setFontColour(QWidget* w, uint32_t bgr);

// Presses and double clicks on a plain panel that acts as a button; taken so
// that they do not start a move of the panel it lies on.
class MouseFilter final : public QObject {
  public:
    using QObject::QObject;
    std::function<void()> onPress, onDoubleClick;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

} // namespace tesk
