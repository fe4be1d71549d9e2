#pragma once
// The controls of the 3D panel (Panel_3D) as values and rules: the track
// bars with their ranges and start positions, what moving each one sets and
// which renderer it asks to draw, the rules that tie bars together, the
// clicks on their captions, the check boxes, which controls each cube mode
// shows, the time and depth readouts (GLUBINA) and the mouse turns of the
// cube. The window mirrors the positions into its widgets.

#include "volume/cube_camera.h"
#include "volume/cube_modes.h"
#include "volume/cube_scene.h"
#include "volume/plane_slices.h"

#include <array>
#include <string>

namespace tesk {

// The track bars, by the number of their component (TrackBarN).
enum class Bar {
    X = 1,   // angleX
    T = 2,   // angleY
    Y = 3,   // angleZ
    M = 4,   // scale
    A = 5,   // section A
    B = 6,   // section B
    C = 7,   // section C
    G = 9,   // shiftX
    V = 10,  // shiftY
    A1 = 11, // upper end of the upper amplitude window
    A2 = 12,
    A3 = 13,
    A4 = 14, // lower end of the lower window
    Kx = 15, // cursor, section parameter X0
    Kt = 16, // T0
    Ky = 17, // Y0
    K = 18,  // grey divisor of the layer surfaces
    T1 = 20, // first time drawn
    T2 = 21, // last time drawn
    H = 24,  // carpet plane
    D = 25,  // carpet height
};

struct BarRange {
    const char* caption; // Label1nn
    int min, max, start;
};
BarRange barRange(Bar b);

// What a change asks of the window, in this order.
struct PanelEffect {
    bool rebuildCarpet = false; // GP2_FLTR with H
    int rebuildSection = -1;    // GP4_FLTR for this entry
    bool redraw = false;        // the renderer of the current view
    bool readoutsX = false;     // StaticText1 / StaticText2 / SpeedButton21
    bool readoutsY = false;     // StaticText5 / StaticText6 / SpeedButton25
    bool glubina = false;       // StaticText3 / StaticText4 (T0 changed)
};

// Distance readout of a cursor bar: g * n cm, in metres (divided by 100,
// rounded to even) above 99999 cm.
struct DistanceReadout {
    std::string value;
    bool metres = false; // "+Lm" rather than "+Lcm"
};
DistanceReadout cursorDistance(int stepCm, int n);

// GLUBINA: time (ns) and depth (cm) readouts of the plane index T0.
struct GlubinaSettings {
    double nsPerRow = 1.0; // ComboBox11
    int velocityCode = 500;
    int tableVelocity = 500; // velocity-table entry of ComboBox10 (V)
    int antennaCm = 100;     // ComboBox13 (A)
    bool zeroLine = false;   // CheckBox2
    bool reliefDisplay = false;
    uint32_t Hmax = 0;
    uint32_t frameHeight = 0; // reliefHeight of frame viewStart + X0
};
struct GlubinaReadout {
    std::string time, depth;
};
GlubinaReadout GLUBINA(int T0, const GlubinaSettings& s);

class Panel3D {
  public:
    Panel3D();

    int position(Bar b) const { return pos_[std::size_t(b)]; }
    CubeCamera camera() const;
    CubeWindows windows() const;
    CubeDecorations decorations() const;

    // TrackBarNChange with the bar moved to `value` (limited to its range) in
    // view `view` (the view byte); the other bars pushed by the window rules
    // move with it. Section bars write the selected entry in mode 0x40
    // unless `busy` (the busy bit of stateFlags). Cursor bars write the
    // section parameters' primary values.
    PanelEffect change(Bar b, int value, int view, bool leftCtrl, bool busy, SectionParameters& p,
                       SectionList& sections);
    // Label1nnClick / Label2nnClick: the bar to its reset value in the view.
    PanelEffect captionClick(Bar b, int view, bool leftCtrl, bool busy, SectionParameters& p,
                             SectionList& sections);
    // CheckListBox2Click: the selected entry's A, B, C onto their bars
    // without their change handlers.
    void selectSection(SectionList& sections, int item);

    // Entering a cube mode: the cursor bars on X0, T0, Y0; K to 256 in mode
    // 0x10; H to T0 in mode 0x20.
    void enterMode(int view, const SectionParameters& p);

    // Check boxes of GroupBox1; each click only redraws.
    bool cubeEdges = true; // CheckBox61 "Грань Куба"
    bool points = false;   // CheckBox63 "Точки"
    bool cursor = false;   // CheckBox64 "Курсор"
    bool layers = true;    // CheckBox66 "Слои"
    int planeKind = 0;     // RadioGroup1: 0 "  План XY  ", 1 "  План TX", 2 "  План TY"
    int boundaryItem = 0; // RadioGroup2: "  1  Гранина", "  2  Граница" ... "  7  Граница"

  private:
    void set(Bar b, int v);
    std::array<int, 26> pos_{};
};

// Which controls a cube mode shows.
struct PanelLayout {
    bool cursorXY = true;             // Kx, Ky
    bool kt = true, ktEnabled = true; // Kt
    bool sectionBars = false;         // A, B, C
    bool windows = false;             // A1 .. A4, T1, T2
    bool k = false;                   // K
    bool carpetBars = false;          // H, D
    bool layersBox = false;           // CheckBox66
    bool boundaryGroup = false;       // RadioGroup2
    bool profileList = false;         // CheckListBox1
    bool sectionControls = false;     // RadioGroup1, SpeedButton_ADD_CUT, CheckListBox2
};
PanelLayout panelLayout(int view);

// Height of CheckListBox1 with n profiles: 13 (n + 1) pixels, cut to end 8
// pixels above the bottom of Panel_3D once its top plus 13 (n - 1) passes
// that line.
int profileListHeight(int n, int listTop, int panelHeight);

// --- mouse ------------------------------------------------------------------------

enum class CubeDrag { None, Rotate, Shift, Middle };
struct CubeMouse {
    CubeDrag drag = CubeDrag::None;
    int x = 0, y = 0; // the stored pointer position
};
// MouseDown: the position stored; left rotates, right shifts, middle drags
// without effect. Returns the bar that takes the focus (T, Y's bar 3 for
// rotate; M's bar 4 for shift), or 0.
int cubeMouseDown(CubeMouse& m, Panel3D& panel, MouseButton button, int x, int y);
// MouseMove (and MouseUp, which applies the same once more and ends the
// drag): rotate moves bar T by Round((x - x') / 4) and bar X by Round((y -
// y') / 4), each only when it stays inside 1..359; shift moves bar G by
// Round((x - x') / 2) and bar V by Round((y' - y) / 4), each only inside
// 1..511. Rounding to even. The caller draws after every call.
void cubeMouseMove(CubeMouse& m, Panel3D& panel, int x, int y);
void cubeMouseUp(CubeMouse& m, Panel3D& panel, int x, int y);

} // namespace tesk
