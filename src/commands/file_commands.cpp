#include "commands/file_commands.h"

#include "commands/file_kinds.h"
#include "commands/load_messages.h"
#include "store/atomic_file.h"
#include "store/byte_source.h"

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

bool endsWithExtension(const std::string& path, const std::string& extension) {
    if (path.size() <= extension.size()) return false;
    return std::equal(extension.begin(), extension.end(),
                      path.end() - std::ptrdiff_t(extension.size()), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
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

// Device recordings and older work files carry no zero level and gain of
// the current kind, nor a depth step.
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

int magicOf(ByteSource& src) {
    uint8_t b[4] = {};
    src.read(0, b, 4);
    return magicSum(b);
}

// The identify step of a row: open the file, refuse it when it is missing,
// empty or of another magic. Null when refused (the message was shown).
std::unique_ptr<FileSource> identify(ProfileStore& s, const FileKind& row, Interaction& ui) {
    const Identify& id = row.identify;
    auto src = FileSource::open(s.openFileName);
    if (!src) {
        ui.show(id.opened == Opened::CoordinateFile ? msg::coordFileOpenFailed(s.openFileName)
                                                    : msg::fileOpenFailed(s.openFileName));
        return nullptr;
    }
    if (id.opened == Opened::ByteFile) s.openFileSize = int64_t(src->size());
    if (src->size() == 0) {
        ui.show(msg::emptyFile(id.emptyCode, s.openFileName));
        return nullptr;
    }
    if (id.magicSum != 0 && magicOf(*src) != id.magicSum) {
        if (id.wrongMagic) ui.show(id.wrongMagic(s.openFileName));
        return nullptr;
    }
    return src;
}

} // namespace

OpenResult frameLoad(OpenRequest& q, uint8_t fileKind, const FrameReader& read) {
    ProfileStore& s = q.store;
    OpenResult r;
    s.fileKind = fileKind;
    s.clearForOpen(q.append);
    q.ui.passStarted(Interaction::Pass::Load, s.openFileName);
    LoadInteraction ui(q.ui, fileKind);
    r.report = read(ui);
    ui.tell(r.report);
    s.finishLoad();
    if (!q.append) s.viewStart = 0;
    if (!q.append && s.fileKind < 16) resetDisplaySettingsAfterOldLoad(s);
    if (!q.append) buildCaptions(s);
    // The coordinate panel state bits are never taken from a file.
    s.header.value[hdr::CoordFlags] &= 0xF0;
    q.ui.passFinished();
    if (r.report.fault == LoadFault::ReadFault) q.ui.show(msg::readFault(s.openFileName));
    // A file cut short keeps the frames it holds, and says so.
    if (const auto partial = partialLoadMessage(r.report, fileKind, s.openFileName))
        q.ui.show(*partial);
    r.outcome = OpenOutcome::FramesLoaded;
    r.added = q.append;
    return r;
}

bool writeAtomically(SaveRequest& q, const Message& createFailed, const FileWriter& write) {
    std::string error;
    auto sink = AtomicFileSink::create(q.path, error);
    if (!sink) {
        q.createFailed = true;
        q.failure = error;
        q.ui.show(createFailed);
        return false;
    }
    bool ok = false;
    {
        BusyGuard busy(q.store, false);
        q.ui.passStarted(Interaction::Pass::Save, q.path);
        ok = write(*sink) && sink->commit(error);
        q.ui.passFinished();
    }
    if (!ok) {
        if (error.empty()) error = sink->lastError();
        q.failure = error;
        q.ui.show(msg::writeFailed(q.path, error));
    }
    return ok;
}

const ExportResult& writeExportAtomically(SaveRequest& q, const ExportWriter& write) {
    std::string error;
    auto sink = AtomicFileSink::create(q.path, error);
    if (!sink) {
        q.createFailed = true;
        q.failure = error;
        q.ui.show(msg::createFailedExport());
        q.exported = ExportResult{};
        q.exported.outcome = ExportOutcome::CreateFailed;
        return q.exported;
    }
    {
        BusyGuard busy(q.store, false);
        q.ui.passStarted(Interaction::Pass::Save, q.path);
        q.exported = write(*sink);
        if (q.exported.written() && !sink->commit(error))
            q.exported.outcome = ExportOutcome::WriteFailed;
        q.ui.passFinished();
    }
    if (q.exported.outcome == ExportOutcome::WriteFailed) {
        if (error.empty()) error = sink->lastError();
        q.failure = error;
        q.ui.show(msg::writeFailed(q.path, error));
    }
    return q.exported;
}

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
    BusyGuard busy(s, append);
    if (!append) s.stateFlags &= uint16_t(~0x0018); // leave the slice and 3D views
    OpenResult r;
    const FileKind* row = openKindFor(path);
    if (!row) {
        const std::string ext = openExtension(path);
        ui.show(msg::notYetSupported(path, ext.empty() ? "?" : ext));
        return r;
    }
    if (row->identify.needsSurvey && (s.fileKind == 0 || s.fileKind == kind::None)) {
        r.outcome = OpenOutcome::NothingDone;
        return r;
    }
    auto src = identify(s, *row, ui);
    if (!src) return r;
    if (!row->read) {
        ui.show(msg::notYetSupported(path, row->formatName));
        return r;
    }
    OpenRequest q{s, *src, path, append, ui, settings};
    r = row->read(q);
    if (r.outcome == OpenOutcome::FramesLoaded) {
        if (!append) s.currentFileName = path;
        s.stateFlags |= state::Changed;
        s.stateFlags &=
            uint16_t(state::Changed | state::CoordFileOpen | state::Busy | state::Append);
    }
    return r;
}

AfterOpen afterOpen(const ProfileStore& s, const OpenResult& r, const std::string& path,
                    ViewState& view) {
    AfterOpen a;
    a.framesLoaded = r.outcome == OpenOutcome::FramesLoaded;
    if (a.framesLoaded) {
        // The view starts over: cursors, second point and section.
        const Point origin = view.ViewOrigin;
        view = ViewState{};
        view.ViewOrigin = origin;
        // The device options matter once a 12-bit device file has been read.
        a.showDeviceOptions = s.fileKind == kind::MirnGpr || s.fileKind == kind::MirnGeb;
    }
    if (a.framesLoaded || r.added) a.title = windowTitle(s, r.added ? path : std::string());
    return a;
}

SaveKind saveKindForFilterIndex(int filterIndex) {
    int entries = 0;
    for (const FileKind& k : fileKinds()) entries += k.saveLabel != nullptr;
    return SaveKind(std::clamp(filterIndex, 1, entries));
}

std::string savePathFor(const std::string& chosen, SaveKind kind) {
    const FileKind& row = saveKindAt(int(kind));
    // A name that already ends in a second extension of the format keeps it.
    for (const FileKind& k : fileKinds()) {
        if (&k == &row || k.saveLabel || !k.write || std::string(k.formatName) != row.formatName)
            continue;
        if (endsWithExtension(chosen, k.extension)) return chosen;
    }
    // The dialog's name carries its extension in its last four characters;
    // a name typed without one is kept whole rather than cut.
    std::string base = chosen;
    const auto slash = chosen.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (chosen.size() >= nameStart + 4 && chosen[chosen.size() - 4] == '.')
        base = chosen.substr(0, chosen.size() - 4);
    return base + row.extension;
}

SaveResult saveSurveyFile(ProfileStore& s, const std::string& chosenPath, SaveKind kind,
                          Interaction& ui, const SaveSettings& settings) {
    SaveResult r;
    const FileKind& row = saveKindAt(int(kind));
    const std::string path = savePathFor(chosenPath, kind);
    r.path = path;
    // A kind without a writer says so before asking about a file that would
    // not be touched anyway.
    if (!row.write) {
        ui.show(msg::notYetSupported(path, row.formatName));
        return r;
    }
    if (fileExists(path) && ui.show(msg::overwrite(path)) != Answer::Yes) return r;
    SaveRequest q{s, path, ui, settings};
    r = row.write(q);
    r.path = path;
    r.createFailed = q.createFailed;
    r.failure = q.failure;
    return r;
}

} // namespace tesk
