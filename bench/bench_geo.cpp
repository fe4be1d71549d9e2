// Speed of decoding the largest device recording the store takes: 64000
// run-length-coded frame records of a 7-bit unit (model 1, 512 columns of
// 128 rows, about 65 MB), decoded from memory and from a file in the page
// cache; the whole frame load (clearing, decoding, normalising) on its own;
// and, for comparison, raw records with positioning blocks (model 5).
//
// The count field says 63999; the decoder fills slots 0 .. 63989 and stops
// there, as every loader does. The temporary files go to $TESK_BENCH_DIR when
// set, else to the system's temporary directory.

#include "file_images.h"
#include "store/byte_source.h"
#include "store/device_recording.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace tesk;
using Bytes = std::vector<uint8_t>;

constexpr int RECORDS = 64000;
constexpr uint32_t COUNT_FIELD = 63999;
constexpr int LOADED = MAX_LOADED_FRAME + 1; // frames that fit the store

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "tesk_bench_geo: %s\n", what.c_str());
    std::exit(1);
}

using images::GeoFile;
using images::GeoRecord;
using images::Lcg;

// Recorded on 21.04.23 at 11:40; the count field says 63999.
GeoFile recording(uint8_t model) {
    GeoFile f(model, images::GeoDate{21, 4, 23, 11, 40});
    f.count(COUNT_FIELD);
    return f;
}

// The unit clock of frame k: ten frames a second from 11:00:00, in BCD.
GeoRecord withClockOf(GeoRecord r, int frame) {
    const int sec = frame / 10;
    auto bcd = [](int v) { return uint8_t(((v / 10) << 4) | (v % 10)); };
    return r.withClock(bcd(11 + sec / 3600 % 12), bcd(sec / 60 % 60), bcd(sec % 60));
}

// A 7-bit A-scan (amplitudes 1..127 around 64): direct wave, a sloping
// reflector, a diffraction hyperbola and noise, ten profiles of 6400 frames.
void ascan(int frame, Lcg& rng, int (&a)[512]) {
    const int inProfile = frame % 6400;
    const int reflector = 120 + (inProfile / 40) % 200;
    const int dx = inProfile % 800 - 400;
    const int hyperbola = 260 + int(std::sqrt(double(dx * dx) + 900.0) / 2.0);
    for (int t = 0; t < 512; ++t) {
        int v = 64;
        if (t >= 10 && t < 30) v += ((t / 4) % 2 ? 50 : -50);
        if (t >= reflector && t < reflector + 10) v += ((t / 3) % 2 ? 30 : -30);
        if (t >= hyperbola && t < hyperbola + 8) v += ((t / 2) % 2 ? 20 : -20);
        v += (rng.next(9) - 4) * (1 + t / 128);
        a[t] = std::clamp(v, 1, 127);
    }
}

// Model 1, s = 2, run-length: per column the set bits, then the clear ones.
Bytes runLengthFile() {
    GeoFile f = recording(1);
    Lcg rng{4242};
    int a[512];
    for (int k = 0; k < RECORDS; ++k) {
        ascan(k, rng, a);
        const uint8_t mode = uint8_t(0x48 | (k % 500 == 0 ? 0x01 : 0x00));
        f.add(
            withClockOf(GeoRecord(mode, images::runColumns(std::vector<int>(a, a + 512), 128)), k));
    }
    return f.bytes();
}

// Model 5, s = 2, raw samples after a 50-byte positioning text.
Bytes gpsRawFile() {
    GeoFile f = recording(5);
    Lcg rng{4242};
    int a[512];
    for (int k = 0; k < RECORDS; ++k) {
        ascan(k, rng, a);
        char gps[64];
        std::snprintf(gps, sizeof gps, "GPS11%02d%02d5545.%05dN03736.%05dE%05.2fM2104230%d.%02d%d",
                      k / 600 % 60, k / 10 % 60, (12345 + k) % 100000, (54321 + 3 * k) % 100000,
                      10.0 + (k % 5000) * 0.01, k % 10, k % 100, 5 + k % 5);
        f.add(withClockOf(GeoRecord(0x4C, Bytes(a, a + 512)).withGps(std::string(gps, 50)), k));
    }
    return f.bytes();
}

struct World {
    ProfileStore store;
    Bytes rle;
    Bytes gps;
    std::filesystem::path dir;
    std::string rlePath;

    World() : rle(runLengthFile()), gps(gpsRawFile()) {
        const char* base = std::getenv("TESK_BENCH_DIR");
        const std::filesystem::path parent =
            (base && *base) ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "tesk-bench-geo-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) die("cannot create a temporary directory");
        dir = pattern;
        rlePath = (dir / "survey64000.geo").string();
        if (!images::writeFile(rlePath, rle)) die("cannot write " + rlePath);
        // Read once so that the file is in the page cache, and check the decoding.
        check(decodeFile(), "run-length file");
        MemorySource src(gps);
        check(decode(src, false), "positioning file");
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    DeviceRecordingLoad decode(ByteSource& src, bool normalise) {
        SilentInteraction no;
        DeviceCheckLog log;
        if (normalise) store.clearForOpen(false);
        const DeviceRecordingLoad l = readDeviceRecording(src, false, store, no, log);
        if (normalise) store.finishLoad();
        return l;
    }
    DeviceRecordingLoad decodeFile(bool normalise = false) {
        auto src = FileSource::open(rlePath);
        if (!src) die("cannot open " + rlePath);
        return decode(*src, normalise);
    }
    void check(const DeviceRecordingLoad& l, const char* what) {
        if (l.framesRead != LOADED || l.fault != LoadFault::SlotLimit ||
            l.has(LoadWarning::DataError))
            die(std::string(what) + ": unexpected decoding");
    }
};

World& world() {
    static World w;
    return w;
}

void BM_GeoRunLengthFromMemory(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        MemorySource src(w.rle);
        const DeviceRecordingLoad l = w.decode(src, false);
        if (l.framesRead != LOADED) state.SkipWithError("short decode");
        benchmark::DoNotOptimize(w.store.frame(1000).value[100]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(w.rle.size()));
    state.counters["frames"] = LOADED;
}
BENCHMARK(BM_GeoRunLengthFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GeoRunLengthFromFile(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        const DeviceRecordingLoad l = w.decodeFile();
        if (l.framesRead != LOADED) state.SkipWithError("short decode");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(w.rle.size()));
}
BENCHMARK(BM_GeoRunLengthFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the open command will spend: clearForOpen, the decoder, finishLoad.
void BM_GeoRunLengthFrameLoadFromFile(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        const DeviceRecordingLoad l = w.decodeFile(true);
        if (l.framesRead != LOADED) state.SkipWithError("short decode");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(w.rle.size()));
}
BENCHMARK(BM_GeoRunLengthFrameLoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GeoRawWithPositioningFromMemory(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        MemorySource src(w.gps);
        const DeviceRecordingLoad l = w.decode(src, false);
        if (l.framesRead != LOADED) state.SkipWithError("short decode");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(w.gps.size()));
}
BENCHMARK(BM_GeoRawWithPositioningFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
