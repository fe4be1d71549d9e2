#pragma once
// The device recording (.geo): the frames as the radar unit measured them, in
// the bit-plane or the frame-record family of encodings, with the unit's
// clock, marker flags and, for models 5 and 6, a positioning block per frame.
// device_recording.cpp draws the byte layout.

#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/load_report.h"
#include "store/messages.h"
#include "store/profile_store.h"

#include <optional>
#include <string>
#include <vector>

namespace tesk {

// The lines the decoder writes into the log memo of the test panel, in the
// language selected when the load started. A load without findings ends with
// an empty log; a faulty one keeps "", "TEST GEO", "" and, per finding, the
// code line ("ERROR. E11.C 17": code and frame number), the message line and
// an empty line. Only the first 10000 findings are written.
struct DeviceCheckLog {
    std::vector<std::string> lines;
};

// The report of a decoded recording (frames declared: the count field of a
// frame-record file; the bit-plane family counts blocks and declares none),
// with what the decoder found about the file.
struct DeviceRecordingLoad : LoadReport {
    uint8_t deviceType = 0; // model code of the file (0..6 when not refused)
    bool bitPlane = false;  // bit-plane family (else frame records)
    int framesDecoded = 0;  // frames the first pass decoded into the work bytes
    int findings = 0;       // failed checks; the log holds the first 10000 of them
};

// Cheap test of the file header, run before anything is cleared: no fault
// when the file can be decoded, else the Refused fault with the warning that
// says why: UnknownModel for a model code above 6, UnknownStructure for a
// file that ends before its model code or its file mode byte. The open
// command tests the magic (byte sum 311) itself, as for every .geo file.
LoadReport precheckDeviceRecording(ByteSource& src);

// Decodes a device recording into the store: the first pass decodes frames
// into the work bytes of slots 0, 1, 2 ..., the second converts them into the
// value bytes of slots from 0, or from frameCount when appending, asking the
// amplitude question (Yes / No / Cancel) for implausible frames through ui.
// Without append the file's model code, date and time and the time range and
// scale of its frames replace the header's; an append keeps every header
// setting. Leaves frameCount as the conversion ends it; the caller runs
// clearForOpen(append) before and finishLoad after, as for every frame
// loader. A refused header (the checks of precheckDeviceRecording) changes
// nothing in the store. The batch front end answers No to every question:
// implausible frames are kept as recorded.
//
// The report's fault: a record cut short (CutShort) or without its block key
// (Malformed) where the first pass stopped, Cancel at the amplitude
// question, a read fault, and, weightiest, the last loader slot filled
// (SlotLimit, also when the file ends exactly there). A count field above
// 63999 is reported as clamped; any failed check ends the report with
// DataError.
DeviceRecordingLoad readDeviceRecording(ByteSource& src, bool append, ProfileStore& store,
                                        Interaction& ui, DeviceCheckLog& log);

namespace msg {
Message geoModelUnknown();             // model code above 6
Message geoAmplitudeQuestion(int pos); // implausible mean amplitude of the frame at slot pos
Message geoDataError();                // closing warning of a faulty load
} // namespace msg

} // namespace tesk
