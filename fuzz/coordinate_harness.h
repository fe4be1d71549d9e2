#pragma once
// Shared frame of the coordinate-file fuzz targets: one store that lives for
// the whole run with a small survey in it (two profiles of recorded frames,
// markers, heights), restored before every input, and the check that an
// import changed nothing but the cells it may write: the samples, the status
// bytes, the frame count and the other header cells stay as they were.

#include "store/interaction.h"
#include "store/profile_store.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace tesk::fuzzing {

[[noreturn]] inline void fail(const char* target, const char* what, long a = 0, long b = 0) {
    std::fprintf(stderr, "%s: %s (%ld, %ld)\n", target, what, a, b);
    std::abort();
}

// Frames the survey fills; frames from here on start empty.
inline constexpr int SURVEY_SLOTS = 300;

struct CellRange {
    int first, last; // inclusive
};

class Harness {
  public:
    // wholeStore: the reader may write cells of slots past the survey (a .cor
    // line addresses any slot), so restore() empties them again.
    Harness(const char* target, std::vector<CellRange> frameCells,
            std::vector<CellRange> headerCells, bool wholeStore = false)
        : target_(target), frameCells_(std::move(frameCells)), wholeStore_(wholeStore),
          store_(std::make_unique<ProfileStore>()), pristine_(SURVEY_SLOTS) {
        for (const CellRange& r : frameCells_)
            for (int c = r.first; c <= r.last; ++c) frameMask_[size_t(c)] = true;
        for (const CellRange& r : headerCells)
            for (int c = r.first; c <= r.last; ++c) headerMask_[size_t(c)] = true;
        // The runs of cells the reader may not write, for a quick comparison.
        for (int c = 0; c < CELLS_PER_FRAME;) {
            if (frameMask_[size_t(c)]) {
                ++c;
                continue;
            }
            int e = c;
            while (e + 1 < CELLS_PER_FRAME && !frameMask_[size_t(e + 1)]) ++e;
            protected_.push_back({c, e});
            c = e + 1;
        }
        ProfileStore& s = *store_;
        // Runs 0..119 and 130..249, recorded one frame a second from 10:00:00.
        for (int i = 0; i < 250; ++i) {
            if (i >= 120 && i < 130) continue;
            FrameRecord& f = s.frame(i);
            for (int c = 0; c < SAMPLES_PER_FRAME; ++c)
                f.value[size_t(c)] = uint8_t(100 + (c + i) % 50);
            f.fillRowsFromLastSample();
            const int t = 36000 + i;
            f.value[cell::Hour] = uint8_t(t / 3600);
            f.value[cell::Minute] = uint8_t(t / 60 % 60);
            f.value[cell::Second] = uint8_t(t % 60);
            f.set24(cell::ReliefHeight, uint32_t(15000 + i));
        }
        s.frame(40).value[cell::Status] = 2;
        s.frame(170).value[cell::Status] = 3;
        s.frameCount = 250;
        s.finishLoad();
        for (int i = 0; i < SURVEY_SLOTS; ++i) pristine_[size_t(i)] = s.frame(i).value;
        header_ = s.header.value;
        frameCount_ = s.frameCount;
        hmax_ = s.Hmax;
    }

    ProfileStore& store() { return *store_; }

    // Back to the survey as built; slots past it emptied of what an import wrote.
    void restore() {
        ProfileStore& s = *store_;
        for (int i = 0; i < SURVEY_SLOTS; ++i) {
            s.frame(i).value = pristine_[size_t(i)];
            s.frame(i).work.fill(0);
        }
        for (int i = SURVEY_SLOTS; wholeStore_ && i <= MAX_FRAME_INDEX; ++i)
            for (const CellRange& r : frameCells_)
                std::fill(s.frame(i).value.begin() + r.first, s.frame(i).value.begin() + r.last + 1,
                          uint8_t(0));
        s.header.value = header_;
        s.frameCount = frameCount_;
        s.Hmax = hmax_;
        s.viewStart = 0;
        s.stateFlags = 0;
    }

    // Aborts when a cell outside the allowed ranges changed.
    void checkIntact() const {
        const ProfileStore& s = *store_;
        if (s.frameCount != frameCount_)
            fail(target_, "frame count changed", s.frameCount, frameCount_);
        for (int i = 0; i < SURVEY_SLOTS; ++i)
            for (const CellRange& r : protected_)
                if (std::memcmp(s.frame(i).value.data() + r.first,
                                pristine_[size_t(i)].data() + r.first,
                                size_t(r.last - r.first + 1)))
                    fail(target_, "a frame cell it may not write changed", i, r.first);
        // Slots past the survey: every one just after it, then a sample of
        // the rest (a full scan of 64 000 slots would halve the run rate).
        for (int i = SURVEY_SLOTS; i <= MAX_FRAME_INDEX; i += (i < 2 * SURVEY_SLOTS ? 1 : 61))
            if (s.frame(i).value[cell::Status] != 0 || s.frame(i).value[0] != 0)
                fail(target_, "an empty slot gained data", i);
        for (int c = 0; c < HEADER_CELLS; ++c)
            if (!headerMask_[size_t(c)] && s.header.value[size_t(c)] != header_[size_t(c)])
                fail(target_, "a header cell it may not write changed", c);
    }

  private:
    const char* target_;
    std::vector<CellRange> frameCells_;
    bool wholeStore_;
    std::array<bool, CELLS_PER_FRAME> frameMask_{};
    std::array<bool, HEADER_CELLS> headerMask_{};
    std::vector<CellRange> protected_;
    std::unique_ptr<ProfileStore> store_;
    std::vector<std::array<uint8_t, CELLS_PER_FRAME>> pristine_;
    std::array<uint8_t, HEADER_CELLS> header_{};
    int frameCount_ = 0;
    uint32_t hmax_ = 0;
};

// Answers questions from a pattern of bits and checks every message.
class PatternAnswers final : public Interaction {
  public:
    PatternAnswers(const char* target, unsigned pattern) : target_(target), pattern_(pattern) {}
    Answer show(const Message& m) override {
        if (m.ru.empty() || m.en.empty()) fail(target_, "a message without one of its wordings");
        ++shown;
        if (m.buttons == Buttons::Ok) return Answer::Ok;
        if (++questions > 100000) fail(target_, "endless questions");
        const unsigned bit = (pattern_ >> (questions % 8)) & 1u;
        if (m.buttons == Buttons::YesNoCancel && (pattern_ & 0x100)) return Answer::Cancel;
        if (m.buttons == Buttons::YesNoNoToAll && (pattern_ & 0x200)) return Answer::NoToAll;
        return bit ? Answer::No : Answer::Yes;
    }
    int shown = 0;
    int questions = 0;

  private:
    const char* target_;
    unsigned pattern_;
};

inline unsigned patternOf(const uint8_t* data, std::size_t size) {
    unsigned h = unsigned(size) * 2654435761u;
    for (std::size_t k = 0; k < std::min<std::size_t>(size, 16); ++k) h = h * 31 + data[k];
    return h;
}

} // namespace tesk::fuzzing
