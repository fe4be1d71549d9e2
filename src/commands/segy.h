#pragma once
// SEG-Y, the exchange format of seismic and radar traces, both ways.
//
// Writing (revision 1, big-endian): the 3200-byte textual header in EBCDIC,
// the 400-byte binary header and one trace per frame with data, in frame
// order. The sample interval is written in picoseconds, as radar programs
// write it: the standard's whole microseconds cannot hold a step of a
// fraction of a nanosecond. Samples are the amplitude code - 128 (code 0, no
// data, as 0), as IEEE floats (format 5) or 16-bit integers (format 3).
//
// Reading (revisions 0 and 1, either byte order, formats 1, 2, 3, 5 and 8):
// traces become frames, amplitudes scaled linearly into the codes 1..255
// around 128, resampled onto the time step of one of the time ranges. The
// rules are stated with the reader (segy_read.cpp) and in the README.

#include "commands/export_common.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/load_report.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tesk {

// fileKind of a survey opened from SEG-Y: below 16, so the open command
// resets the zero level and gains as for the other files without them.
inline constexpr uint8_t SEGY_FILE_KIND = kind::Segy;

// --- writing ---------------------------------------------------------------------

enum class SegySampleFormat : uint16_t { Ieee32 = 5, Int16 = 3 };

struct SegyWriteOptions {
    SegySampleFormat format = SegySampleFormat::Ieee32;
    bool geographic = false; // coordinates in arc-seconds, else rectangular centimetres
    std::string surveyName;  // named in the textual header
};

// The options a survey's stored settings give: geographic coordinates when
// CheckBox74 is checked, the survey's file name, IEEE floats.
SegyWriteOptions segyOptionsFromStore(const ProfileStore& s);

// Writes every frame with the in-profile flag as one trace. Shows "nothing to
// write" (and writes nothing) when the survey holds no such frame.
ExportResult writeSegyFile(ByteSink& sink, const ProfileStore& s, const SegyWriteOptions& options,
                           Interaction& ui);

// --- reading ---------------------------------------------------------------------

enum class SegyFault {
    None,
    TooShort,        // fewer bytes than the textual and binary headers
    UnknownFormat,   // no supported format code in either byte order
    BadSampleCount,  // no usable number of samples per trace
    ExtendedHeaders, // a count of extended textual headers the file cannot hold
    TraceCut,        // the file ends inside a trace (the traces before it stay loaded)
    NoTraces,        // the headers are sound but no whole trace follows
    ReadFault,       // an I/O error
};

struct SegyReadOptions {
    bool append = false; // add the traces after the frames already loaded
};

// The load report of a SEG-Y file: the frame reader's report, with the
// SEG-Y fault and the trace it was met in, and what the reader made of the
// file's layout.
struct SegyLoad : LoadReport {
    SegyFault segyFault = SegyFault::None;
    int64_t faultTrace = -1;      // 0-based trace where the fault was met
    uint64_t segyFaultOffset = 0; // byte offset of that trace or header field
    bool littleEndian = false;
    int formatCode = 0;
    int samplesInFile = 0; // samples per trace the file gives
    int interval = 0;      // the interval field as written
    bool intervalInMicroseconds = false;
    double nsPerFileSample = 0; // the file's step
    int timeRangeItem = 0;      // ComboBox11 item chosen
    bool resampled = false;     // the file's step differs from the chosen one
    bool cut = false;           // part of the recorded window lies past 16384 ns
    bool unscaled = false;      // whole numbers within -127..127 taken as they stand
    double scale = 1.0;         // code - 128 = Round(sample x scale)
    int profiles = 0;           // profiles (runs of one field record number) loaded
};

// The layout checks of the reader, made before anything is cleared: a
// report with segyFault None when the file can be read, else the refusal
// (fault Refused, segyFault and the byte offset of the field that refuses it).
SegyLoad segyPrecheck(ByteSource& src);

// Loads the traces into the store from slot 0 or, when appending, from
// frameCount; never past slot MAX_LOADED_FRAME. The caller has run
// clearForOpen and runs finishLoad. Without append the time range, the
// recording date and time and the hemisphere of geographic coordinates come
// from the file. Faults are returned, never shown (the open command words
// them: segyMessages and loadMessages in load_messages.h); only progress goes
// through ui. The traces read before a fault stay loaded.
SegyLoad readSegyFile(ByteSource& src, ProfileStore& s, const SegyReadOptions& options,
                      Interaction& ui);

} // namespace tesk
