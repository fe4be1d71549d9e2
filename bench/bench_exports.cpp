// Speed of the exports on the largest survey the store holds (frames
// 0..64000, eight profiles with gaps between): the text table without a key
// (64001 x 512 = 32.8 million lines), the whole-survey overview picture, the
// bitmap of one profile (one screen: 512 frames) and SEG-Y both ways.
//
// The text table and the SEG-Y file are written to a sink that keeps only
// the last block, so the figures are the cost of forming the bytes; writing
// them out is the file system's.

#include "commands/bitmap_export.h"
#include "commands/overview.h"
#include "commands/segy.h"
#include "commands/text_export.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <QFont>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace tesk;

// Deterministic noise for the samples.
struct Lcg {
    uint32_t s = 12345;
    int next(int range) {
        s = s * 1664525u + 1013904223u;
        return int((s >> 16) % unsigned(range));
    }
};

// Frames 0..63989 hold data except a gap of 20 after every 8000th frame;
// a reflection that wanders with the frame number, noise, positions and times.
ProfileStore& survey() {
    static ProfileStore* s = [] {
        auto* p = new ProfileStore;
        Lcg rng;
        for (int f = 0; f <= MAX_LOADED_FRAME; ++f) {
            if (f % 8000 >= 7980) continue;
            FrameRecord& r = p->frame(f);
            const int layer = 200 + (f / 37) % 100;
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j) {
                int v = 128 + rng.next(9) - 4;
                if (j >= layer && j < layer + 4) v += (j % 2 ? 90 : -90);
                r.value[std::size_t(j)] = uint8_t(std::clamp(v, 1, 255));
            }
            r.fillRowsFromLastSample();
            r.value[cell::Hour] = uint8_t(f / 36000 % 24);
            r.value[cell::Minute] = uint8_t(f / 600 % 60);
            r.value[cell::Second] = uint8_t(f / 10 % 60);
            r.value[cell::Hundredths] = uint8_t(f % 10 * 10);
            r.set32(cell::UcsX, uint32_t(250000 + 5 * (f % 8000)));
            r.set32(cell::UcsY, uint32_t(120000 + 100 * (f / 8000)));
            r.set24(cell::ReliefHeight, uint32_t(15000 + f % 300));
        }
        p->frameCount = MAX_LOADED_FRAME;
        p->finishLoad();
        p->header.value[hdr::TimeRange] = 2;
        p->header.value[hdr::LevelTable] = 2;
        return p;
    }();
    return *s;
}

// Keeps nothing but counts; the last block stays readable for a check.
class CountingSink final : public ByteSink {
  public:
    bool write(const uint8_t* data, std::size_t n) override {
        bytes += n;
        last = data[n - 1];
        return true;
    }
    uint64_t bytes = 0;
    uint8_t last = 0;
};

// A sink that copies into one buffer, reused from run to run.
class BufferSink final : public ByteSink {
  public:
    bool write(const uint8_t* data, std::size_t n) override {
        if (used + n > buffer.size()) buffer.resize(used + n);
        std::memcpy(buffer.data() + used, data, n);
        used += n;
        return true;
    }
    std::vector<uint8_t> buffer;
    std::size_t used = 0;
};

void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tesk_bench_exports";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

void TextTablePlain(benchmark::State& state) {
    ProfileStore& s = survey();
    const ExportSettings e = exportSettingsFromStore(s, SaveVariant::Plain, ',');
    SilentInteraction ui;
    uint64_t bytes = 0;
    int64_t lines = 0;
    for (auto _ : state) {
        CountingSink sink;
        const ExportResult r = writeTextTable(sink, s, e, ui);
        if (!r.written()) state.SkipWithError("not written");
        bytes = sink.bytes;
        lines = r.lines;
        benchmark::DoNotOptimize(sink.last);
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    state.counters["lines"] = double(lines);
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(TextTablePlain)->Unit(benchmark::kMillisecond)->Iterations(2);

void WholeSurveyOverview(benchmark::State& state) {
    ProfileStore& s = survey();
    const OverviewSettings o = overviewSettingsFromStore(s, int(state.range(0)));
    for (auto _ : state) {
        QImage image = renderOverview(s, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["frames"] = s.frameCount + 1;
}
BENCHMARK(WholeSurveyOverview)->Arg(2048)->Unit(benchmark::kMillisecond);

void BitmapOfOneProfile(benchmark::State& state) {
    ensureGuiApplication();
    ProfileStore& s = survey();
    BitmapSettings b = bitmapSettingsFromStore(s);
    b.singleFile = false;
    SilentInteraction ui;
    for (auto _ : state) {
        s.viewStart = 8000; // the second profile: one screen of 512 of its frames
        BufferSink sink;
        const ExportResult r = writeBitmap(sink, s, b, ui);
        if (!r.written() || r.width != 1096) state.SkipWithError("not written");
        benchmark::DoNotOptimize(sink.buffer.data());
    }
}
BENCHMARK(BitmapOfOneProfile)->Unit(benchmark::kMillisecond);

BufferSink& segyFile() {
    static BufferSink sink;
    return sink;
}

void SegyExport(benchmark::State& state) {
    ProfileStore& s = survey();
    const SegyWriteOptions o = segyOptionsFromStore(s);
    SilentInteraction ui;
    BufferSink& sink = segyFile();
    for (auto _ : state) {
        sink.used = 0;
        const ExportResult r = writeSegyFile(sink, s, o, ui);
        if (!r.written()) state.SkipWithError("not written");
        state.counters["traces"] = double(r.lines);
    }
    state.SetBytesProcessed(int64_t(sink.used) * state.iterations());
}
BENCHMARK(SegyExport)->Unit(benchmark::kMillisecond);

// The open command's pass: clear the slots, read, normalise.
void SegyImport(benchmark::State& state) {
    BufferSink& file = segyFile();
    if (file.used == 0) {
        SilentInteraction ui;
        writeSegyFile(file, survey(), segyOptionsFromStore(survey()), ui);
    }
    static ProfileStore* into = new ProfileStore;
    SilentInteraction ui;
    for (auto _ : state) {
        MemorySource src(file.buffer.data(), file.used);
        into->clearForOpen(false);
        const SegyLoad l = readSegyFile(src, *into, SegyReadOptions{}, ui);
        into->finishLoad();
        if (l.segyFault != SegyFault::None) state.SkipWithError("fault");
        state.counters["frames"] = l.framesRead;
    }
    state.SetBytesProcessed(int64_t(file.used) * state.iterations());
}
BENCHMARK(SegyImport)->Unit(benchmark::kMillisecond);

// The same pass without the reader: what clearing and normalising cost.
void SegyImportBaseline(benchmark::State& state) {
    static ProfileStore* into = new ProfileStore;
    for (auto _ : state) {
        into->clearForOpen(false);
        into->frameCount = survey().frameCount;
        into->finishLoad();
        benchmark::DoNotOptimize(into->frameCount);
    }
}
BENCHMARK(SegyImportBaseline)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
