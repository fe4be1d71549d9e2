#include "commands/file_commands.h"

#include "store/atomic_file.h"
#include "store/byte_source.h"
#include "store/device_recording.h"
#include "store/work_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tesk {

std::string openExtension(const std::string& path) {
    std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

namespace {

// A date or time field as the title shows it: a leading "0" below 10, the
// number as it stands otherwise (a header byte may hold up to 255).
std::string twoDigits(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// Keeps the busy bit for the duration of a command and clears it (with the
// append bit) on every way out.
struct BusyGuard {
    ProfileStore& s;
    explicit BusyGuard(ProfileStore& st, bool append) : s(st) {
        s.stateFlags |= state::Busy;
        if (append) s.stateFlags |= state::Append;
    }
    ~BusyGuard() { s.stateFlags &= uint16_t(~(state::Busy | state::Append)); }
};

// Step 5 of the frame-load frame-work: device recordings and older work files
// carry no zero level and gain of the current kind, nor a depth step.
void resetDisplaySettingsAfterOldLoad(ProfileStore& s) {
    auto& h = s.header;
    h.value[hdr::ZeroLevel] = 128;
    h.value[hdr::GainLevel1] = 128;
    h.value[hdr::GainLevel2] = 128;
    h.set16(hdr::GainPos1, 0);
    h.set16(hdr::GainPos2, 511);
    h.value[hdr::GainRange] = 1;
    static constexpr uint8_t depthStepForRange[8] = {4, 5, 6, 7, 8, 10, 12, 16};
    const uint8_t range = h.value[hdr::TimeRange];
    if (range < 8) h.value[hdr::DepthStep] = depthStepForRange[range];
}

// The frame-load frame-work around one loader: clear, load, normalise.
template <typename Loader>
OpenResult runFrameLoad(ProfileStore& s, bool append, Interaction& ui, Loader&& load) {
    OpenResult r;
    s.clearForOpen(append);
    ui.passStarted(Interaction::Pass::Load, s.openFileName);
    const WorkFileLoad l = load();
    s.finishLoad();
    if (!append) s.viewStart = 0;
    if (!append && s.fileKind < 16) resetDisplaySettingsAfterOldLoad(s);
    if (!append) buildCaptions(s);
    // The coordinate panel state bits are never taken from a file.
    s.header.value[hdr::CoordFlags] &= 0xF0;
    ui.passFinished();
    if (l.readFault) ui.show(msg::readFault(s.openFileName));
    r.outcome = OpenOutcome::FramesLoaded;
    r.framesRead = l.framesRead;
    r.added = append;
    return r;
}

struct OpenedFile {
    std::unique_ptr<FileSource> src;
    bool ok = false;
};

// Opens a byte file and applies the open-failure and empty-file rules.
OpenedFile openByteFile(ProfileStore& s, const std::string& emptyCode, Interaction& ui) {
    OpenedFile f;
    f.src = FileSource::open(s.openFileName);
    if (!f.src) {
        ui.show(msg::fileOpenFailed(s.openFileName));
        return f;
    }
    s.openFileSize = int64_t(f.src->size());
    if (f.src->size() == 0) {
        ui.show(msg::emptyFile(emptyCode, s.openFileName));
        return f;
    }
    f.ok = true;
    return f;
}

int magicOf(ByteSource& src) {
    uint8_t b[4] = {};
    src.read(0, b, 4);
    return magicSum(b);
}

OpenResult openWorkFile(ProfileStore& s, bool append, Interaction& ui) {
    OpenResult r;
    OpenedFile f = openByteFile(s, "E025", ui);
    if (!f.ok) return r;
    if (magicOf(*f.src) != TESK_MAGIC_SUM) {
        ui.show(msg::gemMagic(s.openFileName));
        return r;
    }
    uint8_t version = 0;
    f.src->read(hdr::FormatVersion, &version, 1);
    const auto gen = generationForVersion(version);
    s.fileKind = kind::None;
    if (!gen) {
        // Checked before anything is cleared, so the survey on screen stays.
        ui.show(msg::gemVersion(s.openFileName));
        ui.show(msg::unknownStructure());
        return r;
    }
    s.fileKind = gen->kind;
    return runFrameLoad(s, append, ui, [&] { return readWorkFile(*f.src, *gen, append, s, ui); });
}

WorkFileLoad asWorkFileLoad(const DeviceFileLoad& d) {
    return d;
}
WorkFileLoad asWorkFileLoad(const DeviceRecordingLoad& d) {
    WorkFileLoad l;
    l.framesRead = d.framesRead;
    l.slotLimitHit = d.slotLimitHit;
    l.readFault = d.readFault;
    return l;
}

OpenResult openDeviceRecording(ProfileStore& s, bool append, Interaction& ui) {
    OpenResult r;
    OpenedFile f = openByteFile(s, "E023", ui);
    if (!f.ok) return r;
    if (magicOf(*f.src) != TESK_MAGIC_SUM) {
        ui.show(msg::geoMagic(s.openFileName));
        return r;
    }
    // A header the decoder cannot use is refused before anything is cleared.
    if (const auto refusal = precheckDeviceRecording(*f.src)) {
        ui.show(*refusal);
        return r;
    }
    s.fileKind = kind::DeviceRecording;
    DeviceCheckLog log;
    r = runFrameLoad(s, append, ui, [&] {
        return asWorkFileLoad(readDeviceRecording(*f.src, append, s, ui, log));
    });
    r.deviceCheck = true;
    r.checkLog = std::move(log.lines);
    return r;
}

// The three formats of the device family: the bit-plane file and the two
// 12-bit files read with the device options.
template <typename Reader>
OpenResult openDeviceFamilyFile(ProfileStore& s, bool append, Interaction& ui,
                                const std::string& emptyCode, uint8_t fileKind, bool mirnMagic,
                                const DeviceOptions& options, Reader&& read) {
    OpenResult r;
    OpenedFile f = openByteFile(s, emptyCode, ui);
    if (!f.ok) return r;
    if (mirnMagic && !hasMirnMagic(*f.src)) {
        ui.show(msg::gebMagic(s.openFileName));
        return r;
    }
    s.fileKind = fileKind;
    return runFrameLoad(s, append, ui,
                        [&] { return asWorkFileLoad(read(*f.src, append, s, options, ui)); });
}

OpenResult openOptionsFile(ProfileStore& s, Interaction& ui) {
    OpenResult r;
    // Options only make sense once a survey is loaded.
    if (s.fileKind == 0 || s.fileKind == kind::None) {
        r.outcome = OpenOutcome::NothingDone;
        return r;
    }
    OpenedFile f = openByteFile(s, "E025", ui);
    if (!f.ok) return r;
    if (magicOf(*f.src) != TESK_MAGIC_SUM) {
        ui.show(msg::optMagic(s.openFileName));
        return r;
    }
    // Whatever the version, the file counts as added to the survey on screen:
    // an unknown version applies nothing, but the window still redraws and
    // names the file in its title.
    r.options = readOptionsFile(*f.src, s, ui);
    r.outcome = OpenOutcome::SettingsLoaded;
    r.added = true;
    return r;
}

OpenResult refuseCoordinateFile(ProfileStore& s, const std::string& formatName, Interaction& ui) {
    OpenResult r;
    auto src = FileSource::open(s.openFileName);
    if (!src) {
        ui.show(msg::coordFileOpenFailed(s.openFileName));
        return r;
    }
    if (src->size() == 0) {
        ui.show(msg::emptyFile("E025", s.openFileName));
        return r;
    }
    ui.show(msg::notYetSupported(s.openFileName, formatName));
    return r;
}

} // namespace

void buildCaptions(ProfileStore& s) {
    const auto& v = s.header.value;
    s.captionDate = "     " + twoDigits(v[hdr::Day]) + "." + twoDigits(v[hdr::Month]) + "." +
                    twoDigits(v[hdr::Year]);
    s.captionTime = "   " + twoDigits(v[hdr::Hour]) + ":" + twoDigits(v[hdr::Minute]) + ":00";
}

std::string windowTitle(const ProfileStore& s, const std::string& addedFile) {
    std::string t = "Tesk  " + s.currentFileName + s.captionDate + s.captionTime;
    if (!addedFile.empty()) t += "    +add file:// " + addedFile;
    return t;
}

OpenResult openSurveyFile(ProfileStore& s, const std::string& path, bool append, Interaction& ui,
                          const OpenSettings& settings) {
    s.openFileName = path;
    const std::string ext = openExtension(path);
    BusyGuard busy(s, append);
    if (!append) s.stateFlags &= uint16_t(~0x0018); // leave the slice and 3D views
    OpenResult r;
    if (ext == ".gem") {
        r = openWorkFile(s, append, ui);
    } else if (ext == ".geo") {
        r = openDeviceRecording(s, append, ui);
    } else if (ext == ".mr3") {
        r = openDeviceFamilyFile(s, append, ui, "E022", kind::BitPlane, false, settings.device,
                                 readMr3File);
    } else if (ext == ".gpr") {
        r = openDeviceFamilyFile(s, append, ui, "E023", kind::MirnGpr, false, settings.device,
                                 readGprFile);
    } else if (ext == ".geb") {
        r = openDeviceFamilyFile(s, append, ui, "E002", kind::MirnGeb, true, settings.device,
                                 readGebFile);
    } else if (ext == ".opt") {
        r = openOptionsFile(s, ui);
    } else if (ext == ".gpx") {
        r = refuseCoordinateFile(s, "GPX", ui);
    } else if (ext == ".txt") {
        r = refuseCoordinateFile(s, "TXT", ui);
    } else {
        ui.show(msg::notYetSupported(path, ext.empty() ? "?" : ext));
    }
    if (r.outcome == OpenOutcome::FramesLoaded) {
        if (!append) s.currentFileName = path;
        s.stateFlags |= state::Changed;
        s.stateFlags &=
            uint16_t(state::Changed | state::CoordFileOpen | state::Busy | state::Append);
    }
    return r;
}

std::string savePathFor(const std::string& chosen, SaveKind kind) {
    static const char* ext[] = {"", ".gem", ".bmp", ".opt", ".txt"};
    // The dialog's name carries its extension in its last four characters;
    // a name typed without one is kept whole rather than cut.
    std::string base = chosen;
    const auto slash = chosen.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (chosen.size() >= nameStart + 4 && chosen[chosen.size() - 4] == '.')
        base = chosen.substr(0, chosen.size() - 4);
    return base + ext[int(kind)];
}

SaveResult saveSurveyFile(ProfileStore& s, const std::string& chosenPath, SaveKind kind,
                          Interaction& ui, const SaveSettings& settings) {
    SaveResult r;
    const std::string path = savePathFor(chosenPath, kind);
    // The bitmap and text exports have no writer in this version: say so
    // before asking about a file that would not be touched anyway.
    if (kind == SaveKind::Bitmap || kind == SaveKind::Text) {
        static const char* names[] = {"", "GEM", "BMP", "OPT", "TXT"};
        ui.show(msg::notYetSupported(path, names[int(kind)]));
        return r;
    }
    if (fileExists(path) && ui.show(msg::overwrite(path)) != Answer::Yes) return r;
    if (kind == SaveKind::Options) {
        std::string error;
        auto sink = AtomicFileSink::create(path, error);
        if (!sink) {
            ui.show(msg::createFailedE030());
            return r;
        }
        const OptionsFileSettings o =
            settings.options ? *settings.options : optionsFromStore(s, DeviceOptions{});
        BusyGuard busy(s, false);
        ui.passStarted(Interaction::Pass::Save, path);
        const bool ok = writeOptionsFile(*sink, o, ui) && sink->commit(error);
        ui.passFinished();
        if (!ok) {
            if (error.empty()) error = sink->lastError();
            ui.show(msg::writeFailed(path, error));
            return r;
        }
        r.written = true;
        r.path = path;
        return r;
    }
    std::string error;
    auto sink = AtomicFileSink::create(path, error);
    if (!sink) {
        ui.show(msg::createFailedE030());
        return r;
    }
    s.openFileName = path;
    {
        BusyGuard busy(s, false);
        ui.passStarted(Interaction::Pass::Save, path);
        const bool ok = writeWorkFile(*sink, s, ui) && sink->commit(error);
        ui.passFinished();
        if (!ok) {
            if (error.empty()) error = sink->lastError();
            ui.show(msg::writeFailed(path, error));
            return r;
        }
    }
    s.currentFileName = savePathFor(chosenPath, SaveKind::WorkFile);
    r.written = true;
    r.path = path;
    return r;
}

} // namespace tesk
