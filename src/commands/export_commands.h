#pragma once
// The exports as batch commands (`export IN OUT.txt|.bmp|.sgy`, `render
// --whole`): the save command's write step of the kind the extension names
// (file_kinds.h), the survey's stored settings, and the file replaced only
// once everything was written.

#include "commands/export_common.h"
#include "commands/overview.h"
#include "commands/segy.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <string>

namespace tesk {

enum class ExportKind { None, Text, Bitmap, Segy };

// By the extension, lower-cased: .txt, .bmp, .sgy or .segy.
ExportKind exportKindFor(const std::string& path);

struct BatchExport {
    SaveVariant variant = SaveVariant::Plain; // text tables: --shift, --ctrl
    bool wholeSurvey = false;                 // bitmap: Yes to "Write as a single file?"
    SegySampleFormat segyFormat = SegySampleFormat::Ieee32;
    char decimalSeparator = systemDecimalSeparator();
};

// Writes the export the extension names, without asking before replacing a
// file (the caller decides). Messages (nothing to write, the file cannot be
// created, a write error) go through ui; the file on disk is unchanged
// unless the result is Written.
// failure, when given, receives the system's reason when the file could not
// be created or written.
ExportResult exportSurveyFile(ProfileStore& s, const std::string& path, const BatchExport& b,
                              Interaction& ui, std::string* failure = nullptr);

// `render --whole`: the overview of the whole survey as a PNG file, written
// the same safe way. False with a reason.
bool writeOverviewFile(const ProfileStore& s, const std::string& path, int width,
                       std::string& error);

} // namespace tesk
