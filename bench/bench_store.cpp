// Speed of opening and saving the largest survey the store holds: a
// 64000-frame generation-16 work file (about 40 MB), read from and written to
// the page cache, with the pieces of each pass timed on their own so that the
// cost of every step (clearing, reading, normalising, writing, fsync) shows.
//
// The temporary files go to $TESK_BENCH_DIR when set, else to the system's
// temporary directory; the file system there decides what fsync costs.

#include "commands/file_commands.h"
#include "file_images.h"
#include "store/atomic_file.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tesk;

constexpr int FRAMES = 64000;
// A 64000-frame survey is saved with 64000 records: 512 + 64000 x 624 bytes.
constexpr std::size_t FILE_BYTES = 512 + std::size_t(FRAMES) * CELLS_PER_FRAME;
// The reader takes at most 63999 records of a file.
constexpr int RECORDS_READ = 63999;

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "tesk_bench_store: %s\n", what.c_str());
    std::exit(1);
}

class MemorySink final : public ByteSink {
  public:
    bool write(const uint8_t* data, std::size_t n) override {
        bytes.insert(bytes.end(), data, data + n);
        return true;
    }
    std::vector<uint8_t> bytes;
};

// A survey of ten profiles of about 6400 frames each, with a few blank
// frames between them, that reaches the last slot a loader fills: direct
// wave, a sloping reflector, a diffraction hyperbola, noise; markers, relief,
// boundaries and coordinates on every frame.
void fillSurvey(ProfileStore& s) {
    s.reset();
    images::Lcg rng{12345}; // deterministic noise for the samples
    for (int i = 0; i < FRAMES; ++i) {
        FrameRecord& f = s.frame(i);
        const int inProfile = i % 6400;
        const bool gap = inProfile >= 6390 && i < 63990;
        if (gap) continue;
        const int reflector = 120 + (inProfile / 40) % 200;
        const int dx = inProfile % 800 - 400;
        const int hyperbola = 260 + int(std::sqrt(double(dx * dx) + 900.0) / 2.0);
        for (int t = 0; t < SAMPLES_PER_FRAME; ++t) {
            int v = 128;
            if (t >= 10 && t < 30) v += ((t / 4) % 2 ? 100 : -100);
            if (t >= reflector && t < reflector + 10) v += ((t / 3) % 2 ? 60 : -60);
            if (t >= hyperbola && t < hyperbola + 8) v += ((t / 2) % 2 ? 40 : -40);
            v += (rng.next(17) - 8) * (1 + t / 128);
            f.value[std::size_t(t)] = uint8_t(v < 1 ? 1 : (v > 255 ? 255 : v));
        }
        f.fillRowsFromLastSample();
        f.value[cell::Status] = uint8_t(inProfile % 500 == 0 ? 1 : 0);
        f.value[cell::Hour] = uint8_t(10 + i / 36000);
        f.value[cell::Minute] = uint8_t(i / 600 % 60);
        f.value[cell::Second] = uint8_t(i / 10 % 60);
        f.value[cell::Hundredths] = uint8_t(i % 10 * 10);
        f.set16(cell::ProfileNumber, uint32_t(i / 6400 + 1));
        f.set24(cell::ReliefHeight, uint32_t(15000 + (inProfile * 7) % 900));
        for (int k = 0; k < 7; ++k) f.set16(cell::Boundary1 + 2 * k, uint32_t(60 + 60 * k));
        f.set32(cell::UcsX, uint32_t(100000 + inProfile * 5));
        f.set32(cell::UcsY, uint32_t(200000 + (i / 6400) * 100));
        f.value[cell::LonDegrees] = 37;
        f.set24(cell::LonFraction, uint32_t(6170000 + inProfile));
        f.value[cell::LatDegrees] = 55;
        f.set24(cell::LatFraction, uint32_t(7550000 + (i / 6400) * 10));
        f.set24(cell::FixTime, uint32_t(36000 + i / 10));
    }
    s.frameCount = RECORDS_READ;
    s.finishLoad();
    if (s.frameCount != FRAMES) die("survey does not reach the last slot");
}

// One store for the whole run (about 80 MB), the temporary directory and the
// 64000-frame work file written once.
struct World {
    ProfileStore store;
    std::filesystem::path dir;
    std::string gemPath;
    std::string savePath;
    bool loaded = false; // the store holds the file (a benchmark may clear it)

    World() {
        const char* base = std::getenv("TESK_BENCH_DIR");
        const std::filesystem::path parent =
            (base && *base) ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "tesk-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) die("cannot create a temporary directory");
        dir = pattern;
        gemPath = (dir / "survey64000.gem").string();
        savePath = (dir / "saved64000.gem").string();

        fillSurvey(store);
        SilentInteraction yes(Answer::Yes);
        const SaveResult r = saveSurveyFile(store, gemPath, SaveKind::WorkFile, yes);
        if (!r.written) die("cannot write " + gemPath);
        if (std::filesystem::file_size(gemPath) != FILE_BYTES) die("unexpected file size");
        ensureLoaded(); // also brings the file into the page cache
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    void ensureLoaded() {
        if (loaded) return;
        SilentInteraction no;
        const OpenResult r = openSurveyFile(store, gemPath, false, no);
        if (r.outcome != OpenOutcome::FramesLoaded || r.report.framesRead != RECORDS_READ)
            die("cannot open " + gemPath);
        loaded = true;
    }
};

World& world() {
    static World w;
    return w;
}

// --- open ------------------------------------------------------------------

// The open command on a .gem file: FileSource, magic, version byte,
// clearForOpen, readWorkFile, finishLoad, captions.
void BM_OpenWorkFile64000(benchmark::State& state) {
    World& w = world();
    SilentInteraction no;
    for (auto _ : state) {
        const OpenResult r = openSurveyFile(w.store, w.gemPath, false, no);
        if (r.report.framesRead != RECORDS_READ) state.SkipWithError("short read");
        benchmark::DoNotOptimize(w.store.frame(1000).value[100]);
    }
    w.loaded = true;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_OpenWorkFile64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The clearing step of an open alone: slots 0..51000, value and work bytes.
void BM_ClearForOpen(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        w.store.clearForOpen(false);
        benchmark::ClobberMemory();
    }
    w.loaded = false;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sizeof(FrameRecord)) *
                            (CLEARED_ON_OPEN + 1));
}
BENCHMARK(BM_ClearForOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reader alone, from the file (page cache), without clearing or normalising.
void BM_ReadWorkFileFromFile64000(benchmark::State& state) {
    World& w = world();
    SilentInteraction no;
    const Generation gen = *generationForVersion(CURRENT_FORMAT_VERSION);
    for (auto _ : state) {
        auto src = FileSource::open(w.gemPath);
        const LoadReport l = readWorkFile(*src, gen, false, w.store, no);
        if (l.framesRead != RECORDS_READ) state.SkipWithError("short read");
    }
    w.loaded = false; // frameCount is left as the reader sets it, before finishLoad
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_ReadWorkFileFromFile64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reader alone from memory: what is left when the file system is out.
void BM_ReadWorkFileFromMemory64000(benchmark::State& state) {
    World& w = world();
    std::vector<uint8_t> image(FILE_BYTES);
    {
        auto src = FileSource::open(w.gemPath);
        if (src->read(0, image.data(), image.size()) != image.size()) die("short read");
    }
    SilentInteraction no;
    const Generation gen = *generationForVersion(CURRENT_FORMAT_VERSION);
    for (auto _ : state) {
        MemorySource src(image);
        const LoadReport l = readWorkFile(src, gen, false, w.store, no);
        if (l.framesRead != RECORDS_READ) state.SkipWithError("short read");
    }
    w.loaded = false;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_ReadWorkFileFromMemory64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Positioned reads of the whole file in 1 MB blocks from the page cache.
void BM_PreadFile64000(benchmark::State& state) {
    World& w = world();
    std::vector<uint8_t> block(1 << 20);
    for (auto _ : state) {
        auto src = FileSource::open(w.gemPath);
        uint64_t off = 0;
        std::size_t got;
        while ((got = src->read(off, block.data(), block.size())) > 0) off += got;
        if (off != FILE_BYTES) state.SkipWithError("short read");
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_PreadFile64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The normalisation pass alone over a freshly read 64000-frame survey.
void BM_FinishLoad64000(benchmark::State& state) {
    World& w = world();
    w.ensureLoaded();
    for (auto _ : state) {
        w.store.frameCount = RECORDS_READ + 10; // as the reader leaves it
        w.store.finishLoad();
        benchmark::DoNotOptimize(w.store.frameCount);
    }
    if (w.store.frameCount != FRAMES) state.SkipWithError("unexpected frameCount");
}
BENCHMARK(BM_FinishLoad64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- save ------------------------------------------------------------------

// The save command: overwrite question (answered Yes), temporary file,
// writeWorkFile, fsync, rename over the previous file.
void BM_SaveWorkFile64000(benchmark::State& state) {
    World& w = world();
    w.ensureLoaded();
    SilentInteraction yes(Answer::Yes);
    for (auto _ : state) {
        const SaveResult r = saveSurveyFile(w.store, w.savePath, SaveKind::WorkFile, yes);
        if (!r.written) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_SaveWorkFile64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes into a temporary file that is never committed: no fsync, no
// rename; the file is unlinked when the sink goes away (inside the timing).
void BM_WriteWorkFileNoCommit64000(benchmark::State& state) {
    World& w = world();
    w.ensureLoaded();
    SilentInteraction no;
    for (auto _ : state) {
        std::string error;
        auto sink = AtomicFileSink::create(w.savePath, error);
        if (!sink || !writeWorkFile(*sink, w.store, no)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_WriteWorkFileNoCommit64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The writer alone into memory (capacity kept between iterations).
void BM_WriteWorkFileMemory64000(benchmark::State& state) {
    World& w = world();
    w.ensureLoaded();
    SilentInteraction no;
    MemorySink sink;
    sink.bytes.reserve(FILE_BYTES);
    for (auto _ : state) {
        sink.bytes.clear();
        if (!writeWorkFile(sink, w.store, no)) state.SkipWithError("write failed");
        benchmark::DoNotOptimize(sink.bytes.data());
    }
    if (sink.bytes.size() != FILE_BYTES) state.SkipWithError("unexpected size");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_WriteWorkFileMemory64000)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- scale -----------------------------------------------------------------

// One memcpy of as many bytes as the 64000-frame file holds.
void BM_MemcpyReference(benchmark::State& state) {
    std::vector<uint8_t> from(FILE_BYTES, 0x5A);
    std::vector<uint8_t> to(FILE_BYTES, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), FILE_BYTES);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FILE_BYTES));
}
BENCHMARK(BM_MemcpyReference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
