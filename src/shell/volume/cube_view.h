#pragma once
// The three 3D views (view bytes 0x10 profiles in 3D, 0x20 the
// pseudo-amplitude carpet, 0x40 the 3D sections) around one OpenGL drawing
// area: their entry commands SpeedButton8, SpeedButton12 and SpeedButton9,
// the data each prepares, the picture each draws with the shared camera,
// frame, cursor and corner marks, the handlers of the 3D panel Panel_3D and
// the window's mouse that turns the cube. Where the display has no OpenGL,
// the entry commands say so and change nothing.

#include "shell/volume/cube_surfaces.h"
#include "shell/window/main_view.h"
#include "shell/window/panel.h"
#include "volume/cube_scene.h"
#include "volume/panel_3d.h"

#include <QObject>
#include <functional>

class QOpenGLFunctions_1_1;
class QToolButton;

namespace tesk {

class CommandBar;
class CubeCanvas;
class CubePanel;
class OptionPanel;
class VolumeHost;

class CubeView final : public ShellPanel, public MainView, public QObject {
  public:
    CubeView(ShellServices& services, VolumeHost& host, CubePanel& panel, CommandBar& bar,
             OptionPanel& options, QWidget& window);
    ~CubeView() override;

    // The drawing area; none where the display gives no OpenGL.
    CubeCanvas* canvas = nullptr;
    // Hides the other volume view's widgets when a 3D view is entered.
    std::function<void()> hideOtherView;

    void connectHandlers() override;

    void SpeedButton8Click();  // profiles in 3D
    void SpeedButton12Click(); // pseudo-amplitude carpet
    void SpeedButton9Click();  // 3D sections
    // Another view takes the screen.
    void hide();

    // Panel_3D
    void TrackBarChange(Bar b, int position);
    void LabelClick(Bar b);
    void CheckBoxClick();
    void CheckListBox1Click();
    void CheckListBox2Click();
    void SpeedButton_ADD_CUTClick();
    void RadioGroup2Click();
    void Panel_3DClick();
    // The window's mouse over the drawing area.
    void MouseDown(Qt::MouseButton button, QPoint at);
    void MouseMove(QPoint at);
    void MouseUp(QPoint at);
    // SpeedButton20 .. SpeedButton25: the cursor bars Kx, Kt, Ky one step.
    void NudgeClick(QToolButton* button);

    // MainView
    void recolour() override;
    void reprocess() override;
    void drawOverlay() override;

    // The picture of the drawing area for the bitmap export.
    ViewPixels picture();
    // What the carpet or the sections draw, kept between redraws: the
    // scene (the sections' frame, cursor and corner marks) and the
    // sections' surfaces.
    const CubeScene& scene() const { return scene_; }
    const SectionSurfaces& surfaces() const { return surfaces_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    int view() const;
    bool shown() const;
    bool refuseWithoutOpenGL();
    bool buildFor(int view, bool wanted);
    void showScreen(int view);
    void prepareProfiles();
    void prepareCarpet();
    void prepareSections();
    void rebuildScene();
    void draw();
    void paint(QOpenGLFunctions_1_1& f, int W);
    void apply(const PanelEffect& e, bool camera);
    void showEntryReadouts();
    void showDistance(bool x);
    void showGlubina();

    VolumeHost& host_;
    CubePanel& panel_;
    CommandBar& bar_;
    OptionPanel& options_;
    QWidget& window_;
    CubeScene scene_;
    SectionSurfaces surfaces_;
};

} // namespace tesk
