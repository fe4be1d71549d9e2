#pragma once
// Item counts and value tables of the parameter boxes whose item indices the
// survey header keeps. The file readers check stored indices against these
// counts; the window fills its boxes from the same tables.

#include "store/profile_store.h"

#include <array>
#include <cstdint>

namespace tesk::items {

inline constexpr int TimeRange = 8;        // ComboBox11: 128 .. 16384 ns
inline constexpr int Step = 29;            // ComboBox12: profile step
inline constexpr int Velocity = 20;        // ComboBox10
inline constexpr int ColourMode = 8;       // ComboBox28
inline constexpr int FilterKind = 4;       // ComboBox20, ComboBox21
inline constexpr int FilterParam = 20;     // ComboBox22..27: L, T, X = 0 .. 19
inline constexpr int ViewStep = 8;         // ComboBox16
inline constexpr int AmplitudeForm = 3;    // ComboBox18
inline constexpr int ZeroGainMode = 3;     // ComboBox19
inline constexpr int Antenna = 38;         // ComboBox13
inline constexpr int DepthStep = 23;       // ComboBox15
inline constexpr int LevelTable = 5;       // ComboBox29
inline constexpr int VolumeInterp = 5;     // ComboBox51
inline constexpr int ProfileDistance = 48; // ComboBox52
inline constexpr int Section = 4;          // ComboBox54

// Nanoseconds per sample row for each time range.
inline constexpr std::array<double, TimeRange> NS_PER_SAMPLE = {0.25, 0.5, 1, 2, 4, 8, 16, 32};
inline constexpr std::array<int, TimeRange> TIME_RANGE_NS = {128,  256,  512,  1024,
                                                             2048, 4096, 8192, 16384};
// The step table, cm: the distance between frames that ComboBox12 offers
// (its first 29 entries) and the grid steps of a volume, which go on to
// 250 m and 500 m.
inline constexpr int StepTable = 31;
inline constexpr std::array<int, StepTable> STEP_TABLE_CM = {
    1,   2,   5,   10,  15,  20,  25,  30,   40,   50,   60,   70,   80,    90,    100,  150,
    200, 250, 300, 400, 500, 600, 800, 1000, 1500, 2000, 2500, 5000, 10000, 25000, 50000};
// Distance between frames, cm: the entries of ComboBox12.
inline constexpr std::array<int, Step> STEP_CM = [] {
    std::array<int, Step> a{};
    for (int i = 0; i < Step; ++i) a[std::size_t(i)] = STEP_TABLE_CM[std::size_t(i)];
    return a;
}();
// Distance between the antennas, cm.
inline constexpr std::array<int, Antenna> ANTENNA_CM = {
    0,   10,  20,   30,   40,   50,   60,   70,   80,   90,   100,  110, 120,
    130, 140, 150,  160,  170,  180,  190,  200,  300,  400,  500,  600, 700,
    800, 900, 1000, 1100, 1200, 1300, 1400, 1500, 2000, 2500, 3000, 5000};
// Depth grid step, cm.
inline constexpr std::array<int, DepthStep> DEPTH_STEP_CM = {
    10,   20,   30,   40,   50,   100,  200,  300,  400,  500,  600,  800,
    1000, 1200, 1400, 1600, 1800, 2000, 2500, 3000, 4000, 5000, 10000};
// Frames per view step; item 7 jumps by profiles.
inline constexpr std::array<int, ViewStep - 1> VIEW_STEP_FRAMES = {20, 40, 100, 200, 300, 400, 500};

// Distance between neighbouring profiles of a volume, cm (ComboBox52).
inline constexpr std::array<int, ProfileDistance> PROFILE_DISTANCE_CM = {
    20,   25,   30,   40,    50,    60,    70,    80,    90,    100,   110,   120,
    130,  140,  150,  160,   170,   180,   190,   200,   250,   300,   400,   500,
    600,  700,  800,  900,   1000,  1200,  1500,  1800,  2000,  2500,  3000,  4000,
    5000, 6000, 8000, 10000, 20000, 25000, 30000, 40000, 50000, 60000, 80000, 100000};

// Time stretch of the relief display (ComboBox14): nine factors of the
// chosen time range.
inline constexpr int TimeStretch = 9;
inline constexpr std::array<double, TimeStretch> TIME_STRETCH_FACTORS = {
    0.5, 0.625, 0.75, 0.875, 1, 1.25, 1.5, 1.75, 2};
inline constexpr int TIME_STRETCH_START_ITEM = 4; // factor 1

// The stretched time range of item `stretch` for time range item `range`, ns:
// Trunc(Trunc(512 r) f).
inline long stretchedRangeNs(int range, int stretch) {
    const double r = NS_PER_SAMPLE[std::size_t(range < 0            ? 0
                                               : range >= TimeRange ? TimeRange - 1
                                                                    : range)];
    const double f = TIME_STRETCH_FACTORS[std::size_t(stretch < 0              ? 0
                                                      : stretch >= TimeStretch ? TimeStretch - 1
                                                                               : stretch)];
    return long(double(long(512 * r)) * f);
}

// A depth step kept sensible for a time range: the depth-step item to set
// when `depthItem` lies outside the window of time range item `range`, or -1
// when it may stay.
inline int depthStepForTimeRange(int range, int depthItem) {
    struct Window {
        int set, below, above; // set `set` when the item <= below or > above
    };
    static constexpr Window WINDOWS[TimeRange] = {{5, -1, 7},   {6, 1, 12},  {7, 4, 17},
                                                  {8, 5, 17},   {8, 6, 21},  {10, 8, 99},
                                                  {12, 11, 99}, {17, 16, 99}};
    const Window w = WINDOWS[std::size_t(range < 0            ? 0
                                         : range >= TimeRange ? TimeRange - 1
                                                              : range)];
    return depthItem <= w.below || depthItem > w.above ? w.set : -1;
}

// Header cells that hold an item index of a box, with the box's item count:
// whatever a file held, every loader leaves these below their counts.
struct HeaderItemBox {
    int cell;
    int count;
};
inline constexpr HeaderItemBox HEADER_ITEM_BOXES[] = {
    {hdr::TimeRange, TimeRange},
    {hdr::Step, Step},
    {hdr::VelocityIndex, Velocity},
    {hdr::ColourMode, ColourMode},
    {hdr::Filter1Kind, FilterKind},
    {hdr::Filter1Kind + 1, FilterParam},
    {hdr::Filter1Kind + 2, FilterParam},
    {hdr::Filter1Kind + 3, FilterParam},
    {hdr::Filter2Kind, FilterKind},
    {hdr::Filter2Kind + 1, FilterParam},
    {hdr::Filter2Kind + 2, FilterParam},
    {hdr::Filter2Kind + 3, FilterParam},
    {hdr::AmplitudeForm, AmplitudeForm},
    {hdr::ZeroGainMode, ZeroGainMode},
    {hdr::Antenna, Antenna},
    {hdr::DepthStep, DepthStep},
    {hdr::LevelTable, LevelTable},
    {hdr::VolumeInterp, VolumeInterp},
    {hdr::ProfileDistance, ProfileDistance},
    {hdr::Section, Section},
};

} // namespace tesk::items
