#pragma once
// The relief: the ground height of every frame against the survey's
// reference height, drawn as a line over the radargram (Image7), edited
// with the mouse, smoothed, and the typed absolute height.
//
// Vertical scale: one pixel row of the radargram spans K = c r w / 100 cm of
// height (c the velocity code, r the nanoseconds per row of the time range,
// w the window stretch of ComboBox14). A frame of height h hangs
// Round((Href - h) / K) rows below the top.

#include "store/profile_store.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk::coords {

// ComboBox14 item -> window stretch.
inline constexpr std::array<double, 9> WINDOW_FACTORS = {0.5,  0.625, 0.75, 0.875, 1.0,
                                                         1.25, 1.5,   1.75, 2.0};
// ComboBox11 item -> nanoseconds per row.
inline constexpr std::array<double, 10> TIME_RANGE_FACTORS = {0.25, 0.5, 1,  2,  4,
                                                              8,    16,  32, 64, 128};

inline constexpr int RELIEF_IMAGE_WIDTH = 1024;
inline constexpr int RELIEF_IMAGE_HEIGHT = 512;
inline constexpr int RELIEF_POINTS = 512; // two pixels per frame

// SpeedButton6Click: the state word after the relief button: 0x3100 when
// relief mode was off, 0x0100 when it was on (the view byte and every other
// bit cleared but 0x4000, the open coordinate file).
uint16_t reliefModeState(uint16_t stateFlags);
// Item k of ComboBox14 in relief mode: "    " + Trunc(Trunc(512 r) w[k]) + "  ns".
std::string windowItemCaption(double nsPerRow, int item);

// K in cm of height per pixel row.
double reliefScale(int velocityCode, double nsPerRow, double stretch);

// The largest relief height among frames viewStart .. viewStart + 512 (Hwin).
uint32_t windowMaximum(const ProfileStore& s, int32_t viewStart);

// Where the relief is drawn from.
struct ReliefView {
    int32_t viewStart = 0;
    uint32_t reference = 0; // Href: Hwin with CheckBox70 checked, else Hmax
    double scale = 1;       // K
};
ReliefView reliefView(const ProfileStore& s, int32_t viewStart, bool absoluteHeight, double scale);

// Row of a frame of height h: Round((Href - h) / K), half to even.
int reliefRow(uint32_t reference, uint32_t height, double scale);

struct ReliefLinePoint {
    int x = 0;
    int y = 0;
    bool hasHeight = false; // cyan when true, yellow for a frame without height
};
// The 512 points of the relief line: x = 2 k for frame viewStart + k.
std::vector<ReliefLinePoint> reliefLine(const ProfileStore& s, const ReliefView& v);

inline constexpr uint32_t RELIEF_CYAN = 0xFF00FFFFu;   // ARGB
inline constexpr uint32_t RELIEF_YELLOW = 0xFFFFFF00u; // ARGB

// RLF_Lin: clears image (made 1024 x 512 ARGB when it is not) and draws the
// black frame and the relief line with a pen of width 2.
void RLF_Lin(QImage& image, const ProfileStore& s, const ReliefView& v);

// Mouse editing on Image7: the left button draws the ground along the mouse
// path, the right button flattens the frames it passes to Hmax.
class ReliefEditor {
  public:
    enum class Button { Left, Right };
    void mouseDown(Button b, int x, int y);
    // Returns true when heights changed (the line is then redrawn).
    bool mouseMove(ProfileStore& s, const ReliefView& v, int x, int y);
    // Ends the edit: writes Hmax into the header and returns the caption of
    // CheckBox70 ("Hmax = " + metres + "m"); empty when no edit was running.
    std::string mouseUp(ProfileStore& s, char decimalSeparator = '.');
    int state() const { return state_; }

  private:
    int state_ = 0; // 0 idle, 1 drawing, 2 flattening
    int x_ = 0, y_ = 0;
};

// SpeedButton73Click: three-point smoothing in place over frames 1 .. N - 1
// of the profiles; with Ctrl or Shift held nothing changes. ORs 0x3000 into
// stateFlags.
void smoothRelief(ProfileStore& s, bool ctrlOrShift);

// Edit2KeyPress: only digits pass.
bool absoluteHeightKey(char c);
// MaskEdit2Change: the first four characters of the text ("000" when empty),
// blanks read as 0, as the new Hmax (cm); sets Hmax and its header cells.
uint32_t absoluteHeightFromText(ProfileStore& s, const std::string& text);

} // namespace tesk::coords
