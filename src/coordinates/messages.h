#pragma once
// Messages and questions of the coordinate imports, the recalculation, the
// profile correction and the clearing commands, in both wordings. A line
// break inside a message is "\r".

#include "store/messages.h"

#include <string>

namespace tesk::coordmsg {

// --- companion .cor file ----------------------------------------------------
Message corFound();        // Yes / No / No to all
Message corChangeDate();   // Yes / No
Message corChangeTime();   // Yes / No
Message corChangeHeight(); // Yes / No
// Lines whose frame number lies outside the store (above 64000) cannot be applied.
Message corFramesOutside(int lines);

// --- GPX ----------------------------------------------------------------------
Message gpxClearQuestion(); // Yes / No / Cancel
Message gpxIncompatible(const std::string& name);
Message gpxLoaded(const std::string& name);

// --- text coordinate file -----------------------------------------------------
// Per-line questions (Yes / No); n is the 1-based line number.
Message txtNoCoordinates(int n);
Message txtNoLatitudeAndHeight(int n);
Message txtNoHeightAfterLatDegrees(int n);
Message txtNoHeightAfterLatFraction(int n);
Message txtNoYAndHeight(int n);
Message txtNoRectHeight(int n);
Message txtLongitudeRange(int n);
Message txtLatitudeRange(int n);
Message txtLoaded(const std::string& name);
// The file holds more lines than the survey has key frames for.
Message txtLinesLeftOver(int lines);

// --- recalculation --------------------------------------------------------------
Message ucsRecalculated();      // modes 2 and 3
Message ucsRecalculatedMode1(); // mode 1
Message reliefWillChange();     // heights in modes 1 and 2
Message endOfFile();            // mode 1: no profile at or after the view start

// Where a check looks at a frame.
enum class Place { Cursor, Start, End, Marker };
Message coordinatesZeroStop(Place p, int frame);
Message longitudeZero(Place p, int frame);
Message latitudeZero(Place p, int frame);
// withDot: the form of mode 0 (rectangular) at a profile start or end.
Message rectangularZero(Place p, int frame, bool withDot);
Message heightZero(Place p, int frame);

Message originDistanceLongitude(int frame);
Message originDistanceLatitude(int frame);
Message zeroPositions(int frame);
Message stepOver100m(int frame);
Message heightStepOver10m(int frame);
Message statisticsReport(long mean, long maxStep, int maxStepFrame, long hmax, int hmaxFrame,
                         long maxHeightStep, int maxHeightStepFrame);

// --- profile correction and clearing ---------------------------------------------
Message correctionQuestion(int proposedStep, int currentStep); // Yes / No / Cancel
Message clearCoordinatesQuestion();
Message clearHeightsQuestion();

} // namespace tesk::coordmsg
