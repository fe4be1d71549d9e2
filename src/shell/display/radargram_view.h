#pragma once
// The radargram area ScrollBox1: the picture Image1 and its transparent
// overlay Image6, the redraw chain (GRAF, DrawView with the overlay painters
// of the tools in their order), and the mouse on the picture.

#include "display/overlay.h"
#include "shell/display/radargram_engine.h"
#include "shell/window/main_view.h"
#include "shell/window/panel.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

class QComboBox;
class QScrollArea;

namespace tesk {

class CommandBar;
class ImageWidget;

class RadargramView final : public ShellPanel, public MainView {
  public:
    RadargramView(ShellServices& services, QWidget& window, CommandBar& bar);

    QScrollArea* ScrollBox1 = nullptr;
    ImageWidget* Image1 = nullptr; // the radargram picture
    ImageWidget* Image6 = nullptr; // transparent overlay over Image1

    RadargramEngine& engine() { return engine_; }
    const QImage& picture() const { return engine_.picture; }
    const QImage& overlay() const { return engine_.overlay; }

    // Adds a tool's layer of the overlay; painters run in the order of
    // their `order` values (markers 10, layers 20, boreholes 30, relief 40,
    // coordinates 50).
    void addOverlayPainter(int order, OverlayPainter painter);
    // The painters in their order (the bitmap export draws with them too).
    std::span<const OverlayPainter> painters() const { return ordered_; }

    // Tools that follow the picture: after every GRAF (the images over the
    // picture: relief line, boreholes) and after every DrawView (the
    // coordinates table follows the cursor frame).
    void afterPicture(std::function<void()> follower);
    void afterOverlay(std::function<void()> follower);

    void GRAF();
    void DrawView();
    void recolour() override;
    void reprocess() override;
    void drawOverlay() override { DrawView(); }
    // The cursor frame as stored and as processed in the raster.
    std::optional<AScanTrace> aScanTrace() override;

    // The marker flags follow the marker box of the option panel (ComboBox17),
    // and so do the Shift-clicks that edit single markers.
    void followMarkerBox(QComboBox* box);

    void connectHandlers() override;
    void Image1MouseDown(Qt::MouseButton button, QPoint at);

  private:
    CommandBar& bar_;
    QComboBox* markerBox_ = nullptr;
    RadargramEngine engine_;
    std::vector<std::pair<int, OverlayPainter>> painters_;
    std::vector<OverlayPainter> ordered_;
    std::vector<std::function<void()>> afterPicture_, afterOverlay_;
};

} // namespace tesk
