#pragma once
// The plane-slice screen (view byte 8, SpeedButton7): the X-Y plane Image2
// and the sections Image3 and Image4 in the radargram area, their decoration
// on a transparent image over them, the twelve section markers ShapeX1 ..
// ShapeT4, the readouts of the command bar and the window caption, and the
// trace the A-scan panel shows at the section crossing.

#include "shell/window/main_view.h"
#include "shell/window/panel.h"
#include "volume/plane_slices.h"

#include <QImage>
#include <array>
#include <functional>

class QToolButton;

namespace tesk {

class CommandBar;
class ImageWidget;
class OptionPanel;
class RadargramView;
class VolumeHost;
class VolumeSettingsPanel;

class SliceView final : public ShellPanel, public MainView {
  public:
    SliceView(ShellServices& services, VolumeHost& host, RadargramView& radargram, CommandBar& bar,
              OptionPanel& options, VolumeSettingsPanel& settings);

    ImageWidget *Image2 = nullptr, *Image3 = nullptr, *Image4 = nullptr;
    ImageWidget* SliceOverlay = nullptr; // the screen's decoration, over the images
    // ShapeX1 .. ShapeX4, ShapeY1 .. ShapeY4, ShapeT1 .. ShapeT4.
    std::array<ImageWidget*, SECTION_MARKERS> shapes{};

    // Hides the other volume view's widgets when this one is entered.
    std::function<void()> hideOtherView;

    void connectHandlers() override;

    void SpeedButton7Click();
    // The radargram or another view takes the screen: the images, markers
    // and decoration go.
    void hide();
    void ComboBox54Change();
    void CheckBox_ShapeClick();
    void ImageMouseDown(SliceImage image, Qt::MouseButton button, QPoint at);
    void ImageMouseMove(SliceImage image, QPoint at);
    void ShapeMouseDown(int marker, QPoint at);
    void ShapeMouseMove(int marker, QPoint at);
    void ShapeMouseUp(int marker, QPoint at);
    // SpeedButton20 .. SpeedButton25 on the slice screen: the T-Y section
    // (X), the X-Y plane (T) and the T-X section (Y) one node back or on.
    void NudgeClick(QToolButton* button);

    // MainView
    void recolour() override;
    void reprocess() override;
    void drawOverlay() override;
    std::optional<AScanTrace> aScanTrace() override;

    const SliceImages& images() const { return images_; }
    const QImage& overlay() const { return overlay_; }

  private:
    bool shown() const;
    int layout() const;
    void runSteps(unsigned steps);
    void showImages();
    void placeShapes();
    void redrawScreen();

    VolumeHost& host_;
    RadargramView& radargram_;
    CommandBar& bar_;
    OptionPanel& options_;
    VolumeSettingsPanel& settings_;
    SliceImages images_;
    QImage overlay_;
    QPoint dragLast_; // pointer of a marker drag, in the area's coordinates
};

} // namespace tesk
