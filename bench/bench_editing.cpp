// Speed of the frame editing commands, the resamplings and undo on surveys
// that fill the store, beside a plain memmove of the same number of bytes.
//
//   build/bin/tesk_bench_editing [--benchmark_filter=Delete]
//
// Every timed iteration starts from the same survey: the value bytes are put
// back outside the timing. The times include recording the step in the
// undo history, which is part of every command; they exclude the redraw.

#include "editing/frame_editing.h"
#include "editing/frame_ops.h"
#include "editing/resampling.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tesk;
using namespace tesk::editing;

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "tesk_bench_editing: %s\n", what.c_str());
    std::exit(1);
}

// Profiles of `profileFrames` frames from slot 0 up to slot `lastFrame`,
// one blank frame between them; samples vary by frame and row, attributes
// are filled as a loader fills them.
void fillSurvey(ProfileStore& s, int lastFrame, int profileFrames) {
    s.reset();
    uint32_t noise = 12345;
    for (int i = 0; i <= lastFrame; ++i) {
        if (i % (profileFrames + 1) == profileFrames) continue;
        FrameRecord& f = s.frame(i);
        for (int t = 0; t < SAMPLES_PER_FRAME; ++t) {
            noise = noise * 1664525u + 1013904223u;
            f.value[std::size_t(t)] = uint8_t(1 + (t * 3 + i + (noise >> 28)) % 255);
        }
        f.fillRowsFromLastSample();
        f.value[cell::Status] = status::InProfile | (i % 500 == 0 ? 1 : 0);
        f.set24(cell::ReliefHeight, uint32_t(15000 + i % 900));
        for (int k = 0; k < 7; ++k) f.set16(cell::Boundary1 + 2 * k, uint32_t(60 + 60 * k));
        f.set32(cell::UcsX, uint32_t(100000 + i * 5));
        f.set24(cell::FixTime, uint32_t(36000 + i / 10));
    }
    s.frameCount = MAX_FRAME_INDEX;
    SdvPrf(s, nullptr);
}

// A survey and a copy of its value bytes to start every iteration from.
struct Survey {
    std::unique_ptr<ProfileStore> store = std::make_unique<ProfileStore>();
    std::vector<uint8_t> values;
    std::array<uint8_t, HEADER_CELLS> header{};
    int frameCount = 0;

    Survey(int lastFrame, int profileFrames) {
        fillSurvey(*store, lastFrame, profileFrames);
        values.resize(std::size_t(FRAME_SLOTS) * CELLS_PER_FRAME);
        for (int i = 0; i < FRAME_SLOTS; ++i)
            std::memcpy(values.data() + std::size_t(i) * CELLS_PER_FRAME,
                        store->frame(i).value.data(), CELLS_PER_FRAME);
        header = store->header.value;
        frameCount = store->frameCount;
    }
    ProfileStore& fresh() {
        for (int i = 0; i < FRAME_SLOTS; ++i)
            std::memcpy(store->frame(i).value.data(),
                        values.data() + std::size_t(i) * CELLS_PER_FRAME, CELLS_PER_FRAME);
        store->header.value = header;
        store->frameCount = frameCount;
        store->stateFlags = 0;
        store->viewStart = 0;
        return *store;
    }
};

// Every frame in a profile up to the last slot (ten profiles of 6399).
Survey& full() {
    static Survey s(MAX_FRAME_INDEX, 6399);
    if (s.frameCount != MAX_FRAME_INDEX) die("the full survey does not reach the last slot");
    return s;
}

// Short enough that 500 more frames fit: frameCount 63440.
Survey& roomFor500() {
    static Survey s(63400, 6399);
    if (s.frameCount + 500 > 63989) die("no room for 500 frames");
    return s;
}

// Profiles of 10000 frames.
Survey& longProfiles() {
    static Survey s(MAX_FRAME_INDEX, 10000);
    return s;
}

EditInputs at(int cursor, int item = 6) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    return in;
}

template <typename Prepare, typename Command>
void run(benchmark::State& state, Survey& survey, Prepare prepare, Command command) {
    SilentInteraction yes(Answer::Yes);
    for (auto _ : state) {
        state.PauseTiming();
        EditTools tools;
        ProfileStore& s = survey.fresh();
        prepare(s, tools, yes);
        state.ResumeTiming();
        command(s, tools, yes);
        benchmark::ClobberMemory();
        state.PauseTiming();
        tools.history.clear(); // freeing the history is not part of the command
        state.ResumeTiming();
    }
}

auto nothing = [](ProfileStore&, EditTools&, Interaction&) {};

void BM_Delete500NearTheStart(benchmark::State& state) {
    run(state, full(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        if (DeleteFrames(s, t, ui, at(100), DeleteRange::Block).outcome != Outcome::Done)
            die("delete refused");
    });
}

void BM_Paste500(benchmark::State& state) {
    run(
        state, roomFor500(),
        [](ProfileStore& s, EditTools& t, Interaction& ui) { copyFrames(s, t, ui, at(20000)); },
        [](ProfileStore& s, EditTools& t, Interaction& ui) {
            if (pasteFrames(s, t, ui, at(100)).outcome != Outcome::Done) die("paste refused");
        });
}

void BM_ShiftRight500(benchmark::State& state) {
    run(state, roomFor500(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        ShiftFramesRight(s, t, ui, at(100));
    });
}

void BM_MirrorProfileOf10000(benchmark::State& state) {
    run(state, longProfiles(), nothing, [](ProfileStore& s, EditTools& t, Interaction&) {
        s.viewStart = 15000; // inside the second profile, 10001..20000
        if (mirrorBlock(s, 0, BlockScope::ViewProfile).size() != 10000) die("not 10000 frames");
        mirrorFrames(s, t, at(0), BlockScope::ViewProfile);
    });
}

void BM_DoubleAlongX(benchmark::State& state) {
    run(state, full(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        resampleX(s, t, ui, at(0), XResampling::Double);
    });
}

void BM_HalveAlongX(benchmark::State& state) {
    run(state, full(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        resampleX(s, t, ui, at(0), XResampling::Halve);
    });
}

void BM_ExpandAlongT(benchmark::State& state) {
    run(state, full(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        resampleT(s, t, ui, TResampling::Expand);
    });
}

void BM_CompressAlongT(benchmark::State& state) {
    run(state, full(), nothing, [](ProfileStore& s, EditTools& t, Interaction& ui) {
        resampleT(s, t, ui, TResampling::Compress);
    });
}

void BM_UndoOfTheDelete(benchmark::State& state) {
    run(
        state, full(),
        [](ProfileStore& s, EditTools& t, Interaction& ui) {
            DeleteFrames(s, t, ui, at(100), DeleteRange::Block);
        },
        [](ProfileStore& s, EditTools& t, Interaction&) {
            if (!t.history.undo(s)) die("nothing to undo");
        });
}

void BM_Renumber(benchmark::State& state) {
    ProfileStore& s = full().fresh();
    for (auto _ : state) {
        s.frameCount = MAX_FRAME_INDEX;
        SdvPrf(s, nullptr);
        benchmark::ClobberMemory();
    }
}

// The same bytes moved by one memmove of a contiguous buffer: the value
// bytes of 63400 frames (what the delete moves), 624 bytes each.
void BM_MemmoveOfTheValueBytes(benchmark::State& state) {
    const std::size_t bytes = std::size_t(63400) * CELLS_PER_FRAME;
    const std::size_t shift = std::size_t(500) * CELLS_PER_FRAME;
    std::vector<uint8_t> buffer(bytes + shift, 1);
    for (auto _ : state) {
        std::memmove(buffer.data(), buffer.data() + shift, bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

// Whole frame records (value and work bytes) moved by one memmove: what a
// move that took the work bytes along would cost.
void BM_MemmoveOfWholeRecords(benchmark::State& state) {
    const std::size_t bytes = std::size_t(63400) * sizeof(FrameRecord);
    const std::size_t shift = std::size_t(500) * sizeof(FrameRecord);
    std::vector<uint8_t> buffer(bytes + shift, 1);
    for (auto _ : state) {
        std::memmove(buffer.data(), buffer.data() + shift, bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

BENCHMARK(BM_Delete500NearTheStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftRight500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorProfileOf10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleAlongX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalveAlongX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAlongT)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressAlongT)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoOfTheDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Renumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmoveOfTheValueBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmoveOfWholeRecords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
