// tesk-make-demo: writes a synthetic ground-penetrating-radar survey as a
// work file (.gem, generation 16).
//
//   tesk-make-demo OUTPUT.gem [--profiles N] [--frames N] [--gap N] [--seed N] [--noise CODES]
//
// The survey (default parameters):
//   - 3 parallel profiles of 400 frames, 1 m apart (y = 0, 100, 200 cm), all
//     recorded in the same direction along the rectangular X axis; 10 blank
//     frames (all samples 0) between two profiles. Profile p starts at slot
//     p * 410: the profiles occupy slots 0..399, 410..809 and 820..1219, and
//     the saved frame count is 1240.
//   - Profile step 5 cm (ComboBox12 item 2; profiles 19.95 m long), 512
//     samples per frame over a time range of 512 ns (ComboBox11 item 2,
//     1 ns per sample), antenna distance 0 (zero-offset travel times).
//   - Soil velocity: wave speed 10 cm/ns, relative permittivity 9 (moist
//     soil). In the viewer's convention, depth = Vgr x two-way time with Vgr
//     half the wave speed, so Vgr = 5.00 cm/ns: velocity code 500, ComboBox10
//     item 12. An object at slant distance r arrives at t = 2 r / v = r / Vgr;
//     a point at depth d right under a line draws the hyperbola
//     t(x) = 2 sqrt(d^2 + (x - x0)^2) / v, apex 2 d / v.
//   - Wavelet: Ricker, centre frequency 150 MHz (6.7 samples per period; a
//     512 ns window belongs to a low-frequency antenna, and a higher
//     frequency would be undersampled at 1 ns).
//   - Direct (air and ground) wave at 20 ns in every frame, followed by weak
//     antenna ringing that draws faint horizontal bands.
//   - Point objects (x along the profiles, y across, depth below the mean
//     ground level; apex time on the line right above, before the relief
//     shift of a few ns):
//       x 450 cm,  y 0,   depth 200 cm   ->  40 ns on line 1
//       x 1500 cm, y 100, depth 600 cm   -> 120 ns on line 2
//       x 900 cm,  y 200, depth 700 cm   -> 140 ns on line 3
//       x 1650 cm, y 150, depth 350 cm   -> about 70 ns on lines 2 and 3 (between them)
//       x 250 cm,  y 0,   depth 1100 cm  -> 220 ns on line 1
//       x 350 cm,  y 100, depth 1800 cm  -> 360 ns on line 2
//     Each is also seen, later and weaker, from the neighbouring lines.
//   - A pipe 250 cm deep crossing the lines obliquely, under x = 1000, 1150
//     and 1300 cm of lines 1, 2 and 3 (apex 50 ns on each).
//   - Three layer boundaries, gently dipping and undulating, 3.7..4.6 m
//     (73..89 ns, positive reflection), 8.3..9.6 m (164..196 ns, negative)
//     and 15.7..17.5 m (315..348 ns, positive) below the mean ground level.
//   - Amplitudes: spherical spreading, attenuation and the antenna pattern
//     (cos^4 of the angle off vertical), with a recorder gain that leaves a
//     net decay of exp(-t / 480 ns); pseudo-random background noise of 2
//     codes rms at the top, rising gently with time. Amplitude codes:
//     128 = zero, 1..127 negative, 129..255 positive, never 0 in a profile.
//   - Ground: relief heights about a mean of 150.00 m above the datum, with
//     undulations of 20 cm (25 m wavelength) and 6 cm (9 m); travel times are
//     counted from the antenna on that ground.
//   - Marks every 2.5 m along each profile: at 10 m level 3 (red), at 5 and
//     15 m level 2 (blue), the others level 1 (black).
//   - Rectangular coordinates, cm: X = 2500.00 m + x, Y = 1200.00 m + y.
//   - Recorded on 14.05.24 from 10:15, 10 frames per second, 45 s between
//     profiles; profile numbers 1..3.
// The generator is deterministic: the same parameters and seed give the same file.

#include "demo_survey.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

void usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: tesk-make-demo OUTPUT.gem [--profiles N] [--frames N] [--gap N]\n"
                 "                      [--seed N] [--noise CODES]\n"
                 "Writes a synthetic radar survey of parallel profiles as a work file.\n"
                 "  --profiles N    parallel profiles, 1 m apart (default 3)\n"
                 "  --frames N      frames per profile, 5 cm apart (default 400)\n"
                 "  --gap N         blank frames between profiles (default 10)\n"
                 "  --seed N        seed of the background noise (default %u)\n"
                 "  --noise CODES   rms of the background noise at the top (default 2)\n",
                 unsigned(tesk::demo::DemoParams{}.seed));
}

bool parseLong(const char* s, long long& out) {
    errno = 0;
    char* end = nullptr;
    out = std::strtoll(s, &end, 10);
    return errno == 0 && end != s && *end == '\0';
}

bool parseDouble(const char* s, double& out) {
    errno = 0;
    char* end = nullptr;
    out = std::strtod(s, &end);
    return errno == 0 && end != s && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    tesk::demo::DemoParams p = tesk::demo::defaultParams();
    std::string output;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "-h" || arg == "--help") {
            usage(stdout);
            return 0;
        }
        if (arg.rfind("--", 0) == 0) {
            if (a + 1 >= argc) {
                std::fprintf(stderr, "tesk-make-demo: %s needs a value\n", arg.c_str());
                return 2;
            }
            const char* val = argv[++a];
            long long n = 0;
            double d = 0;
            bool ok = true;
            if (arg == "--profiles") {
                ok = parseLong(val, n) && n > 0 && n < 100000;
                p.profiles = int(n);
            } else if (arg == "--frames") {
                ok = parseLong(val, n) && n > 0 && n < 100000;
                p.framesPerProfile = int(n);
            } else if (arg == "--gap") {
                ok = parseLong(val, n) && n > 0 && n < 100000;
                p.gapFrames = int(n);
            } else if (arg == "--seed") {
                ok = parseLong(val, n) && n >= 0 && n <= 0xFFFFFFFFll;
                p.seed = uint32_t(n);
            } else if (arg == "--noise") {
                ok = parseDouble(val, d);
                p.noise = d;
            } else {
                std::fprintf(stderr, "tesk-make-demo: unknown option %s\n", arg.c_str());
                usage(stderr);
                return 2;
            }
            if (!ok) {
                std::fprintf(stderr, "tesk-make-demo: bad value for %s: %s\n", arg.c_str(), val);
                return 2;
            }
            continue;
        }
        if (!output.empty()) {
            std::fprintf(stderr, "tesk-make-demo: more than one output file given\n");
            return 2;
        }
        output = arg;
    }
    if (output.empty()) {
        usage(stderr);
        return 2;
    }
    const std::string problem = tesk::demo::validate(p);
    if (!problem.empty()) {
        std::fprintf(stderr, "tesk-make-demo: %s\n", problem.c_str());
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(output).parent_path();
    if (!dir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
    }
    std::string error;
    if (!tesk::demo::writeDemoSurvey(output, p, error)) {
        std::fprintf(stderr, "tesk-make-demo: cannot write %s: %s\n", output.c_str(),
                     error.c_str());
        return 1;
    }
    return 0;
}
