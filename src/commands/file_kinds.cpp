#include "commands/file_kinds.h"

#include "commands/bitmap_export.h"
#include "commands/load_messages.h"
#include "commands/segy.h"
#include "commands/text_export.h"
#include "store/device_recording.h"
#include "store/options_file.h"

#include <algorithm>
#include <cctype>

namespace tesk {

namespace {

// --- read steps ----------------------------------------------------------------------

OpenResult openWorkFile(OpenRequest& q) {
    uint8_t version = 0;
    q.file.read(hdr::FormatVersion, &version, 1);
    const auto gen = generationForVersion(version);
    q.store.fileKind = kind::None;
    if (!gen) {
        // Checked before anything is cleared, so the survey on screen stays.
        q.ui.show(msg::gemVersion(q.path));
        q.ui.show(msg::unknownStructure());
        return {};
    }
    return frameLoad(q, gen->kind, [&](Interaction& ui) {
        return readWorkFile(q.file, *gen, q.append, q.store, ui);
    });
}

OpenResult openDeviceRecording(OpenRequest& q) {
    // A header the decoder cannot use is refused before anything is cleared.
    const LoadReport refusal = precheckDeviceRecording(q.file);
    if (refusal.fault == LoadFault::Refused) {
        for (const Message& m : loadMessages(refusal, kind::DeviceRecording)) q.ui.show(m);
        OpenResult r;
        r.report = refusal;
        return r;
    }
    DeviceCheckLog log;
    OpenResult r = frameLoad(q, kind::DeviceRecording, [&](Interaction& ui) -> LoadReport {
        return readDeviceRecording(q.file, q.append, q.store, ui, log);
    });
    r.deviceCheck = true;
    r.checkLog = std::move(log.lines);
    return r;
}

// The three formats of the device family, read with the device options.
using DeviceFamilyReader = LoadReport (*)(ByteSource&, bool, ProfileStore&, const DeviceOptions&,
                                          Interaction&);

template <uint8_t Kind, DeviceFamilyReader Read> OpenResult openDeviceFamilyFile(OpenRequest& q) {
    return frameLoad(q, Kind, [&](Interaction& ui) {
        return Read(q.file, q.append, q.store, q.settings.device, ui);
    });
}

OpenResult openOptionsFile(OpenRequest& q) {
    OpenResult r;
    // Whatever the version, the file counts as added to the survey on screen:
    // an unknown version applies nothing, but the window still redraws and
    // names the file in its title.
    r.options = readOptionsFile(q.file, q.store);
    if (r.options->status == OptionsReadStatus::CutShort ||
        r.options->status == OptionsReadStatus::ReadFault)
        q.ui.show(msg::readFault(q.path));
    r.outcome = OpenOutcome::SettingsLoaded;
    r.added = true;
    return r;
}

OpenResult openSegy(OpenRequest& q) {
    // A layout the reader cannot take is refused before anything is cleared.
    const SegyLoad refusal = segyPrecheck(q.file);
    if (refusal.fault == LoadFault::Refused) {
        for (const Message& m : segyMessages(refusal, q.path)) q.ui.show(m);
        OpenResult r;
        r.report = refusal;
        return r;
    }
    SegyLoad load;
    OpenResult r = frameLoad(q, kind::Segy, [&](Interaction& ui) -> LoadReport {
        load = readSegyFile(q.file, q.store, SegyReadOptions{q.append}, ui);
        return load;
    });
    // A file cut inside a trace: which trace, and how many were loaded.
    for (const Message& m : segyMessages(load, q.path)) q.ui.show(m);
    return r;
}

// --- write steps ---------------------------------------------------------------------

SaveResult saveWorkFile(SaveRequest& q) {
    SaveResult r;
    const bool ok = writeAtomically(q, msg::createFailedE030(), [&](ByteSink& sink) {
        q.store.openFileName = q.path;
        return writeWorkFile(sink, q.store, q.ui);
    });
    if (!ok) return r;
    q.store.currentFileName = q.path;
    r.written = true;
    r.path = q.path;
    return r;
}

SaveResult saveOptionsFile(SaveRequest& q) {
    SaveResult r;
    const OptionsFileSettings o =
        q.settings.options ? *q.settings.options : optionsFromStore(q.store, DeviceOptions{});
    if (!writeAtomically(q, msg::createFailedE030(),
                         [&](ByteSink& sink) { return writeOptionsFile(sink, o, q.ui); }))
        return r;
    r.written = true;
    r.path = q.path;
    return r;
}

SaveResult exportSaved(const SaveRequest& q) {
    SaveResult r;
    r.written = q.exported.written();
    r.path = q.path;
    return r;
}

SaveResult saveTextTable(SaveRequest& q) {
    const SaveSettings& o = q.settings;
    const ExportSettings e =
        o.text ? *o.text
               : exportSettingsFromStore(q.store, o.variant,
                                         o.decimalSeparator ? o.decimalSeparator
                                                            : systemDecimalSeparator());
    writeExportAtomically(q,
                          [&](ByteSink& sink) { return writeTextTable(sink, q.store, e, q.ui); });
    return exportSaved(q);
}

SaveResult saveBitmap(SaveRequest& q) {
    BitmapSettings b = q.settings.bitmap ? *q.settings.bitmap : bitmapSettingsFromStore(q.store);
    if (q.settings.singleFile) b.singleFile = q.settings.singleFile;
    writeExportAtomically(q, [&](ByteSink& sink) { return writeBitmap(sink, q.store, b, q.ui); });
    return exportSaved(q);
}

SaveResult saveSegy(SaveRequest& q) {
    SegyWriteOptions o = segyOptionsFromStore(q.store);
    if (q.settings.segyInt16) o.format = SegySampleFormat::Int16;
    writeExportAtomically(q, [&](ByteSink& sink) { return writeSegyFile(sink, q.store, o, q.ui); });
    return exportSaved(q);
}

constexpr Identify coordinates{Opened::CoordinateFile, "E025", 0, nullptr, false};

} // namespace

const std::vector<FileKind>& fileKinds() {
    // clang-format off
    static const std::vector<FileKind> rows = {
        {".gem", "Gem. Work file", "Gem Files", "GEM",
         {Opened::ByteFile, "E025", TESK_MAGIC_SUM, msg::gemMagic, false},
         openWorkFile, saveWorkFile},
        {".geo", "Geo. Original file", nullptr, "GEO",
         {Opened::ByteFile, "E023", TESK_MAGIC_SUM, msg::geoMagic, false},
         openDeviceRecording, nullptr},
        {".mr3", "Mr3. Binary file", nullptr, "MR3",
         {Opened::ByteFile, "E022", 0, nullptr, false},
         openDeviceFamilyFile<kind::BitPlane, readMr3File>, nullptr},
        {".bmp", nullptr, "Bmp Files", "BMP", {}, nullptr, saveBitmap},
        {".opt", "Opt. Options file", "Option Files", "OPT",
         {Opened::ByteFile, "E025", TESK_MAGIC_SUM, msg::optMagic, true},
         openOptionsFile, saveOptionsFile},
        {".gpx", "Gpx. GPS file", nullptr, "GPX", coordinates, nullptr, nullptr},
        {".txt", "Txt. Coordinates file", "Text Files", "TXT", coordinates, nullptr,
         saveTextTable},
        {".gpr", "Gpr. Mirn file", nullptr, "GPR",
         {Opened::ByteFile, "E023", 0, nullptr, false},
         openDeviceFamilyFile<kind::MirnGpr, readGprFile>, nullptr},
        {".geb", "Geb. Mirn file", nullptr, "GEB",
         {Opened::ByteFile, "E002", MIRN_MAGIC_SUM, msg::gebMagic, false},
         openDeviceFamilyFile<kind::MirnGeb, readGebFile>, nullptr},
        {".sgy", "Sgy. SEG-Y file", "SEG-Y Files", "SEG-Y",
         {Opened::ByteFile, "E025", 0, nullptr, false},
         openSegy, saveSegy},
        {".segy", nullptr, nullptr, "SEG-Y",
         {Opened::ByteFile, "E025", 0, nullptr, false},
         openSegy, saveSegy},
    };
    // clang-format on
    return rows;
}

const FileKind* openKindFor(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const FileKind& k : fileKinds()) {
        if (!k.openLabel && !k.read) continue; // a kind that is only written
        const std::string ext = k.extension;
        if (lower.size() >= ext.size() &&
            lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0)
            return &k;
    }
    return nullptr;
}

const FileKind& saveKindAt(int filterIndex) {
    const FileKind* last = nullptr;
    int index = 0;
    for (const FileKind& k : fileKinds()) {
        if (!k.saveLabel) continue;
        last = &k;
        if (++index >= filterIndex) break;
    }
    return *last;
}

const FileKind* writeKindFor(const std::string& path) {
    for (const FileKind& k : fileKinds())
        if (k.write && endsWithExtension(path, k.extension)) return &k;
    return nullptr;
}

namespace {

// "Label|*.ext|" per labelled row; the second extensions of its format
// follow its own ("*.sgy;*.segy").
std::string dialogFilter(const char* FileKind::*label) {
    std::string f;
    for (const FileKind& k : fileKinds()) {
        if (!(k.*label)) continue;
        f += std::string(k.*label) + "|*" + k.extension;
        for (const FileKind& other : fileKinds())
            if (!(other.*label) && std::string(other.formatName) == k.formatName)
                f += std::string(";*") + other.extension;
        f += "|";
    }
    return f;
}

} // namespace

std::string openDialogFilter() {
    return dialogFilter(&FileKind::openLabel);
}

std::string saveDialogFilter() {
    return dialogFilter(&FileKind::saveLabel);
}

} // namespace tesk
