#pragma once
// Filling plane 0 of the display raster from the survey: the frames around
// the view copied cell by cell, optionally combined with the frames at the
// same offset in the next one, two or three profiles (profile addition).

#include "display/display_raster.h"
#include "store/profile_store.h"

#include <array>
#include <cstdint>

namespace tesk {

// Raster rows filled from the survey: 0..552, row r holding frame
// viewStart - 20 + r.
inline constexpr int FILLED_ROWS = 553;
// Columns below this one take the profile-addition combination; the rest
// (the last fill row and the attribute cells) keep the frame's own bytes.
inline constexpr int ADDITION_COLUMNS = 527;

// Rows 0..552 of plane 0: row r receives the 624 value bytes of frame
// viewStart - 20 + r; a negative frame number reads frame 0, a frame past
// slot 64000 reads as empty (all 0). Other rows and planes stay as they are.
void fillRaster(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart);

// --- relief display ------------------------------------------------------------

// The largest relief height (cm) among the frames of raster rows 20..532
// (frames viewStart .. viewStart + 512, negative numbers reading frame 0):
// the window maximum that the relief display hangs the traces from.
uint32_t reliefWindowMaximum(const ProfileStore& store, int32_t viewStart);

// Rows 0..552 of plane 0 for the relief display, each frame stretched along
// time by the factor `stretch` (ComboBox14, 0.5 .. 2.0): with g = 1 /
// stretch, code k of the frame (sample k below 527, beyond that the
// previous code less 1 while above 0) goes to columns Trunc(k g) and
// Trunc(k g) + 1, until the column passes 526; the attribute cells go to
// columns 528..623 as in the normal fill. A stretch of 0 or less counts as 1.
void fillRasterRelief(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                      double stretch);

// Hangs the traces of rows 1..711 of plane 0 from the reference height H
// (cm): a row whose frame has relief height P moves its 528 sample columns
// n = Round((H - P) 100 / (velocityCode nsPerRow stretch)) columns down
// (ties to even), the first n columns becoming 0; row 0 becomes all 0. A
// frame above the reference is not lifted (n counts from 0), and a shift
// past the last sample column empties the row's samples.
// The rows a frame of relief height `height` hangs below the reference
// height (both cm): Round((reference - height) 100 / (velocityCode nsPerRow
// stretch)), ties to even, within 0 .. 528; 0 without a velocity.
int reliefShiftRows(uint32_t referenceHeight, uint32_t height, int velocityCode, double nsPerRow,
                    double stretch);

void shiftRasterForRelief(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                          uint32_t referenceHeight, int velocityCode, double nsPerRow,
                          double stretch);

// The first frame of the profile that contains `frame` (walking back over
// in-profile frames). When `frame` lies in a gap, the start of the next
// profile at or before frameCount; when there is none, frameCount + 1 (or
// `frame` itself when it lies further on). Negative frames count as 0.
int profileStart(const ProfileStore& store, int frame);

// The first frame of the next profile: leaves the run of in-profile frames
// that starts at `frame` and takes the next in-profile frame up to
// frameCount; when there is none, the frame where the search stopped
// (frameCount + 1, or the end of the run when that lies further on).
int nextProfileStart(const ProfileStore& store, int frame);

// Settings of the profile addition.
struct AdditionSettings {
    int profiles = 2;      // profiles added: 2, 3 or 4 (ComboBox40 index + 1)
    int method = 0;        // ComboBox41 index: 0 addition, 1 multiply, 2 subtract
    int thresholdItem = 0; // ComboBox42 index: subtraction threshold 32 - 4 * index
};

// The subtraction threshold of a ComboBox42 index (0..7): 32 - 4 * index.
int additionThreshold(int thresholdIndex);

// Method rows of the combination: the ComboBox41 index, plus 3 when the
// level table is the linear one.
namespace addition_method {
inline constexpr int Addition = 0;
inline constexpr int Multiply = 1;
inline constexpr int Subtract = 2;
inline constexpr int LinearAddition = 3;
inline constexpr int LinearMultiply = 4;
inline constexpr int LinearSubtract = 5;
} // namespace addition_method

// The method row for the settings: method + 3 when the level table is the
// linear one (ComboBox29 index 0).
int additionMethod(const AdditionSettings& addition, int levelTableIndex);

// One combined cell: own code a (not 0) and the pair codes pairs[0..count-2]
// of a `count`-profile addition (count 2..4) under a method row 0..5, with
// the subtraction threshold `threshold`. Level averages map back by the
// up-inverse: the smallest code n with T[n] >= the average.
uint8_t combineProfileCodes(int method, int count, uint8_t a, const std::array<uint8_t, 3>& pairs,
                            int threshold, const std::array<uint32_t, 256>& levelTable);

// Fills plane 0 with profile addition. Let s be profileStart(viewStart),
// o = viewStart - s and p1, p2, p3 the starts of the following profiles
// (nextProfileStart applied in turn). When s and p1 + o fall in the same
// hundred of frames, returns false and leaves the raster untouched: the
// caller draws nothing. Otherwise row r combines frame viewStart - 20 + r
// with frames p_k + o - 20 + r (each negative number reading frame 0) in
// columns 0..526 wherever the own code is not 0, copies the own bytes
// elsewhere, and returns true. With fewer than 2 profiles it is fillRaster.
// levelTableIndex is the ComboBox29 index (0 is the linear table).
bool fillRasterWithAddition(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                            const AdditionSettings& addition,
                            const std::array<uint32_t, 256>& levelTable, int levelTableIndex);

} // namespace tesk
