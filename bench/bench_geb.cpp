// Speed of decoding the largest .geb survey the store holds: a file of 64000
// frames (the reader stops at the last loader slot, 63990 frames), read from
// a file in the page cache and from memory. Each case is timed twice: the
// reader alone, and the whole frame-load frame-work around it (clearForOpen,
// the reader, finishLoad).
//
// Cases (all 12-bit, 64000 frames in the file):
//   S1024_f4G_T0.5_pick  1024 samples at 4 GHz onto 0.5 ns cells, mode 0
//   S1024_f4G_T0.5_mean  the same file, mode 1 (two samples averaged per cell)
//   S512_f2G_T0.5        512 samples at 2 GHz onto 0.5 ns cells (one per cell)
//   S256_f1G_T0.25       256 samples at 1 GHz onto 0.25 ns cells (interpolated)
//
// The temporary files go to $TESK_BENCH_DIR when set, else to the system's
// temporary directory. max_rss_MB is the peak resident size of the process
// so far: the store (80 MB) and, for the memory cases, the file image.

#include "file_images.h"
#include "store/byte_source.h"
#include "store/device_family.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace tesk;

constexpr uint32_t FRAMES = 64000;

struct Case {
    const char* name;
    uint32_t samples;
    uint32_t frequency;
    int rangeItem;
    int mode;
};

const Case CASES[] = {
    {"S1024_f4G_T0.5_pick", 1024, 4000000000u, 1, 0},
    {"S1024_f4G_T0.5_mean", 1024, 4000000000u, 1, 1},
    {"S512_f2G_T0.5", 512, 2000000000u, 1, 0},
    {"S256_f1G_T0.25", 256, 1000000000u, 0, 0},
};

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "tesk_bench_geb: %s\n", what.c_str());
    std::exit(1);
}

double maxRssMB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// A survey of 64000 frames: direct wave, a sloping reflector, noise, a
// marker every 100 frames, a time of day on every frame.
std::vector<uint8_t> makeGeb(uint32_t samples, uint32_t frequency) {
    images::GebImage g(samples, frequency, FRAMES);
    g.u8(24, 24); // recorded on 17.05.24
    g.u8(25, 5);
    g.u8(26, 17);
    g.frames(int(FRAMES));
    images::Lcg noise{12345};
    for (uint32_t j = 0; j < FRAMES; ++j) {
        const int f = int(j);
        g.marker(f, j % 100 == 0 ? 1 : 0);
        g.time(f, uint8_t(10 + j / 36000), uint8_t(j / 600 % 60), uint8_t(j / 10 % 60),
               uint8_t(j % 10 * 10));
        const uint32_t reflector = 100 + (j / 50) % (samples / 2);
        for (uint32_t i = 0; i < samples; ++i) {
            int v = 0;
            if (i >= 8 && i < 24) v += ((i / 4) % 2 ? 1800 : -1800);
            if (i >= reflector && i < reflector + 10) v += ((i / 3) % 2 ? 500 : -500);
            v += noise.next(64) - 32;
            g.word(f, int(i), uint16_t(int16_t(v)));
        }
    }
    return std::move(g.b);
}

std::string benchDir() {
    const char* d = std::getenv("TESK_BENCH_DIR");
    return d && *d ? d : std::filesystem::temp_directory_path().string();
}

struct Files {
    std::map<std::string, std::string> paths; // by sample count and frequency
    ~Files() {
        for (auto& [key, path] : paths) {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    }
    const std::string& pathFor(const Case& c) {
        const std::string key = std::to_string(c.samples) + "_" + std::to_string(c.frequency);
        auto it = paths.find(key);
        if (it != paths.end()) return it->second;
        const std::string path = benchDir() + "/tesk_bench_" + key + ".geb";
        if (!images::writeFile(path, makeGeb(c.samples, c.frequency))) die("cannot write " + path);
        // Read it once so that it is in the page cache.
        std::ifstream in(path, std::ios::binary);
        std::vector<char> sink(1 << 20);
        while (in.read(sink.data(), std::streamsize(sink.size())) || in.gcount() > 0) {
        }
        return paths.emplace(key, path).first->second;
    }
};

Files& files() {
    static Files f;
    return f;
}

ProfileStore& store() {
    static ProfileStore* s = new ProfileStore;
    return *s;
}

std::vector<uint8_t>& image(const Case& c) {
    static std::map<std::string, std::vector<uint8_t>> images;
    const std::string key = std::to_string(c.samples) + "_" + std::to_string(c.frequency);
    auto it = images.find(key);
    if (it == images.end()) it = images.emplace(key, makeGeb(c.samples, c.frequency)).first;
    return it->second;
}

LoadReport decode(ByteSource& src, const Case& c) {
    ProfileStore& s = store();
    s.header.value[hdr::TimeRange] = uint8_t(c.rangeItem);
    DeviceOptions o;
    o.samplingModeItem = c.mode;
    SilentInteraction ui;
    return readGebFile(src, false, s, o, ui);
}

void checkLoad(benchmark::State& state, const LoadReport& l) {
    if (l.framesRead != MAX_LOADED_FRAME + 1) state.SkipWithError("not every frame was read");
}

enum class From { File, Memory };

// The reader alone; the store is cleared outside the timed part.
void readerOnly(benchmark::State& state, const Case& c, From from) {
    const std::string* path = from == From::File ? &files().pathFor(c) : nullptr;
    std::vector<uint8_t>* bytes = from == From::Memory ? &image(c) : nullptr;
    for (auto _ : state) {
        store().clearForOpen(false);
        const auto t0 = std::chrono::steady_clock::now();
        LoadReport l;
        if (path) {
            auto src = FileSource::open(*path);
            if (!src) die("cannot open " + *path);
            l = decode(*src, c);
        } else {
            MemorySource src(*bytes);
            l = decode(src, c);
        }
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        checkLoad(state, l);
    }
    state.counters["frames"] = MAX_LOADED_FRAME + 1;
    state.counters["max_rss_MB"] = maxRssMB();
}

// The frame-load frame-work: clearForOpen, the reader, finishLoad.
void wholeOpen(benchmark::State& state, const Case& c, From from) {
    const std::string* path = from == From::File ? &files().pathFor(c) : nullptr;
    std::vector<uint8_t>* bytes = from == From::Memory ? &image(c) : nullptr;
    for (auto _ : state) {
        ProfileStore& s = store();
        LoadReport l;
        if (path) {
            auto src = FileSource::open(*path);
            if (!src) die("cannot open " + *path);
            s.clearForOpen(false);
            l = decode(*src, c);
        } else {
            MemorySource src(*bytes);
            s.clearForOpen(false);
            l = decode(src, c);
        }
        s.finishLoad();
        checkLoad(state, l);
    }
    state.counters["max_rss_MB"] = maxRssMB();
}

// With --benchmark_repetitions, the fastest repetition: on a shared machine
// the least disturbed one.
double fastest(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

void registerAll() {
    // File cases first: their peak resident size holds no file image.
    for (From from : {From::File, From::Memory}) {
        const std::string where = from == From::File ? "File" : "Memory";
        for (const Case& c : CASES) {
            benchmark::RegisterBenchmark(
                ("Geb/" + where + "/Read/" + c.name).c_str(),
                [c, from](benchmark::State& st) { readerOnly(st, c, from); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->MinTime(2.0)
                ->ComputeStatistics("min", fastest);
            benchmark::RegisterBenchmark(
                ("Geb/" + where + "/Open/" + c.name).c_str(),
                [c, from](benchmark::State& st) { wholeOpen(st, c, from); })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(2.0)
                ->ComputeStatistics("min", fastest);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
