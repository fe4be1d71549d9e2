#pragma once
// The magnifier Panel9 ("LUPA"): a small floating window over the radargram
// showing the neighbourhood of the cursor enlarged (Image19). SpeedButton35
// of the command bar switches it on and off; Ctrl-clicks zoom, a drag at the
// right or bottom edge resizes it, a drag elsewhere moves it. While it is on
// it is redrawn after every redraw of the radargram and every cursor move.

#include "display/magnifier.h"
#include "shell/window/panel.h"

#include <QImage>
#include <QPoint>

class QFrame;
class QToolButton;

namespace tesk {

class ImageWidget;

class MagnifierPanel final : public ShellPanel {
  public:
    // picture is the radargram picture (Image1) the panel first stands over.
    MagnifierPanel(ShellServices& services, QWidget& window, QToolButton* speedButton35,
                   QWidget* picture);

    QFrame* Panel9 = nullptr;
    ImageWidget* Image19 = nullptr; // 512 x 512, the panel shows its top-left W x H
    QToolButton* SpeedButton35;     // on the command bar

    void connectHandlers() override;
    void viewRedrawn() override { LUPA(); }

    void SpeedButton35Click();
    void Image19MouseDown(Qt::MouseButton button, QPoint at);
    void Image19MouseMove(Qt::MouseButton held, QPoint at);
    void Image19MouseUp(Qt::MouseButton button, QPoint at);
    // Redraws the enlarged picture while the magnifier is on; the panel is
    // shown over the radargram view only.
    void LUPA();

    const Magnifier& magnifier() const { return m_; }

  private:
    QWidget& window_;
    QWidget* picture_;
    Magnifier m_;
    QImage image_;
    bool placed_ = false; // placed over the picture once, then where the operator left it
    bool moving_ = false; // the panel follows the pointer
    QPoint grab_;         // where the pointer took the panel
};

} // namespace tesk
