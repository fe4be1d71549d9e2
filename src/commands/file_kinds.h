#pragma once
// The kinds of file the open and save commands know: one row each, in the
// order of the dialogs' filter lists. A row says how the open command
// recognises the file (its extension, how it is opened, the empty-file code,
// the byte sum of its first four bytes), which step reads it and which step
// writes it. The dialogs' filter lists, the dispatch of both commands and the
// extension of a saved file all come from this table.
//
// Adding a format is adding a row to fileKinds() in file_kinds.cpp:
//
//   {".sgy", "Sgy. SEG-Y file", "SEG-Y Files", "SEGY",
//    {Opened::ByteFile, "E025", 0, nullptr, false}, openSegy, saveSegy},
//
//   - openLabel / saveLabel put the row into the open / save dialog; leave
//     either nullptr to keep the row out of that dialog (a second extension
//     of a format, ".segy", is a row without labels). The save dialog's
//     filter index selects the row, so a save entry goes after the existing
//     ones (SaveKind names the first four; a fifth entry is SaveKind(5)).
//   - read (or write) nullptr: the command says that this version does not
//     support the format yet, naming formatName.
//   - A frame format's read step checks what it must before anything is
//     cleared and then calls frameLoad with its fileKind and its reader; the
//     reader returns a LoadReport and shows nothing, frameLoad words the
//     messages (load_messages.h). What follows a frame load of one format
//     only (the .cor companion of a .geb survey) goes into its read step
//     after frameLoad. A coordinate import or another file that adds to the
//     survey returns an OpenResult with `added` set.
//   - A write step usually calls writeAtomically with its writer, an export's
//     writeExportAtomically.
//   - A second extension of a format (".segy" beside ".sgy") is a row
//     without labels and with the same formatName, after the labelled one:
//     the dialogs' entry of the format lists it ("*.sgy;*.segy"), the open
//     command and the batch exports take it, and a name chosen in the save
//     dialog that already ends in it keeps it.
//   - Steps run after the identify step: the file exists, is not empty and
//     has the row's magic.

#include "commands/file_commands.h"
#include "store/byte_source.h"
#include "store/load_report.h"
#include "store/work_file.h"

#include <functional>
#include <string>
#include <vector>

namespace tesk {

// What a read step gets: the file opened and identified, the store, the
// choice of append, the interaction and the window's settings.
struct OpenRequest {
    ProfileStore& store;
    ByteSource& file;
    const std::string& path;
    bool append;
    Interaction& ui;
    const OpenSettings& settings;
};

// What a write step gets: the path of the file to write (the chosen name
// with the row's extension; the overwrite question is answered), the store,
// the interaction and the window's settings. The step leaves what an export
// wrote, and why a file could not be created or written, in the request.
struct SaveRequest {
    ProfileStore& store;
    const std::string& path;
    Interaction& ui;
    const SaveSettings& settings;
    ExportResult exported{};
    bool createFailed = false;
    std::string failure{};
};

enum class Opened {
    ByteFile,       // a survey or settings file; its own open-failure message (E001 / E020)
    CoordinateFile, // a coordinate file; the coordinate-file open-failure message
};

// How the open command recognises a file before a step reads it.
struct Identify {
    Opened opened = Opened::ByteFile;
    const char* emptyCode = "E025"; // code of the empty-file warning
    int magicSum = 0;               // the first four bytes add up to this; 0: not tested
    Message (*wrongMagic)(const std::string& name) = nullptr; // the refusal when they do not
    bool needsSurvey = false; // opened only once a survey is loaded; otherwise nothing is done
};

struct FileKind {
    const char* extension;  // ".gem": the end of the path, letter case ignored
    const char* openLabel;  // the open dialog's entry; nullptr: not offered there
    const char* saveLabel;  // the save dialog's entry; nullptr: not offered there
    const char* formatName; // "GEM": named when a side has no step yet
    Identify identify;
    OpenResult (*read)(OpenRequest&);  // nullptr: the kind is never opened
    SaveResult (*write)(SaveRequest&); // nullptr: the kind is never written
};

// Every row, in dialog order.
const std::vector<FileKind>& fileKinds();

// The row the open command takes a path for: the one whose extension ends
// the path, among the rows with an open side (nullptr: none).
const FileKind* openKindFor(const std::string& path);

// The row of a save dialog entry (1-based filter index), brought into the
// range of the entries.
const FileKind& saveKindAt(int filterIndex);

// The row that writes files whose path ends in its extension, letter case
// ignored (nullptr: none).
const FileKind* writeKindFor(const std::string& path);

// The frame-load frame-work around a reader: sets fileKind, clears the
// store for the open, shows the progress panel, runs the reader with an
// interaction that shows the report's messages before each question, shows
// the rest of them, normalises the store (finishLoad), starts a plain open
// at frame 0 with fresh captions, hides the panel and shows the read-fault
// message when the read failed. The result carries the report whole.
using FrameReader = std::function<LoadReport(Interaction& ui)>;
OpenResult frameLoad(OpenRequest& q, uint8_t fileKind, const FrameReader& read);

// Writes q.path through a sink that replaces the file only when everything
// was written; shows createFailed when the file cannot be created and the
// write-failure message when writing fails. write returns false when the
// sink refused bytes.
using FileWriter = std::function<bool(ByteSink& sink)>;
bool writeAtomically(SaveRequest& q, const Message& createFailed, const FileWriter& write);

// The same for an export, whose writer may find nothing to write (it says
// so itself; the file on disk stays as it was): "ERROR of creation of a
// file!" when the file cannot be created, the write-failure message when
// writing fails. Leaves the writer's result in q.exported and returns it.
using ExportWriter = std::function<ExportResult(ByteSink& sink)>;
const ExportResult& writeExportAtomically(SaveRequest& q, const ExportWriter& write);

} // namespace tesk
