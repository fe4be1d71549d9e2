// The batch front end: the command line read, checked and dispatched to the
// commands library, one survey per run.

#include "cli/cli.h"

#include "cli/cli_internal.h"
#include "commands/export_commands.h"
#include "commands/file_commands.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>

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
    "                          (.geo), a device-family file (.mr3, .gpr, .geb) or a\n"
    "                          SEG-Y file (.sgy, .segy)\n"
    "  render IN OUT           draw the radargram as the window shows it with the\n"
    "                          survey's stored display and processing settings; OUT\n"
    "                          ends in .png, .jpg, .jpeg or .bmp\n"
    "      --start FRAME       first frame in view (default 0)\n"
    "      --no-overlay        only the 1024 x 512 picture, without frame, scales\n"
    "                          and captions\n"
    "      --whole             instead, one overview picture of the whole survey:\n"
    "                          per sample the strongest amplitude of the frames a\n"
    "                          column covers\n"
    "      --width N           columns of the overview (default 2048, at most one\n"
    "                          per frame)\n"
    "  export IN OUT           write OUT as the save command writes its exports,\n"
    "                          with the survey's stored settings:\n"
    "                          .txt a text table (--shift: positions and heights,\n"
    "                          --ctrl: layer boundaries), .bmp the radargram picture\n"
    "                          of the first profile at or after --start FRAME\n"
    "                          (--whole: the whole survey in one picture), .sgy or\n"
    "                          .segy SEG-Y revision 1 (--int16: 16-bit samples)\n"
    "  script RECIPE [-- FILE ...]\n"
    "                          run a recipe against the real window (no display\n"
    "                          needed), once, or once per FILE with $FILE, $DIR and\n"
    "                          $STEM replaced; see README.md for the commands\n"
    "  --help                  this text\n"
    "\n"
    "Options of every command that writes a file:\n"
    "      --force             replace OUT if it exists\n"
    "      --replace-implausible\n"
    "                          replace a device recording's implausible frames\n"
    "\n"
    "Messages are printed to standard error in English. No command ever waits for\n"
    "input: every question gets its non-destructive answer. An existing output\n"
    "file is never overwritten (answer No) unless --force is given; the question to\n"
    "raise the relief maximum is answered No, keeping the current maximum; a\n"
    "device recording's frame of implausible amplitude is kept as recorded (No)\n"
    "unless --replace-implausible is given (Yes: replaced by its neighbour).\n"
    "Exit status: 0 done, 1 a file could not be read or written or a warning was\n"
    "shown (for a recipe: a command failed), 2 wrong usage (for a recipe: an\n"
    "unknown command or control, a bad line, or a question with no queued answer).\n";

struct Command {
    std::size_t files;             // file arguments
    std::set<std::string> options; // options it takes
    const char* usage;
};

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"info", {1, {"--replace-implausible"}, "usage: tesk-cli info FILE\n"}},
        {"convert",
         {2,
          {"--force", "--replace-implausible"},
          "usage: tesk-cli convert IN OUT.gem [--force] [--replace-implausible]\n"}},
        {"render",
         {2,
          {"--force", "--replace-implausible", "--start", "--no-overlay", "--whole", "--width"},
          "usage: tesk-cli render IN OUT.png|.jpg|.bmp [--start FRAME] [--no-overlay] [--force]\n"
          "       tesk-cli render IN OUT.png|.jpg|.bmp --whole [--width N] [--force]\n"}},
        {"export",
         {2,
          {"--force", "--replace-implausible", "--shift", "--ctrl", "--whole", "--start",
           "--int16"},
          "usage: tesk-cli export IN OUT.txt [--shift | --ctrl] [--force]\n"
          "       tesk-cli export IN OUT.bmp [--start FRAME | --whole] [--force]\n"
          "       tesk-cli export IN OUT.sgy|.segy [--int16] [--force]\n"}},
    };
    return table;
}

struct Arguments {
    std::vector<std::string> files;
    std::set<std::string> given;
    int start = 0;
    int width = DEFAULT_OVERVIEW_WIDTH;
    bool has(const char* option) const { return given.count(option) != 0; }
};

// Reads the words after the command; an error names what is wrong.
std::optional<std::string> parse(const std::vector<std::string>& args, Arguments& a) {
    static const std::set<std::string> flags = {
        "--force", "--replace-implausible", "--no-overlay", "--whole", "--shift", "--ctrl",
        "--int16"};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& w = args[i];
        if (w == "--start" || w == "--width") {
            const bool frame = w == "--start";
            const std::string need = frame ? " needs a frame number" : " needs a number of columns";
            if (i + 1 >= args.size()) return w + need;
            std::size_t used = 0;
            int v = 0;
            try {
                v = std::stoi(args[i + 1], &used);
            } catch (...) {
                return w + need;
            }
            if (used != args[i + 1].size() || v < (frame ? 0 : 1)) return w + need;
            (frame ? a.start : a.width) = v;
            a.given.insert(w);
            ++i;
        } else if (flags.count(w)) {
            a.given.insert(w);
        } else if (w.size() > 1 && w[0] == '-') {
            return "unknown option " + w;
        } else {
            a.files.push_back(w);
        }
    }
    return std::nullopt;
}

int usageError(std::ostream& err, const std::string& problem, const Command& c) {
    err << "tesk-cli: " << problem << '\n' << c.usage;
    return 2;
}

// The options a kind of export takes besides --force and --replace-implausible.
std::optional<std::string> exportOptionsFit(const Arguments& a, ExportKind kind) {
    const std::map<std::string, ExportKind> only = {{"--shift", ExportKind::Text},
                                                    {"--ctrl", ExportKind::Text},
                                                    {"--whole", ExportKind::Bitmap},
                                                    {"--start", ExportKind::Bitmap},
                                                    {"--int16", ExportKind::Segy}};
    for (const auto& [option, k] : only)
        if (a.has(option.c_str()) && k != kind) return option + " does not apply to this export";
    if (a.has("--shift") && a.has("--ctrl")) return "--shift and --ctrl select different tables";
    if (a.has("--whole") && a.has("--start")) return "--whole pictures every frame; no --start";
    return std::nullopt;
}

std::optional<std::string> renderOptionsFit(const Arguments& a, const std::string& out) {
    if (cli::pictureFormatFor(out).empty())
        return "unknown picture format: " + out + " (use .png, .jpg, .jpeg or .bmp)";
    if (a.has("--whole") && (a.has("--start") || a.has("--no-overlay")))
        return "--whole draws every frame without the overlay; no --start or --no-overlay";
    if (a.has("--width") && !a.has("--whole")) return "--width is the width of a --whole picture";
    return std::nullopt;
}

int convert(ProfileStore& store, const Arguments& a, cli::BatchInteraction& ui, std::ostream& out,
            std::ostream& err) {
    const SaveResult s = saveSurveyFile(store, a.files[1], SaveKind::WorkFile, ui);
    if (!s.written) {
        if (s.createFailed)
            err << "tesk-cli: cannot create " << s.path << ": " << s.failure << '\n';
        return 1;
    }
    out << "written " << s.path << '\n';
    return ui.problems ? 1 : 0;
}

int exportFile(ProfileStore& store, const Arguments& a, ExportKind kind, cli::BatchInteraction& ui,
               std::ostream& out, std::ostream& err) {
    const std::string& target = a.files[1];
    if (kind == ExportKind::Bitmap && a.has("--start")) {
        const int last = cli::lastFrameWithData(store);
        if (a.start > last) {
            err << "tesk-cli: --start " << a.start
                << " lies beyond the survey: its last frame with data is " << last << '\n';
            return 2;
        }
        store.viewStart = a.start;
    }
    if (kind == ExportKind::Bitmap) cli::ensureGuiApplication();
    BatchExport b;
    b.variant = a.has("--shift")  ? SaveVariant::LeftShift
                : a.has("--ctrl") ? SaveVariant::LeftCtrl
                                  : SaveVariant::Plain;
    b.wholeSurvey = a.has("--whole");
    b.segyFormat = a.has("--int16") ? SegySampleFormat::Int16 : SegySampleFormat::Ieee32;
    std::string failure;
    const ExportResult r = exportSurveyFile(store, target, b, ui, &failure);
    if (!r.written()) {
        if (r.outcome == ExportOutcome::CreateFailed)
            err << "tesk-cli: cannot create " << target << ": " << failure << '\n';
        return 1;
    }
    out << "written " << target << '\n';
    return ui.problems ? 1 : 0;
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << HELP;
        return args.empty() ? 2 : 0;
    }
    const auto found = commands().find(args[0]);
    if (found == commands().end()) {
        err << "tesk-cli: unknown command: " << args[0] << "\n\n" << HELP;
        return 2;
    }
    const std::string& cmd = found->first;
    const Command& c = found->second;
    Arguments a;
    if (const auto problem = parse(args, a)) return usageError(err, *problem, c);
    for (const std::string& option : a.given)
        if (!c.options.count(option)) return usageError(err, cmd + " does not take " + option, c);
    if (a.files.size() != c.files)
        return usageError(err, a.files.size() < c.files ? "missing argument" : "too many arguments",
                          c);

    // Everything that can be checked without the survey is checked first.
    const ExportKind kind = cmd == "export" ? exportKindFor(a.files[1]) : ExportKind::None;
    // The save command would write another name than the one given.
    const std::string& target = a.files.back();
    if (cmd == "convert" &&
        (!endsWithExtension(target, ".gem") || target.compare(target.size() - 4, 4, ".gem") != 0))
        return usageError(err, "convert writes a work file; its name must end in .gem: " + target,
                          c);
    if (cmd == "render")
        if (const auto problem = renderOptionsFit(a, a.files[1]))
            return usageError(err, *problem, c);
    if (cmd == "export") {
        if (kind == ExportKind::None)
            return usageError(
                err, "unknown export: " + a.files[1] + " (use .txt, .bmp, .sgy or .segy)", c);
        if (const auto problem = exportOptionsFit(a, kind)) return usageError(err, *problem, c);
    }

    // One store for the whole run, as in the window.
    static ProfileStore store;
    ViewState view;
    cli::BatchInteraction ui(err, a.has("--force"), a.has("--replace-implausible"));
    // An existing output is kept unless --force says otherwise; asked before
    // a long open.
    if (cmd != "info" && !cli::mayWrite(a.files[1], ui)) return 1;
    if (!cli::openForBatch(store, view, a.files[0], ui, err)) return 1;
    if (cmd == "info") {
        cli::printInfo(store, a.files[0], out);
        return ui.problems ? 1 : 0;
    }
    if (cmd == "convert") return convert(store, a, ui, out, err);
    if (cmd == "export") return exportFile(store, a, kind, ui, out, err);
    cli::RenderRequest r;
    r.out = a.files[1];
    r.start = a.start;
    r.overlay = !a.has("--no-overlay");
    r.whole = a.has("--whole");
    r.width = a.width;
    const int status = cli::render(store, view, r, err);
    return status ? status : (ui.problems ? 1 : 0);
}

} // namespace tesk
