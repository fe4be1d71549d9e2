// Fuzz target for the SEG-Y reader.
//
// The input is the content of a .sgy file. It goes the way the open command
// takes one: the layout pre-check, then clearForOpen, readSegyFile and
// finishLoad on one store that lives for the whole run; the messages the
// open command words from the report are checked too. Bit 0 of byte 0 (in
// the textual header, which the reader never interprets) appends the file
// once more after the plain load.
//
// Any broken expectation prints what it saw and aborts, so that libFuzzer
// (or the replay runner) reports it as a crash.

#include "commands/load_messages.h"
#include "commands/segy.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace tesk;

[[noreturn]] void fail(const char* what, long a = 0, long b = 0) {
    std::fprintf(stderr, "fuzz_segy: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

// The reader shows nothing and asks nothing; it only reports progress.
class Checks final : public Interaction {
  public:
    Answer show(const Message&) override { fail("the reader showed a message"); }
    void progress(int64_t done, int64_t total) override {
        if (done < 0 || done > total) fail("progress outside 0..total", long(done), long(total));
    }
};

// Every message carries both wordings and asks nothing.
void checkMessages(const std::vector<Message>& ms) {
    for (const Message& m : ms) {
        if (m.ru.empty() || m.en.empty()) fail("a message without one of its wordings");
        if (m.buttons != Buttons::Ok) fail("a load message asks a question");
    }
}

ProfileStore& theStore() {
    // About 80 MB: made once and refilled by every input, as the program does.
    static ProfileStore* store = new ProfileStore;
    return *store;
}

// The highest slot an earlier input may have left non-zero: clearing up to
// it is the same as clearing 0..51000, and much faster.
int top = CLEARED_ON_OPEN;

void clearLikeOpen(ProfileStore& s, bool append) {
    const int last = std::min(top, CLEARED_ON_OPEN);
    for (int i = 0; i <= last; ++i) {
        if (!append) s.frame(i).value.fill(0);
        s.frame(i).work.fill(0);
    }
    if (!append) top = -1;
}

void load(ProfileStore& s, ByteSource& src, bool append) {
    const SegyLoad pre = segyPrecheck(src);
    const bool refused = pre.segyFault != SegyFault::None;
    if (refused != (pre.fault == LoadFault::Refused)) fail("pre-check fault", int(pre.fault));
    clearLikeOpen(s, append);
    const int first = append ? s.frameCount : 0;
    Checks ui;
    const SegyLoad l = readSegyFile(src, s, SegyReadOptions{append}, ui);
    top = std::max(top, s.frameCount);
    if (l.firstSlot != first) fail("first slot", l.firstSlot, first);
    if (refused != (l.segyFault != SegyFault::None && l.segyFault != SegyFault::TraceCut))
        fail("pre-check and reader disagree", int(l.segyFault));
    if (refused && l.framesRead != 0) fail("refused file loaded frames", l.framesRead);
    // A refusal or a cut has its SEG-Y message; a read fault has the open
    // command's; the slot limit its "E034".
    const std::vector<Message> own = segyMessages(l, "fuzz.sgy");
    const std::vector<Message> common = loadMessages(l, kind::Segy);
    checkMessages(own);
    checkMessages(common);
    const bool worded = l.segyFault != SegyFault::None && l.segyFault != SegyFault::ReadFault;
    if (worded != (own.size() == 1) || own.size() > 1)
        fail("a fault without its message, or a message without a fault", int(l.segyFault),
             long(own.size()));
    if ((l.fault == LoadFault::SlotLimit) != (common.size() == 1) || common.size() > 1)
        fail("the slot limit without E034, or E034 without it", int(l.fault), long(common.size()));
    // Every trace takes at least its 240-byte header.
    const uint64_t traces = src.size() > 3600 ? (src.size() - 3600) / 240 : 0;
    if (uint64_t(l.framesRead) > traces) fail("more frames than the file can hold", l.framesRead);
    if (l.framesRead > 0 && (l.timeRangeItem < 0 || l.timeRangeItem > 7))
        fail("time range item", l.timeRangeItem);
    if (first + l.framesRead > MAX_LOADED_FRAME + 1)
        fail("frames past the last slot", l.framesRead);
    if (s.frameCount > MAX_LOADED_FRAME) fail("frameCount past the last loaded slot", s.frameCount);
    // A frame the reader filled holds only codes 1..255 or no data, and
    // its fill rows repeat sample 511.
    for (int f = first; f < std::min(first + l.framesRead, MAX_FRAME_INDEX + 1); ++f) {
        const FrameRecord& r = s.frame(f);
        for (int c = SAMPLES_PER_FRAME; c < SAMPLE_ROWS; ++c)
            if (r.value[std::size_t(c)] != r.value[SAMPLES_PER_FRAME - 1]) fail("fill rows", f, c);
        if (r.value[cell::Hour] > 23 || r.value[cell::Minute] > 59 || r.value[cell::Second] > 59 ||
            r.value[cell::Hundredths] > 99)
            fail("time of a frame out of range", f);
        if (r.value[cell::LonDegrees] > 180 || r.value[cell::LatDegrees] > 90)
            fail("position out of range", f);
    }
    s.finishLoad();
    if (s.frameCount > MAX_FRAME_INDEX) fail("frameCount after normalising", s.frameCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ProfileStore& s = theStore();
    MemorySource src(data, size);
    load(s, src, false);
    if (size > 0 && (data[0] & 1)) load(s, src, true);
    return 0;
}
