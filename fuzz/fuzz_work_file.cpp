// Fuzz target for the work-file (.gem) reader.
//
// The input is the content of a .gem file. It goes the way the open command
// takes a work file: empty-file and magic tests, the version byte, then
// clearForOpen, readWorkFile and finishLoad on one store that lives for the
// whole run. Bit 0 of byte 127 (a header byte no generation reads) asks for
// the same file to be appended once more after the plain load. Finally the
// survey is saved into memory and that generation-16 image is read back: the
// frame value bytes must come back unchanged.
//
// Any broken expectation prints what it saw and aborts, so that libFuzzer (or
// the replay runner) reports it as a crash.

#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/settings_catalog.h"
#include "store/work_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace tesk;

[[noreturn]] void fail(const char* what, long a = 0, long b = 0) {
    std::fprintf(stderr, "fuzz_work_file: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

// Answers No to the reader's question; checks that it has both wordings and
// that the reader shows nothing else (its findings go into its report).
class AnswerNo final : public Interaction {
  public:
    Answer show(const Message& m) override {
        if (m.ru.empty() || m.en.empty()) fail("a message without one of its wordings");
        if (m.buttons == Buttons::Ok) fail("the reader showed a message");
        return Answer::No;
    }
    void progress(int64_t done, int64_t total) override {
        if (done < 0 || done > total) fail("progress outside 0..total");
    }
};

class MemorySink final : public ByteSink {
  public:
    bool write(const uint8_t* data, std::size_t n) override {
        bytes.insert(bytes.end(), data, data + n);
        return true;
    }
    std::vector<uint8_t> bytes;
};

ProfileStore& theStore() {
    // About 80 MB: made once and refilled by every input, as the program does.
    static ProfileStore* store = new ProfileStore;
    return *store;
}

// Item boxes and value rules that every loader must leave valid, whatever the
// file held: the views index their tables with these cells.
void checkHeader(const ProfileStore& s) {
    const auto& h = s.header;
    for (const items::HeaderItemBox& b : items::HEADER_ITEM_BOXES)
        if (h.value[b.cell] >= b.count) fail("header item out of range", b.cell, h.value[b.cell]);
    if ((h.value[hdr::ViewFlags] & hdr::ViewStepMask) >= items::ViewStep)
        fail("view step item out of range", h.value[hdr::ViewFlags]);
    if (h.get16(hdr::GainPos1) > 511) fail("first gain position", h.get16(hdr::GainPos1));
    if (h.get16(hdr::GainPos2) == 0 || h.get16(hdr::GainPos2) > 511)
        fail("second gain position", h.get16(hdr::GainPos2));
    if (h.value[hdr::GainRange] == 0 || h.value[hdr::GainRange] > 32)
        fail("gain range", h.value[hdr::GainRange]);
    if (h.value[hdr::GainLevel1] == 0 || h.value[hdr::GainLevel2] == 0) fail("gain level 0");
    if (s.velocityCode < 160 || s.velocityCode > 1500)
        fail("soil velocity outside 1.60 .. 15.00 cm/ns", s.velocityCode);
    if (h.get24(hdr::Hmax) != s.Hmax) fail("header relief maximum copy", long(s.Hmax));
}

// What every load leaves behind, whatever the file held. normalised is the
// highest slot the normalisation pass ran over.
void checkAfterLoad(const ProfileStore& s, int first, const LoadReport& l, int normalised) {
    if (s.frameCount < 40 || s.frameCount > MAX_FRAME_INDEX) fail("frameCount", s.frameCount);
    if (s.frameCount != MAX_FRAME_INDEX && s.frameCount % 20 != 0)
        fail("frameCount not rounded to 20", s.frameCount);
    if (s.header.get16(hdr::FrameCount) != s.frameCount) fail("header frame count copy");
    if (first + l.framesRead > MAX_LOADED_FRAME + 11)
        fail("frames stored past the last loader slot", first, l.framesRead);
    for (int i = first; i < first + l.framesRead; ++i) {
        const FrameRecord& f = s.frame(i);
        for (int c = SAMPLES_PER_FRAME; c < SAMPLE_ROWS; ++c)
            if (f.value[c] != f.value[SAMPLES_PER_FRAME - 1])
                fail("fill row differs from sample 511 in a loaded frame", i, c);
    }
    int last = -1;
    for (int i = 0; i <= std::min(s.frameCount, normalised); ++i) {
        const FrameRecord& f = s.frame(i);
        bool any = false;
        for (int c = 0; c < SAMPLES_PER_FRAME && !any; ++c) any = f.value[c] != 0;
        if (any != f.inProfile()) fail("in-profile flag disagrees with the samples", i);
        if (!any && f.status() != 0) fail("status kept on a blank frame", i);
        if (f.reliefHeight() > s.Hmax) fail("relief above Hmax", i, long(f.reliefHeight()));
        if (any) last = i;
    }
    if (last >= 0 && s.frameCount < std::min(last + 21, MAX_FRAME_INDEX))
        fail("no blank slots after the last in-profile frame", last, s.frameCount);
    checkHeader(s);
}

// The loader of the open command, without the file: clear, read, normalise.
LoadReport load(ProfileStore& s, ByteSource& src, const Generation& gen, bool append,
                Interaction& ui) {
    const int first = append ? s.frameCount : 0;
    s.fileKind = gen.kind;
    s.clearForOpen(append);
    const LoadReport l = readWorkFile(src, gen, append, s, ui);
    if (l.fault == LoadFault::ReadFault) fail("read fault from memory");
    const int normalised = s.frameCount > 63999 ? MAX_LOADED_FRAME : s.frameCount;
    s.finishLoad();
    checkAfterLoad(s, first, l, normalised);
    return l;
}

// Saves the survey into memory and reads the image back: frames 0..count-1
// must hold exactly the value bytes that were written.
void roundTrip(ProfileStore& s, AnswerNo& ui) {
    MemorySink sink;
    sink.bytes.reserve(512 + std::size_t(s.frameCount) * CELLS_PER_FRAME);
    if (!writeWorkFile(sink, s, ui)) fail("writing into memory failed");
    const std::vector<uint8_t>& w = sink.bytes;
    const int written = s.frameCount;
    if (w.size() != 512 + std::size_t(written) * CELLS_PER_FRAME)
        fail("saved size", long(w.size()), written);
    if (magicSum(w.data()) != TESK_MAGIC_SUM) fail("saved magic", magicSum(w.data()));
    for (std::size_t i = HEADER_CELLS; i < 512; ++i)
        if (w[i] != 0) fail("saved padding not zero", long(i));
    const auto gen = generationForVersion(w[hdr::FormatVersion]);
    if (!gen || gen->kind != 16) fail("saved version byte", w[hdr::FormatVersion]);
    if (((w[16] << 8) | w[17]) != written) fail("saved frame count", (w[16] << 8) | w[17]);

    // Every generation-16 record overwrites all 624 value bytes of its slot,
    // so the image is read back without clearing the 64 MB again: that clear
    // already costs most of the time of one input.
    MemorySource src(w);
    const LoadReport l = readWorkFile(src, *gen, false, s, ui);
    const int expected = std::min(written, 63999);
    if (l.framesRead != expected || l.fault == LoadFault::SlotLimit ||
        l.fault == LoadFault::ReadFault)
        fail("frames read back", l.framesRead, expected);
    for (int i = 0; i < expected; ++i) {
        const uint8_t* rec = w.data() + 512 + std::size_t(i) * CELLS_PER_FRAME;
        if (std::memcmp(s.frame(i).value.data(), rec, CELLS_PER_FRAME) != 0) {
            int c = 0;
            while (s.frame(i).value[c] == rec[c]) ++c;
            fail("frame value bytes changed by save and reopen (frame, cell)", i, c);
        }
    }
    s.finishLoad();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ProfileStore& s = theStore();
    AnswerNo ui;
    // Every input starts from the start-up state of the header and scalars;
    // its own clearForOpen empties the slots.
    s.header.setStartValues();
    s.frameCount = 0;
    s.viewStart = 0;
    s.deviceType = 0;
    s.velocityCode = 500;
    s.hodographVelocity = 500;
    s.permittivity = permittivityFor(500);
    s.Hmax = 0;
    s.fileKind = kind::None;
    s.stateFlags = state::Changed;

    if (size == 0) return 0; // the empty-file message; nothing is loaded
    MemorySource src(data, size);
    uint8_t magic[4] = {};
    src.read(0, magic, 4);
    if (magicSum(magic) != TESK_MAGIC_SUM) return 0;
    uint8_t version = 0;
    src.read(hdr::FormatVersion, &version, 1);
    const auto gen = generationForVersion(version);
    if (!gen) return 0;

    load(s, src, *gen, false, ui);
    if (size > 127 && (data[127] & 1)) {
        // Appending keeps the settings of the survey already loaded.
        const std::vector<uint8_t> before(s.header.value.begin() + hdr::TimeRange,
                                          s.header.value.begin() + hdr::Section + 1);
        load(s, src, *gen, true, ui);
        for (int c = hdr::TimeRange; c <= hdr::Section; ++c)
            if (s.header.value[c] != before[std::size_t(c - hdr::TimeRange)])
                fail("an append changed a header setting", c);
    }
    roundTrip(s, ui);
    return 0;
}
