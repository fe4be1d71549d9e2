// Speed of the coordinate commands on the largest survey the store holds.
//
//   GpxListAndSync  a GPX track of 14 000 points listed, then synchronised
//                   onto a survey of 63 990 recorded frames (one a second)
//   GpxSync         the synchronisation alone (it reads the file again)
//   Pereschet0      recalculation mode 0, geographic, positions and heights:
//                   16 profiles of 3 990 frames with a GPS fix every 100th
//                   frame, the conversion to UCS and the statistics
//   KorLX           profile correction of 16 profiles of 3 990 frames 20 cm
//                   apart to a 100 cm step
//
// The survey is restored outside the timed part where a command rewrites it.

#include "coordinate_files.h"
#include "coordinates/correction.h"
#include "coordinates/imports.h"
#include "coordinates/recalc.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tesk;

constexpr int FRAMES = 63990;
constexpr int PROFILES = 16;
constexpr int PROFILE_FRAMES = 3990;
constexpr int GAP = 10;

ProfileStore& store() {
    static auto s = std::make_unique<ProfileStore>();
    return *s;
}

void BM_GpxListAndSync(benchmark::State& state) {
    ProfileStore& s = store();
    demo::fillTimedSurvey(s, {FRAMES}, 0);
    const std::string file = demo::longGpxTrack(14000);
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    SilentInteraction ui(Answer::No);
    std::string first;
    for (auto _ : state) {
        const auto listed = coords::readGpxFile(src, s, {}, ui);
        first = listed.trackItems.front();
        const auto r = coords::synchronizeGpx(src, s, coords::GpxPoints::Track, {0, first}, ui);
        benchmark::DoNotOptimize(r.matched);
    }
    state.counters["points"] = 14000;
}
BENCHMARK(BM_GpxListAndSync)->Unit(benchmark::kMillisecond);

void BM_GpxSync(benchmark::State& state) {
    ProfileStore& s = store();
    demo::fillTimedSurvey(s, {FRAMES}, 0);
    const std::string file = demo::longGpxTrack(14000);
    MemorySource src(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    SilentInteraction ui(Answer::No);
    for (auto _ : state) {
        const auto r = coords::synchronizeGpx(src, s, coords::GpxPoints::Track,
                                              {0, "2024-05-14 10:00:00"}, ui);
        benchmark::DoNotOptimize(r.matched);
    }
}
BENCHMARK(BM_GpxSync)->Unit(benchmark::kMillisecond);

std::vector<int> profileRuns() {
    return std::vector<int>(PROFILES, PROFILE_FRAMES);
}

int slotOf(int profile, int k) {
    return profile * (PROFILE_FRAMES + GAP) + k;
}

// Fixes every 100th frame and at both ends of every profile; the frames
// between them without a position.
void setFixes(ProfileStore& s) {
    for (int p = 0; p < PROFILES; ++p)
        for (int k = 0; k < PROFILE_FRAMES; ++k) {
            FrameRecord& f = s.frame(slotOf(p, k));
            const bool fix = k % 100 == 0 || k == PROFILE_FRAMES - 1;
            const int64_t lat = fix ? 557500000 + 5 * k : 0;
            const int64_t lon = fix ? 376000000 + 1000 * p + 3 * k : 0;
            f.value[cell::LatDegrees] = uint8_t(lat / 10000000);
            f.set24(cell::LatFraction, uint32_t(lat % 10000000));
            f.value[cell::LonDegrees] = uint8_t(lon / 10000000);
            f.set24(cell::LonFraction, uint32_t(lon % 10000000));
            f.set24(cell::ReliefHeight, fix ? uint32_t(15000 + k % 300) : 0);
        }
}

void BM_Pereschet0(benchmark::State& state) {
    ProfileStore& s = store();
    demo::fillTimedSurvey(s, profileRuns(), GAP);
    coords::RecalcSettings st;
    st.coordinates = true;
    st.heights = true;
    st.geographic = true;
    SilentInteraction ui(Answer::Yes);
    for (auto _ : state) {
        state.PauseTiming();
        setFixes(s);
        state.ResumeTiming();
        const auto r = coords::Pereschet(s, st, ui);
        benchmark::DoNotOptimize(r.meanProfileStep);
    }
    state.counters["frames"] = double(s.frameCount);
}
BENCHMARK(BM_Pereschet0)->Unit(benchmark::kMillisecond);

void BM_KorLX(benchmark::State& state) {
    ProfileStore& s = store();
    demo::fillTimedSurvey(s, profileRuns(), GAP);
    for (int p = 0; p < PROFILES; ++p)
        for (int k = 0; k < PROFILE_FRAMES; ++k) {
            FrameRecord& f = s.frame(slotOf(p, k));
            f.set32(cell::UcsX, uint32_t(20 * k));
            f.set32(cell::UcsY, uint32_t(1000 * p));
            if (k % 250 == 0) f.value[cell::Status] |= 1;
        }
    const int count = s.frameCount;
    std::vector<std::array<uint8_t, CELLS_PER_FRAME>> pristine(size_t(count) + 1);
    for (int i = 0; i <= count; ++i) pristine[size_t(i)] = s.frame(i).value;
    int out = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i <= count; ++i) s.frame(i).value = pristine[size_t(i)];
        s.frameCount = count;
        state.ResumeTiming();
        // No: the current step, item 14 (100 cm).
        SilentInteraction no(Answer::No);
        const auto r = coords::Kor_LX(s, {20, 14}, no);
        out = r.frameCount;
    }
    state.counters["frames_in"] = double(count);
    state.counters["frame_count_out"] = double(out);
}
BENCHMARK(BM_KorLX)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
