#include "demo_survey.h"

#include "store/atomic_file.h"
#include "store/interaction.h"
#include "store/settings_catalog.h"
#include "store/work_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

namespace tesk::demo {

namespace {

constexpr double PI = std::numbers::pi;

// Amplitude of the direct wave and reference amplitude of a reflector of
// reflectivity 1, in amplitude codes after the recorder's gain.
constexpr double DIRECT_WAVE_CODES = 100;
constexpr double REFLECTOR_CODES = 110;
// Two-way losses and the recorder's gain curve, ns. The gain undoes the
// spreading loss below and most of the attenuation, so that the net decay
// of an event with time is exp(-t / 480 ns): deep events stay visible.
constexpr double ATTENUATION_NS = 120;
constexpr double GAIN_NS = 160;
// Antenna ringing after the direct wave (DemoParams::ringingCodes): the same
// in every frame, so it draws faint horizontal bands (what background
// removal takes away).
constexpr double RINGING_DECAY_NS = 60;

// Ricker wavelet of centre frequency f (GHz) at time tau (ns) from its peak.
double ricker(double fGHz, double tau) {
    const double a = PI * fGHz * tau;
    const double a2 = a * a;
    return (1 - 2 * a2) * std::exp(-a2);
}

// Spreading (1/t), attenuation and the recorder's gain for an event at t ns.
double pathFactor(double t, double tRef) {
    const double tt = std::max(t, tRef);
    const double spreading = tRef / tt;
    const double attenuation = std::exp(-t / ATTENUATION_NS);
    const double gain = (tt / tRef) * std::exp(t / GAIN_NS);
    return spreading * attenuation * gain;
}

// Deterministic generator: SplitMix64, seeded per frame so that every frame's
// noise depends only on the seed and the slot.
class Noise {
  public:
    explicit Noise(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }
    // Sum of four uniforms, scaled to unit variance: close to a Gaussian.
    double gaussian() {
        const double s = uniform() + uniform() + uniform() + uniform() - 2.0;
        return s * std::sqrt(3.0);
    }

  private:
    uint64_t state_;
};

class Trace {
  public:
    Trace(double dt, double fGHz) : dt_(dt), f_(fGHz), halfWidth_(2.5 / fGHz) {}
    void clear() { a_.fill(0.0); }
    // Adds a wavelet of amplitude amp (codes) whose peak lies at time t ns.
    void addWavelet(double t, double amp) {
        const int k0 = std::max(0, int(std::ceil((t - halfWidth_) / dt_)));
        const int k1 = std::min(SAMPLES_PER_FRAME - 1, int(std::floor((t + halfWidth_) / dt_)));
        for (int k = k0; k <= k1; ++k) a_[k] += amp * ricker(f_, k * dt_ - t);
    }
    double& operator[](int k) { return a_[k]; }

  private:
    std::array<double, SAMPLES_PER_FRAME> a_{};
    double dt_;
    double f_;
    double halfWidth_;
};

// Two-way antenna pattern for a ray at angle theta off vertical, from cos theta.
double beam(double cosTheta) {
    const double c2 = cosTheta * cosTheta;
    return c2 * c2;
}

uint8_t toCode(double a) {
    const long c = std::lround(128.0 + a);
    return uint8_t(std::clamp(c, 1L, 255L));
}

// Marker level of the k-th mark along a profile (k >= 1): every fourth mark
// red (3), every second blue (2), the others black (1).
int markLevel(int k) {
    if (k % 4 == 0) return 3;
    if (k % 2 == 0) return 2;
    return 1;
}

} // namespace

DemoParams defaultParams() {
    DemoParams p;
    // Lines at y = 0, 100 and 200 cm; profiles 0 .. 1995 cm long.
    p.diffractors = {
        {450, 0, 200, 0.9},    // stone under line 1, apex 40 ns
        {1500, 100, 600, 0.8}, // under line 2, apex 120 ns
        {900, 200, 700, 0.9},  // under line 3, apex 140 ns
        {1650, 150, 350, 0.7}, // between lines 2 and 3, seen on both
        {250, 0, 1100, 0.8},   // under line 1, apex 220 ns
        {350, 100, 1800, 1.0}, // deep, under line 2, apex 360 ns
    };
    // A pipe 2.5 m deep crossing the lines at x = 1000, 1150 and 1300 cm.
    p.pipes = {{1000, 1.5, 250, 0.8}};
    p.layers = {
        {380, 0.02, 0.05, 25, 900, 0.4, 0.35},   // 73 .. 89 ns
        {900, -0.03, 0.10, 40, 1500, 1.3, -0.4}, // 164 .. 196 ns
        {1600, 0.05, -0.05, 60, 2600, 2.6, 0.5}, // 315 .. 348 ns
    };
    return p;
}

DemoParams gatherParams() {
    DemoParams p;
    p.profiles = 1;
    p.framesPerProfile = 240;
    p.commonMidpoint = true;
    p.antennaItem = 5;   // 50 cm at the first frame, 2 cm more per frame
    p.stepItem = 0;      // 1 cm: each antenna moves 1 cm per frame
    p.timeRangeItem = 1; // 0.5 ns per sample
    p.velocityItem = 14; // Vgr 4.00 cm/ns
    p.reliefWave1 = 0;
    p.reliefWave2 = 0;
    p.layers = {
        {200, 0, 0, 0, 1, 0, 0.9},
        {320, 0, 0, 0, 1, 0, -0.7},
        {450, 0, 0, 0, 1, 0, 0.8},
    };
    return p;
}

std::string validate(const DemoParams& p) {
    if (p.profiles < 1 || p.profiles > 100) return "profiles must be 1 .. 100";
    if (p.framesPerProfile < 10 || p.framesPerProfile > 20000)
        return "frames per profile must be 10 .. 20000";
    if (p.gapFrames < 1 || p.gapFrames > 1000)
        return "blank frames between profiles must be 1 .. 1000";
    const long long last =
        (long long)(p.profiles - 1) * (p.framesPerProfile + p.gapFrames) + p.framesPerProfile;
    if (last > MAX_LOADED_FRAME - 40) return "the profiles do not fit into the survey store";
    if (p.timeRangeItem >= items::TimeRange || p.stepItem >= items::Step || p.velocityItem < 1 ||
        p.velocityItem >= items::Velocity || p.depthStepItem >= items::DepthStep ||
        p.antennaItem >= items::Antenna)
        return "recording settings out of range";
    if (!(p.noise >= 0 && p.noise <= 50)) return "noise must be 0 .. 50 codes";
    // Keep the wavelet well sampled: at least five samples per period.
    if (!(p.centreFrequencyMHz > 0 && p.centreFrequencyMHz * 5 <= 1000 / nsPerSample(p)))
        return "centre frequency too high for the sampling interval";
    if (p.meanGround - p.reliefWave1 - p.reliefWave2 < 0) return "ground below the datum";
    return {};
}

double vgr(const DemoParams& p) {
    return VELOCITY_TABLE[p.velocityItem] / 100.0;
}
double stepCm(const DemoParams& p) {
    return items::STEP_CM[p.stepItem];
}
double nsPerSample(const DemoParams& p) {
    return items::NS_PER_SAMPLE[p.timeRangeItem];
}

double antennaCm(const DemoParams& p) {
    return items::ANTENNA_CM[p.antennaItem];
}

double separationCm(const DemoParams& p, int frameInProfile) {
    return antennaCm(p) + (p.commonMidpoint ? 2 * stepCm(p) * frameInProfile : 0.0);
}

double reflectionTimeNs(const DemoParams& p, double depth, double separation) {
    const double half = separation / 2;
    return std::sqrt(half * half + depth * depth) / vgr(p) - separation / 30;
}

int firstSlot(const DemoParams& p, int profile) {
    return profile * (p.framesPerProfile + p.gapFrames);
}

double groundHeight(const DemoParams& p, double x, double y) {
    return p.meanGround + p.reliefWave1 * std::sin(2 * PI * (x / 2500 + y / 4000) + 0.7) +
           p.reliefWave2 * std::sin(2 * PI * x / 900 + y / 300 + 2.0);
}

double layerDepth(const Layer& l, double x, double y) {
    return l.depth + l.dipX * x + l.dipY * y +
           l.waveHeight * std::sin(2 * PI * x / l.waveLength + l.wavePhase);
}

void fillDemoSurvey(ProfileStore& store, const DemoParams& p) {
    store.reset();
    auto& h = store.header;
    h.value[hdr::Day] = p.day;
    h.value[hdr::Month] = p.month;
    h.value[hdr::Year] = p.year;
    h.value[hdr::Hour] = p.hour;
    h.value[hdr::Minute] = p.minute;
    h.value[hdr::TimeRange] = p.timeRangeItem;
    h.value[hdr::Step] = p.stepItem;
    h.value[hdr::VelocityIndex] = p.velocityItem;
    store.setVelocity(VELOCITY_TABLE[p.velocityItem]);
    h.value[hdr::Antenna] = p.antennaItem; // 0: zero-offset travel times
    h.value[hdr::DepthStep] = p.depthStepItem;
    // Positions are rectangular coordinates; the survey opens in English.
    h.value[hdr::CoordFlags] &= uint8_t(~hdr::Geographic);
    h.value[hdr::ViewFlags] |= hdr::English;

    const double v = vgr(p);
    const double dt = nsPerSample(p);
    const double step = stepCm(p);
    const double fGHz = p.centreFrequencyMHz / 1000;
    const double tRef = p.directWaveNs;

    // Ringing and the noise envelope are the same for every frame.
    std::array<double, SAMPLES_PER_FRAME> ringing{};
    std::array<double, SAMPLES_PER_FRAME> noiseRms{};
    for (int k = 0; k < SAMPLES_PER_FRAME; ++k) {
        const double t = k * dt;
        const double s = t - tRef;
        if (s > 0)
            ringing[k] = p.ringingCodes * (1 - std::exp(-s / 5)) * std::exp(-s / RINGING_DECAY_NS) *
                         std::sin(2 * PI * fGHz * s);
        // The gain lifts the background noise toward late times.
        noiseRms[k] = p.noise * (1 + 1.5 * t / (SAMPLES_PER_FRAME * dt));
    }

    Trace trace(dt, fGHz);
    const int startSecond = p.hour * 3600 + p.minute * 60;
    const double profileSeconds = p.framesPerProfile * p.frameIntervalS + p.turnPauseS;
    uint32_t hmax = 0;
    int lastSlot = 0;

    for (int prof = 0; prof < p.profiles; ++prof) {
        const double y = prof * p.lineSpacing;
        for (int i = 0; i < p.framesPerProfile; ++i) {
            const int slot = firstSlot(p, prof) + i;
            const double x = i * step;
            // Midpoint between the antennas and their separation; a gather
            // stays over x = 0 while the antennas move apart.
            const double mid = p.commonMidpoint ? 0.0 : x;
            const double sep = separationCm(p, i);
            const double half = sep / 2;
            const double airWave = sep / 30;
            const double ground = groundHeight(p, mid, y);
            const double above = ground - p.meanGround; // antenna above the mean level

            trace.clear();
            // Direct wave; its strength follows the antenna's coupling to the ground.
            const double coupling = 1 + 0.05 * std::sin(2 * PI * x / 700 + y / 150);
            // A gather counts time from the air wave and its receiver stands
            // apart from the transmitter: no ringing reaches it.
            trace.addWavelet(p.commonMidpoint ? 0.0 : tRef, DIRECT_WAVE_CODES * coupling);
            if (!p.commonMidpoint)
                for (int k = 0; k < SAMPLES_PER_FRAME; ++k) trace[k] += ringing[k];

            // Point objects: antenna pattern cos^4 of the angle off vertical.
            // The ray runs down from the transmitter at mid - half and up to
            // the receiver at mid + half.
            for (const PointDiffractor& d : p.diffractors) {
                const double dz = d.depth + above;
                const double dx1 = mid - half - d.x, dx2 = mid + half - d.x;
                const double r1 = std::sqrt(dz * dz + dx1 * dx1 + (y - d.y) * (y - d.y));
                const double r2 = std::sqrt(dz * dz + dx2 * dx2 + (y - d.y) * (y - d.y));
                const double t = (r1 + r2) / (2 * v) - airWave;
                const double c = 2 * dz / (r1 + r2);
                trace.addWavelet(t,
                                 d.reflectivity * REFLECTOR_CODES * beam(c) * pathFactor(t, tRef));
            }
            // Pipes: the nearest point of the pipe lies across it, in the
            // vertical plane perpendicular to the pipe.
            for (const Pipe& pipe : p.pipes) {
                const double cosA = 1 / std::sqrt(1 + pipe.slope * pipe.slope);
                const double across = (mid - (pipe.x + pipe.slope * y)) * cosA;
                const double dz = pipe.depth + above;
                const double r = std::sqrt(dz * dz + across * across + half * half);
                const double t = r / v - airWave;
                const double c = dz / r;
                trace.addWavelet(t, pipe.reflectivity * REFLECTOR_CODES * beam(c) *
                                        pathFactor(t, tRef));
            }
            // Layer boundaries: reflection on gently dipping interfaces under
            // the midpoint.
            for (const Layer& l : p.layers) {
                const double dz = layerDepth(l, mid, y) + above;
                const double r = half == 0 ? dz : std::sqrt(dz * dz + half * half);
                const double t = r / v - airWave;
                trace.addWavelet(t, l.reflectivity * REFLECTOR_CODES * beam(dz / r) *
                                        pathFactor(t, tRef));
            }

            Noise noise(p.seed ^ (uint64_t(slot) * 0xD1B54A32D192ED03ull));
            FrameRecord& f = store.frame(slot);
            for (int k = 0; k < SAMPLES_PER_FRAME; ++k)
                f.value[k] = toCode(trace[k] + noiseRms[k] * noise.gaussian());
            f.fillRowsFromLastSample();

            // Operator's marks every markerSpacing along the profile.
            const double pos = x / p.markerSpacing;
            const int mark = int(std::lround(pos));
            if (mark >= 1 && std::abs(x - mark * p.markerSpacing) < step / 2)
                f.value[cell::Status] = uint8_t(markLevel(mark));

            // Recording time in hundredths of a second.
            const long long hs =
                std::llround((startSecond + prof * profileSeconds + i * p.frameIntervalS) * 100.0);
            f.value[cell::Hour] = uint8_t((hs / 360000) % 24);
            f.value[cell::Minute] = uint8_t((hs / 6000) % 60);
            f.value[cell::Second] = uint8_t((hs / 100) % 60);
            f.value[cell::Hundredths] = uint8_t(hs % 100);

            f.set16(cell::ProfileNumber, uint32_t(prof + 1));
            const uint32_t relief = uint32_t(std::lround(ground));
            f.set24(cell::ReliefHeight, relief);
            hmax = std::max(hmax, relief);
            f.set32(cell::UcsX, p.originX + uint32_t(std::lround(x)));
            f.set32(cell::UcsY, p.originY + uint32_t(std::lround(y)));
            lastSlot = slot;
        }
    }

    store.frameCount = lastSlot + 1;
    store.finishLoad();
    store.setHmax(hmax);
    store.viewStart = 0;
}

bool writeDemoSurvey(const std::string& path, const DemoParams& p, std::string& error) {
    error = validate(p);
    if (!error.empty()) return false;
    auto store = std::make_unique<ProfileStore>();
    fillDemoSurvey(*store, p);
    auto sink = AtomicFileSink::create(path, error);
    if (!sink) return false;
    SilentInteraction ui;
    if (!writeWorkFile(*sink, *store, ui)) {
        error = sink->lastError().empty() ? "write failed" : sink->lastError();
        return false;
    }
    return sink->commit(error);
}

} // namespace tesk::demo
