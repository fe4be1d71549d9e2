// The batch front end's interaction, the batch open and the survey
// description of `info`.

#include "cli/cli_internal.h"

#include "commands/file_commands.h"
#include "store/byte_source.h"
#include "store/settings_catalog.h"

#include <iomanip>
#include <ostream>
#include <sstream>

namespace tesk::cli {

Answer BatchInteraction::show(const Message& m) {
    // The overwrite question is the only one a batch run may answer Yes;
    // with --force it is not even asked.
    const bool overwrite = m.en.find("already exists. Overwrite?") != std::string::npos;
    if (overwrite && force_) return Answer::Yes;
    std::string t = m.en;
    for (auto& c : t)
        if (c == '\r') c = '\n';
    err_ << t << '\n';
    if (m.buttons == Buttons::Ok) {
        ++problems;
        return Answer::Ok;
    }
    // An implausible frame of a device recording is kept as recorded
    // unless the operator asked for its replacement.
    if (replace_ && m.en.rfind("Measurement amplitude error.", 0) == 0) {
        err_ << "(answered Yes)\n";
        return Answer::Yes;
    }
    err_ << "(answered No)\n";
    if (overwrite) ++problems;
    return Answer::No;
}

bool mayWrite(const std::string& path, BatchInteraction& ui) {
    return !fileExists(path) || ui.show(msg::overwrite(path)) == Answer::Yes;
}

bool openForBatch(ProfileStore& store, ViewState& view, const std::string& path,
                  BatchInteraction& ui, std::ostream& err) {
    const OpenResult r = openSurveyFile(store, path, false, ui);
    if (afterOpen(store, r, path, view).framesLoaded) return true;
    // An options file only changes the settings of a survey already on screen.
    if (r.outcome != OpenOutcome::Refused)
        err << "tesk-cli: " << path << " holds no survey; an options file (.opt) only applies "
            << "to a survey already open\n";
    return false;
}

int lastFrameWithData(const ProfileStore& s) {
    for (int i = s.frameCount; i >= 0; --i)
        if (s.frame(i).inProfile()) return i;
    return -1;
}

namespace {

std::string kindName(uint8_t k) {
    switch (k) {
    case kind::DeviceRecording:
        return "device recording (.geo)";
    case kind::Segy:
        return "SEG-Y file (.sgy, .segy)";
    case kind::BitPlane:
        return "bit-plane file (.mr3)";
    case kind::MirnGpr:
        return "Mirn file (.gpr)";
    case kind::MirnGeb:
        return "Mirn file (.geb)";
    case kind::None:
        return "none";
    default:
        return "work file (.gem)";
    }
}

int countProfiles(const ProfileStore& s) {
    int n = 0;
    bool inside = false;
    for (int i = 0; i <= s.frameCount; ++i) {
        const bool p = s.frame(i).inProfile();
        if (p && !inside) ++n;
        inside = p;
    }
    return n;
}

template <typename T, std::size_t N> std::string tableValue(const std::array<T, N>& t, int i) {
    if (i < 0 || i >= int(N)) return "?";
    std::ostringstream o;
    o << t[std::size_t(i)];
    return o.str();
}

std::string fixed2(double v) {
    std::ostringstream o;
    o << std::fixed << std::setprecision(2) << v;
    return o.str();
}

} // namespace

void printInfo(const ProfileStore& s, const std::string& path, std::ostream& out) {
    const auto& h = s.header.value;
    const int gen = (s.fileKind >= 7 && s.fileKind <= 16) ? s.fileKind : 0;
    out << "file:           " << path << '\n';
    out << "kind:           " << kindName(s.fileKind) << '\n';
    if (gen) out << "generation:     " << gen << '\n';
    out << "frames:         " << (lastFrameWithData(s) + 1) << " (frame count " << s.frameCount
        << ")\n";
    out << "profiles:       " << countProfiles(s) << '\n';
    out << "recorded:       " << std::setfill('0') << std::setw(2) << int(h[hdr::Day]) << '.'
        << std::setw(2) << int(h[hdr::Month]) << '.' << std::setw(2) << int(h[hdr::Year]) << ' '
        << std::setw(2) << int(h[hdr::Hour]) << ':' << std::setw(2) << int(h[hdr::Minute])
        << std::setfill(' ') << '\n';
    out << "device type:    " << int(s.deviceType) << '\n';
    out << "time range:     " << tableValue(items::TIME_RANGE_NS, h[hdr::TimeRange]) << " ns\n";
    out << "profile step:   " << tableValue(items::STEP_CM, h[hdr::Step]) << " cm\n";
    // Depth = Vgr x two-way time, so Vgr is half the speed of the wave in
    // the soil; the permittivity follows from the wave speed (30 cm/ns in air).
    const double vgr = s.velocityCode / 100.0;
    out << "velocity Vgr:   " << fixed2(vgr) << " cm/ns (depth = Vgr x two-way time)\n";
    out << "wave speed:     " << fixed2(2 * vgr) << " cm/ns (permittivity "
        << fixed2(s.permittivity) << ")\n";
    out << "antenna gap:    " << tableValue(items::ANTENNA_CM, h[hdr::Antenna]) << " cm\n";
    out << "depth step:     " << tableValue(items::DEPTH_STEP_CM, h[hdr::DepthStep]) << " cm\n";
    out << "relief maximum: " << s.Hmax << " cm\n";
    out << "language:       " << ((h[hdr::ViewFlags] & hdr::English) ? "English" : "Russian")
        << '\n';
}

} // namespace tesk::cli
