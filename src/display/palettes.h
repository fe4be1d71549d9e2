#pragma once
// Every colour table of the display and the rule that turns an amplitude code
// into a pixel colour. Colours are 32-bit values packed 0x00BBGGRR (red in
// the low byte); 0 is black.
//
// The rule-built tables (FineRamp, RisePalette, FallPalette, GreyPalette) and
// the stored MainPalette are filled when a Palettes value is constructed and
// never change. ReColor3D rebuilds the working tables (ViewPalette,
// VolumePalette, VolumePaletteMarked) and the chosen-amplitude variants
// whenever the amplitude form, the inversion, the colour mode or the chosen
// code changes.
//
// Chosen-amplitude mode (CheckBox23). The chosen code c (1..255, start 128)
// is a code as stored and as the readouts show it. The marked variants are
// copies of FineRamp, MainPalette, GreyPalette and ViewPalette in which the
// entry that the samples of code c are drawn with is replaced by a contrasting
// colour: white over a dark entry, magenta (0xFF00FF) over a light one
// (luminance 0.299 R + 0.587 G + 0.114 B below 128 counts as dark). The entry
// is the drawn index of c: c itself, 256 - c with the inversion on, reduced to
// its colour band ((j >> m) << m) in the colour modes m = 1..4, so that in the
// reduced modes the whole band holding c stands out (in the fine ramp its four
// entries 4j .. 4j + 3). While the mode is on, forms 0 and 1 draw colour modes
// 0..4 from ViewPaletteMarked and the grey scale (mode 5) from
// GreyPaletteMarked; the derivative form and the mark modes 6 and 7 are drawn
// as without it. In forms 0 and 1 VolumePaletteMarked is VolumePalette with
// the entries of c's colour band marked the same way (the cube view indexes
// it with the stored code); in the derivative form it holds the falling
// samples' palette.

#include "display/amplitude.h"

#include <array>
#include <cstdint>

namespace tesk {

inline constexpr int FINE_RAMP_SIZE = 1025; // entry 1024 is black
inline constexpr int COLUMN_ROWS = 512;     // pixel rows of one frame column

using Palette = std::array<uint32_t, 256>;
// The colours of one frame column, one per sample row; each is painted into
// both pixel columns of the frame.
using ColumnColours = std::array<uint32_t, COLUMN_ROWS>;

namespace colour {
inline constexpr uint32_t Black = 0x000000;
inline constexpr uint32_t White = 0xFFFFFF;
inline constexpr uint32_t Red = 0x0000FF;
inline constexpr uint32_t Blue = 0xFF0000;
inline constexpr uint32_t DarkRed = 0x000055;
inline constexpr uint32_t DarkBlue = 0x550000;
inline constexpr uint32_t Magenta = 0xFF00FF;
inline constexpr uint32_t FallingPlateau = 0xCCFF99; // derivative mode 6
inline constexpr uint32_t RisingPlateau = 0x66BBFF;  // derivative mode 6
inline constexpr uint32_t AboveGain = 0xC0DCC0;      // derivative mode 5
inline constexpr uint32_t BelowGain = 0x000080;      // derivative mode 5
// Font colours of the option boxes.
inline constexpr uint32_t FontGreen = 0x008000;
inline constexpr uint32_t FontMaroon = 0x000080;
inline constexpr uint32_t FontNavy = 0x800000;
} // namespace colour

struct Palettes {
    Palettes();

    std::array<uint32_t, FINE_RAMP_SIZE> FineRamp{}; // purple .. dark red, then black
    Palette MainPalette{};                           // the stored table
    Palette RisePalette{};                           // derivative: sample below its successor
    Palette FallPalette{};                           // derivative: sample above its successor
    Palette GreyPalette{};                           // entry i = i * 0x010101
    Palette ViewPalette{};                           // radargram and A-scan, forms 0 and 1
    Palette VolumePalette{};                         // slice and cube views
    Palette VolumePaletteMarked{}; // cube view: chosen amplitude, or falling samples

    // Chosen-amplitude variants (see the comment at the top of this file).
    std::array<uint32_t, FINE_RAMP_SIZE - 1> FineRampMarked{};
    Palette MainPaletteMarked{};
    Palette GreyPaletteMarked{};
    Palette ViewPaletteMarked{};
};

// The stored main palette (codes 0..255).
const Palette& storedMainPalette();

// The colour that marks the chosen code over palette entry `base`.
uint32_t chosenAmplitudeColour(uint32_t base);

// Rebuilds ViewPalette, VolumePalette, VolumePaletteMarked and the
// chosen-amplitude variants from the amplitude form, the colour mode, the
// inversion and the chosen code. Returns the font colour of ComboBox18:
// green for form 0, maroon for form 1, navy for the derivative form.
uint32_t ReColor3D(Palettes& p, const DisplaySettings& s);

// Paints frame columns of the radargram. Built once per redraw from the
// settings and palettes (it copies what it needs into lookup tables indexed
// by the stored code, inversion and colour reduction folded in), then asked
// for each of the 512 frames in view.
class ColumnPainter {
  public:
    // `blankBackground` is the background of the mark modes 6 and 7 when
    // "Фон" is unchecked (white on the radargram).
    ColumnPainter(const DisplaySettings& s, const Palettes& p,
                  uint32_t blankBackground = colour::White);

    // Colours of the 512 sample rows of one frame. `codes` are the frame's
    // raster row: at least 514 codes, 528 in the raster (samples 512.. repeat
    // sample 511), so the next sample's code exists for every drawn sample
    // and for sample 512, which the extremum marks of mode 6 still visit.
    void paint(const uint8_t* codes, ColumnColours& out) const;

    // Colour of code d at sample index k with next-sample code e, for the
    // colour modes without per-column state (0..5); both codes as stored. In
    // the mark modes 6 and 7 it gives the cell's background.
    uint32_t cellColour(uint8_t d, uint8_t e, int k) const;

  private:
    void paintPlain(const uint8_t* codes, ColumnColours& out) const;
    void paintDerivative(const uint8_t* codes, ColumnColours& out) const;
    void paintExtrema1(const uint8_t* codes, ColumnColours& out) const;
    void paintSlopes(const uint8_t* codes, ColumnColours& out) const;
    void paintExtrema2(const uint8_t* codes, ColumnColours& out) const;

    bool derivative_;
    int mode_;
    std::array<uint8_t, 256> drawn_{};        // stored code -> drawn code (inversion)
    Palette plain_{};                         // forms 0, 1, modes 0..5: colour per stored code
    Palette rise_{}, fall_{}, level_{};       // derivative modes 0..4, per stored code
    Palette riseFull_{}, fallFull_{};         // derivative mode 7: unreduced, per stored code
    Palette background_{};                    // modes 6, 7: background per stored code
    std::array<uint8_t, COLUMN_ROWS> gain_{}; // GainCurve, derivative mode 5
};

// One frame column painted with a painter built for this call (convenient for
// single columns; the redraw loop keeps one ColumnPainter for all frames).
void paintFrameColumn(const uint8_t* codes, const DisplaySettings& s, const Palettes& p,
                      ColumnColours& out);

} // namespace tesk
