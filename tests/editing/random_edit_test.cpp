// Long random sequences of editing commands with random keys, cursors,
// blocks and answers. After every step: no slot outside the store touched,
// frameCount and its header copy agree, no profile frame lies past
// frameCount, and a command that renumbers leaves a consistent numbering.
// Now and then a step is undone and redone; at the end every step is undone
// back to the original survey, byte for byte, and redone to the end again.

#include "editing/frame_editing.h"
#include "editing/resampling.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

class Dice {
  public:
    explicit Dice(uint32_t seed) : g_(seed) {}
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(g_); }

  private:
    std::mt19937 g_;
};

// Answers most questions Yes.
class RandomAnswers final : public Interaction {
  public:
    explicit RandomAnswers(Dice& d) : dice_(d) {}
    Answer show(const Message& m) override {
        if (m.buttons == Buttons::Ok) return Answer::Ok;
        return dice_.chance(0.85) ? Answer::Yes : Answer::No;
    }

  private:
    Dice& dice_;
};

// Profiles of random length and gaps from `first` up to `last`, with
// markers, reversed frames, moved samples, boundaries and gap frames that
// hold attributes.
void randomProfiles(ProfileStore& s, Dice& d, int first, int last) {
    int i = first;
    while (i <= last) {
        const int length = d.range(1, 300);
        for (int k = 0; k < length && i <= last; ++k, ++i) {
            putTaggedFrame(s, i, uint32_t(i + 1));
            FrameRecord& f = s.frame(i);
            if (d.chance(0.02)) f.value[cell::Status] |= uint8_t(d.range(1, 3));
            if (d.chance(0.05)) f.value[cell::Status] |= status::Reversed;
            if (d.chance(0.05)) f.set16(cell::VerticalShift, uint32_t(d.range(0, 528)));
            if (d.chance(0.05))
                f.set16(cell::Boundary1 + 2 * d.range(0, 6), uint32_t(d.range(1, 511)));
        }
        const int gap = d.range(1, 60);
        for (int k = 0; k < gap && i <= last; ++k, ++i)
            if (d.chance(0.1)) s.frame(i).set24(cell::ReliefHeight, uint32_t(d.range(1, 9999)));
    }
}

enum class Kind { Renumbers, Other };

Kind randomCommand(ProfileStore& s, EditTools& t, Interaction& ui, Dice& d) {
    const int n = s.frameCount;
    s.viewStart = d.range(0, std::max(0, n - 20));
    EditInputs in;
    in.cursorFrame = d.chance(0.05) ? d.range(0, MAX_FRAME_INDEX) : s.viewStart + d.range(0, 511);
    in.cursorRow = d.chance(0.2) ? 0 : d.range(1, 511);
    in.secondFrame = d.chance(0.3) ? 0 : s.viewStart + d.range(0, 520);
    in.blockItem = d.range(0, 7);
    const EditKeys keys{d.chance(0.3), d.chance(0.1), d.chance(0.3), d.chance(0.1)};
    EditResult r;
    switch (d.range(0, 11)) {
    case 0:
        r = ShiftFramesRight(s, t, ui, in);
        return r.outcome == Outcome::Done ? Kind::Renumbers : Kind::Other;
    case 1:
        r = ShiftFramesLeft(s, t, ui, in);
        return r.outcome == Outcome::Done ? Kind::Renumbers : Kind::Other;
    case 2:
        copyFrames(s, t, ui, in);
        return Kind::Other;
    case 3:
    case 4:
        // Paste twice as often as anything else, so that copies get pasted.
        r = pasteFrames(s, t, ui, in);
        return r.outcome == Outcome::Done ? Kind::Renumbers : Kind::Other;
    case 5:
        r = DeleteFrames(s, t, ui, in, deleteRangeFor(keys));
        return r.outcome == Outcome::Done ? Kind::Renumbers : Kind::Other;
    case 6:
        mirrorFrames(s, t, in, blockScopeFor(keys));
        return Kind::Other;
    case 7:
        moveFramesUp(s, t, in, blockScopeFor(keys));
        return Kind::Other;
    case 8:
    case 9: {
        XResampling v = xResamplingFor(keys);
        // A doubling of a long survey drops its second half; keep it rare.
        if (v == XResampling::Double && n >= 16000 && !d.chance(0.1)) v = XResampling::Halve;
        r = resampleX(s, t, ui, in, v);
        return r.outcome == Outcome::Done ? Kind::Renumbers : Kind::Other;
    }
    default:
        resampleT(s, t, ui, tResamplingFor(keys));
        return Kind::Other;
    }
}

void checkInvariants(const ProfileStore& s, int step) {
    ASSERT_GE(s.frameCount, 0) << "step " << step;
    ASSERT_LE(s.frameCount, MAX_FRAME_INDEX) << "step " << step;
    ASSERT_EQ(s.header.get16(hdr::FrameCount), uint32_t(s.frameCount)) << "step " << step;
    for (int i = s.frameCount + 1; i <= MAX_FRAME_INDEX; ++i)
        ASSERT_FALSE(s.frame(i).inProfile())
            << "profile frame " << i << " past frameCount, step " << step;
}

struct Sequence {
    const char* name;
    uint32_t seed;
    std::vector<Span> areas; // where the random profiles go
    int steps;
    int checkEvery; // undo and redo one step every so many steps
};

std::ostream& operator<<(std::ostream& os, const Sequence& q) {
    return os << q.name;
}

class RandomEdits : public ::testing::TestWithParam<Sequence> {};

TEST_P(RandomEdits, KeepTheStoreConsistentAndUndoToTheOriginal) {
    const Sequence& q = GetParam();
    Dice dice(q.seed);
    RandomAnswers ui(dice);
    auto s = newStore();
    for (const Span& a : q.areas) randomProfiles(*s, dice, a.first, a.first + a.length - 1);
    s->frameCount = MAX_FRAME_INDEX;
    SdvPrf(*s, nullptr);
    // Leftovers without samples anywhere, past frameCount too: commands that
    // overwrite them must keep them for undo.
    for (int k = 0; k < 40; ++k) {
        const int slot =
            k < 10 ? s->frameCount + dice.range(1, 60) : dice.range(0, MAX_FRAME_INDEX);
        if (slot <= MAX_FRAME_INDEX && !s->frame(slot).inProfile())
            s->frame(slot).value[cell::Hour] = uint8_t(dice.range(1, 23));
    }
    s->header.value[hdr::TimeRange] = uint8_t(dice.range(0, 7));
    const StoreImage original(*s);
    EditTools tools(EditHistory::DEFAULT_MEMORY_LIMIT, 1 << 20);
    const uint64_t faults = outOfRangeAccesses();
    for (int step = 0; step < q.steps; ++step) {
        const int before = tools.history.undoSteps();
        const Kind kind = randomCommand(*s, tools, ui, dice);
        ASSERT_EQ(outOfRangeAccesses(), faults) << "step " << step;
        checkInvariants(*s, step);
        if (kind == Kind::Renumbers) {
            ASSERT_EQ(numberingFault(*s), -1) << "step " << step;
        }
        if (step % q.checkEvery == 0 && tools.history.undoSteps() > before) {
            const StoreImage now(*s);
            ASSERT_TRUE(tools.history.undo(*s));
            ASSERT_TRUE(tools.history.redo(*s));
            ASSERT_EQ(now.firstDifference(*s), -1) << "undo and redo of step " << step;
        }
    }
    const StoreImage end(*s);
    const int steps = tools.history.undoSteps();
    for (int k = 0; k < steps; ++k) ASSERT_TRUE(tools.history.undo(*s));
    EXPECT_EQ(original.firstDifference(*s), -1);
    for (int k = 0; k < steps; ++k) ASSERT_TRUE(tools.history.redo(*s));
    EXPECT_EQ(end.firstDifference(*s), -1);
    EXPECT_EQ(outOfRangeAccesses(), faults);
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, RandomEdits,
    ::testing::Values(
        Sequence{"NearTheStart", 11, {{0, 2500}}, 250, 5},
        Sequence{"StartAndEndOfTheStore", 23, {{0, 2000}, {61000, 3001}}, 150, 10},
        Sequence{"SparseOverTheWholeStore", 37, {{30, 200}, {31950, 100}, {63700, 301}}, 150, 10}),
    [](const auto& i) { return std::string(i.param.name); });

} // namespace
} // namespace tesk::testing
