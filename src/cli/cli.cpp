#include "cli/cli.h"

#include "commands/file_commands.h"
#include "display/radargram.h"
#include "store/settings_catalog.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace tesk {

namespace {

const char* HELP =
    "Usage: tesk-cli COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  info FILE               print the kind, generation, frame count, number of\n"
    "                          profiles, recording date and main settings of a survey\n"
    "  convert IN OUT.gem      open IN (no append) and write OUT as a work file;\n"
    "                          IN may be a work file (.gem), a device recording\n"
    "                          (.geo) or a device-family file (.mr3, .gpr, .geb)\n"
    "      --force             overwrite OUT if it exists\n"
    "  render IN OUT.png       draw the radargram as the window shows it with the\n"
    "                          survey's stored display and processing settings\n"
    "      --start FRAME       first frame in view (default 0)\n"
    "      --no-overlay        only the 1024 x 512 picture, without frame, scales\n"
    "                          and captions\n"
    "  script RECIPE [-- FILE ...]\n"
    "                          run a recipe against the real window (no display\n"
    "                          needed), once, or once per FILE with $FILE, $DIR and\n"
    "                          $STEM replaced; see README.md for the commands\n"
    "  --help                  this text\n"
    "\n"
    "Messages are printed to standard error in English. No command ever waits for\n"
    "input: every question gets its non-destructive answer. An existing output\n"
    "file is not overwritten (answer No) unless --force is given; the question to\n"
    "raise the relief maximum is answered No, keeping the current maximum; a\n"
    "device recording's frame of implausible amplitude is kept as recorded (No)\n"
    "unless --replace-implausible is given (Yes: replaced by its neighbour).\n"
    "Exit status: 0 done, 1 a file could not be read or written or a warning was\n"
    "shown (for a recipe: a command failed), 2 wrong usage (for a recipe: an\n"
    "unknown command or control, a bad line, or a question with no queued answer).\n";

// Prints every message in English and answers questions without harm.
class BatchInteraction final : public Interaction {
  public:
    BatchInteraction(std::ostream& err, bool force, bool replace)
        : err_(err), force_(force), replace_(replace) {}
    Answer show(const Message& m) override {
        std::string t = m.en;
        for (auto& c : t)
            if (c == '\r') c = '\n';
        err_ << t << '\n';
        if (m.buttons == Buttons::Ok) {
            ++problems;
            return Answer::Ok;
        }
        // The overwrite question is the only one a batch run may answer Yes.
        const bool overwrite = m.en.find("already exists. Overwrite?") != std::string::npos;
        if (overwrite && force_) return Answer::Yes;
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
    int problems = 0;

  private:
    std::ostream& err_;
    bool force_;
    bool replace_;
};

std::string kindName(uint8_t k) {
    switch (k) {
    case kind::DeviceRecording:
        return "device recording (.geo)";
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

int lastInProfile(const ProfileStore& s) {
    for (int i = s.frameCount; i >= 0; --i)
        if (s.frame(i).inProfile()) return i;
    return -1;
}

template <typename T, std::size_t N> std::string tableValue(const std::array<T, N>& t, int i) {
    if (i < 0 || i >= int(N)) return "?";
    std::ostringstream o;
    o << t[std::size_t(i)];
    return o.str();
}

void printInfo(const ProfileStore& s, const std::string& path, std::ostream& out) {
    const auto& h = s.header.value;
    const int gen = (s.fileKind >= 7 && s.fileKind <= 16) ? s.fileKind : 0;
    out << "file:           " << path << '\n';
    out << "kind:           " << kindName(s.fileKind) << '\n';
    if (gen) out << "generation:     " << gen << '\n';
    out << "frames:         " << (lastInProfile(s) + 1) << " (frame count " << s.frameCount
        << ")\n";
    out << "profiles:       " << countProfiles(s) << '\n';
    out << "recorded:       " << std::setfill('0') << std::setw(2) << int(h[hdr::Day]) << '.'
        << std::setw(2) << int(h[hdr::Month]) << '.' << std::setw(2) << int(h[hdr::Year]) << ' '
        << std::setw(2) << int(h[hdr::Hour]) << ':' << std::setw(2) << int(h[hdr::Minute])
        << std::setfill(' ') << '\n';
    out << "device type:    " << int(s.deviceType) << '\n';
    out << "time range:     " << tableValue(items::TIME_RANGE_NS, h[hdr::TimeRange]) << " ns\n";
    out << "profile step:   " << tableValue(items::STEP_CM, h[hdr::Step]) << " cm\n";
    out << "velocity:       " << std::fixed << std::setprecision(2) << s.velocityCode / 100.0
        << " cm/ns (permittivity " << s.permittivity << ")\n";
    out << "antenna gap:    " << tableValue(items::ANTENNA_CM, h[hdr::Antenna]) << " cm\n";
    out << "depth step:     " << tableValue(items::DEPTH_STEP_CM, h[hdr::DepthStep]) << " cm\n";
    out << "relief maximum: " << s.Hmax << " cm\n";
    out << "language:       " << ((h[hdr::ViewFlags] & hdr::English) ? "English" : "Russian")
        << '\n';
}

// Text on images needs the toolkit's font machinery; no display is used.
void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("XDG_RUNTIME_DIR").isEmpty()) {
        // The toolkit wants a private runtime directory; batch runs often have none.
        const QByteArray dir =
            QDir::tempPath().toUtf8() + "/tesk-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    static int argc = 1;
    static char name[] = "tesk-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

int render(ProfileStore& store, const ViewState& view, const std::string& out, int start,
           bool overlay, std::ostream& err) {
    ensureGuiApplication();
    store.viewStart = std::clamp(start, 0, std::min<int>(store.frameCount, MAX_VIEW_START));
    static Radargram r; // large raster: one for the run
    r.loadSettings(store);
    GRAF(r, store, processingFromHeader(store.header), view.ViewOrigin);
    QImage image;
    if (overlay) {
        DrawView(r.overlay, store, view, overlaySettingsFromHeader(store));
        image = r.picture.copy();
        QPainter p(&image);
        p.drawImage(0, 0, r.overlay);
    } else {
        image = r.picture.copy(view.ViewOrigin.x, view.ViewOrigin.y, 2 * VIEW_FRAMES, 512);
    }
    QSaveFile file(QString::fromStdString(out));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        err << "ERROR of creation of a file!\n";
        return 1;
    }
    return 0;
}

// Opens a survey without append and takes the steps after the open, as the
// window does, into view. A file that holds no frames (an options file,
// which only changes the settings of a survey already on screen) is said to
// be no survey rather than failing without a word.
bool openForBatch(ProfileStore& store, ViewState& view, const std::string& path,
                  BatchInteraction& ui, std::ostream& err) {
    const OpenResult r = openSurveyFile(store, path, false, ui);
    if (afterOpen(store, r, path, view).framesLoaded) return true;
    if (r.outcome != OpenOutcome::Refused)
        err << "tesk-cli: " << path << " holds no survey; an options file (.opt) only applies "
            << "to a survey already open\n";
    return false;
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << HELP;
        return args.empty() ? 2 : 0;
    }
    const std::string& cmd = args[0];
    std::vector<std::string> rest;
    bool force = false;
    bool replace = false;
    bool overlay = true;
    int start = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--force") {
            force = true;
        } else if (args[i] == "--replace-implausible") {
            replace = true;
        } else if (args[i] == "--no-overlay") {
            overlay = false;
        } else if (args[i] == "--start" && i + 1 < args.size()) {
            try {
                start = std::stoi(args[++i]);
            } catch (...) {
                err << "tesk-cli: --start needs a frame number\n";
                return 2;
            }
        } else {
            rest.push_back(args[i]);
        }
    }
    // One store for the whole run, as in the window.
    static ProfileStore store;
    ViewState view;
    BatchInteraction ui(err, force, replace);
    if (cmd == "info" && rest.size() == 1) {
        if (!openForBatch(store, view, rest[0], ui, err)) return 1;
        printInfo(store, rest[0], out);
        return ui.problems ? 1 : 0;
    }
    if (cmd == "convert" && rest.size() == 2) {
        if (!openForBatch(store, view, rest[0], ui, err)) return 1;
        const SaveResult s = saveSurveyFile(store, rest[1], SaveKind::WorkFile, ui);
        if (!s.written) return 1;
        out << "written " << s.path << '\n';
        return ui.problems ? 1 : 0;
    }
    if (cmd == "render" && rest.size() == 2) {
        if (!openForBatch(store, view, rest[0], ui, err)) return 1;
        const int status = render(store, view, rest[1], start, overlay, err);
        return status ? status : (ui.problems ? 1 : 0);
    }
    err << "tesk-cli: unknown command or wrong arguments: " << cmd << "\n\n" << HELP;
    return 2;
}

} // namespace tesk
