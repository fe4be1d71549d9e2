#pragma once
// A synthetic ground-penetrating-radar survey: parallel profiles over a
// layered ground with buried point objects and a pipe, recorded with a
// low-frequency antenna. Used to show the viewer without field data and as
// a known ground truth for tests.
//
// Geometry. x runs along the profiles (cm, 0 at the first frame of every
// profile), y across them (cm, profile p lies at y = p * lineSpacing). All
// profiles run in the same direction, along the rectangular X axis. Depths are
// counted downward from the mean ground level; the actual ground surface
// undulates about it (groundHeight), and every travel time is counted from
// the antenna on that surface. Sample k is the two-way time k * ns-per-sample.
//
// Antennas. By default the transmitter and receiver stand together
// (separation 0) and every frame is a zero-offset trace. With a separation A
// (antennaItem) the ray runs from the transmitter down to the object and up
// to the receiver, and each trace's time is counted from its air wave (the
// direct wave between the antennas at 30 cm/ns, arriving at A / 30 ns). With
// commonMidpoint every profile is a gather over the point x = 0 of its line:
// frame i is recorded with the antennas moved apart by one profile step each,
// separation A + 2 step i, as a travel-time curve (hodograph) is measured.
//
// Velocity convention of the viewer: Vgr = velocityCode / 100 cm/ns is half
// the wave speed, so that depth = Vgr * two-way time. A reflector at slant
// distance r from the antenna arrives at t = r / Vgr (the same as
// 2 r / v with v = 2 Vgr the wave speed).

#include "store/profile_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tesk::demo {

// A small buried object (stone, cavity): a diffraction hyperbola.
struct PointDiffractor {
    double x;            // cm along the profiles
    double y;            // cm across; equal to a profile's y puts it under that line
    double depth;        // cm below the mean ground level
    double reflectivity; // signed, relative to the direct wave
};

// A pipe, horizontal, crossing the lines obliquely: a hyperbola on every line,
// its apex shifting along x from line to line.
struct Pipe {
    double x;     // cm along the profiles where the pipe passes under y = 0
    double slope; // shift of that crossing along x per cm across
    double depth; // cm below the mean ground level
    double reflectivity;
};

// A gently dipping, undulating boundary between two soil layers:
// depth(x, y) = depth + dipX x + dipY y + waveHeight sin(2 pi x / waveLength + wavePhase).
struct Layer {
    double depth; // cm below the mean ground level at x = 0, y = 0
    double dipX;  // cm per cm along
    double dipY;  // cm per cm across
    double waveHeight;
    double waveLength;
    double wavePhase; // radians
    double reflectivity;
};

struct DemoParams {
    int profiles = 3;
    int framesPerProfile = 400;
    int gapFrames = 10; // blank frames between two profiles
    uint32_t seed = 0x5EED2024u;
    double noise = 2.0; // rms of the background noise at time 0, amplitude codes

    // Recording settings, as items of the viewer's parameter boxes.
    uint8_t timeRangeItem = 2; // 512 ns over 512 samples: 1 ns per sample
    uint8_t stepItem = 2;      // 5 cm between frames
    uint8_t velocityItem = 12; // Vgr 5.00 cm/ns: wave speed 10 cm/ns, permittivity 9 (moist soil)
    uint8_t depthStepItem = 6; // depth grid every 200 cm
    uint8_t antennaItem = 0;   // ComboBox13: separation at the first frame, 0 cm
    bool commonMidpoint = false;

    double lineSpacing = 100;  // cm between neighbouring profiles
    uint32_t originX = 250000; // rectangular X of the first frame of every profile, cm
    uint32_t originY = 120000; // rectangular Y of the first profile, cm
    double meanGround = 15000; // mean ground height above the datum, cm
    double reliefWave1 = 20;   // cm, undulation of 25 m wavelength
    double reliefWave2 = 6;    // cm, undulation of 9 m wavelength
    double directWaveNs = 20;  // arrival of the direct (air and ground) wave
    double ringingCodes = 5;   // antenna ringing after the direct wave, codes
    double centreFrequencyMHz = 150;
    double markerSpacing = 250;  // cm between operator's marks along a profile
    double frameIntervalS = 0.1; // 10 frames per second (0.5 m/s)
    double turnPauseS = 45;      // between the end of a profile and the next start

    // Recording date and start time.
    uint8_t day = 14, month = 5, year = 24, hour = 10, minute = 15;

    std::vector<PointDiffractor> diffractors;
    std::vector<Pipe> pipes;
    std::vector<Layer> layers;
};

// The parameters of the shipped demo survey.
DemoParams defaultParams();

// A common-midpoint gather of 240 frames over three horizontal boundaries
// 200, 320 and 450 cm deep (reflectivities 0.9, -0.7, 0.8) in a soil of
// Vgr 4.00 cm/ns: separation 50 cm at the first frame and 2 cm more per
// frame (step 1 cm), 0.5 ns per sample, flat ground, no objects.
DemoParams gatherParams();

// Empty when the parameters make a survey the store can hold, else the reason.
std::string validate(const DemoParams& p);

double vgr(const DemoParams& p);         // cm/ns
double stepCm(const DemoParams& p);      // cm between frames
double nsPerSample(const DemoParams& p); // ns
double antennaCm(const DemoParams& p);   // separation at the first frame of a profile, cm
// Antenna separation of frame i of a profile, cm: A, or A + 2 step i in a gather.
double separationCm(const DemoParams& p, int frameInProfile);
// Two-way time (ns, from the air wave) of a reflection from a horizontal
// boundary `depth` cm below antennas `separation` cm apart:
// sqrt((separation / 2)^2 + depth^2) / Vgr - separation / 30.
double reflectionTimeNs(const DemoParams& p, double depth, double separation);
// First slot of profile p (0-based); profile 0 starts at slot 0.
int firstSlot(const DemoParams& p, int profile);
// Ground surface height above the datum, cm.
double groundHeight(const DemoParams& p, double x, double y);
// Depth of a layer boundary below the mean ground level, cm.
double layerDepth(const Layer& l, double x, double y);

// Replaces the store's contents with the survey: header settings, frames,
// markers, times, coordinates, relief; runs finishLoad so that the in-profile
// flags, positions in profile and frameCount are normalised.
void fillDemoSurvey(ProfileStore& store, const DemoParams& p);

// Fills a store and writes it as a work file at path. False with a reason.
bool writeDemoSurvey(const std::string& path, const DemoParams& p, std::string& error);

} // namespace tesk::demo
