#pragma once
// Floating panels of the window: raised frames that the operator drags by
// their body or title, as a window is moved by its caption. A panel's owner
// may also take the presses themselves (collapse and expand on a right
// click, a height toggle with Ctrl on a title).

#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QWidget;

namespace tesk {

// A press on a drag source, reported with the widget pressed: the left
// button at the press, the right button at its release (once the move is
// over).
using PanelPressHandler = std::function<void(QWidget* source, Qt::MouseButton button)>;

// A raised frame at geometry, hidden until its owner shows it.
QFrame* floatingPanel(QWidget* parent, const char* name, QRect geometry);
// The title label of a floating panel.
QLabel* panelTitle(QWidget* parent, const char* name);

// Makes target follow the mouse while a button is held on any of sources.
void dragWith(QObject* owner, QWidget* target, const std::vector<QWidget*>& sources,
              PanelPressHandler onPress = {});

// What a press on source does without the mouse: the press handler of its
// drag source, if it has one. False when source is no drag source.
bool pressPanelSource(QWidget* source, Qt::MouseButton button);

} // namespace tesk
