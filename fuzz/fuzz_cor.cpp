// Fuzz target for the companion .cor reader: the lines, the time, height and
// run-end passes and the recalculation that follows (mode 0, geographic,
// heights by the input's pattern, no profile correction), with the parts to
// import and the answers taken from the input. Only times, heights,
// positions, UCS values, the header date and Hmax may change. A line may
// address any slot up to 64000; what it leaves in the allowed cells of the
// empty slots is not cleared between inputs (no pass past the survey reads
// them, and emptying 64 000 slots every time would cost most of the run).

#include "coordinate_harness.h"
#include "coordinates/imports.h"
#include "store/byte_source.h"

namespace {

using namespace tesk;

fuzzing::Harness& harness() {
    static fuzzing::Harness h("fuzz_cor",
                              {{cell::Hour, cell::Hundredths},
                               {cell::ReliefHeight, cell::ReliefHeight + 2},
                               {cell::UcsX, cell::LatFraction + 2}},
                              {{hdr::Day, hdr::Year}, {hdr::Hmax, hdr::Hmax + 2}});
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzzing::Harness& h = harness();
    h.restore();
    ProfileStore& s = h.store();
    s.coordFileName = "fuzz.cor";
    const unsigned pattern = fuzzing::patternOf(data, size);
    MemorySource src(data, size);
    fuzzing::PatternAnswers ui("fuzz_cor", pattern);
    coords::CorParts parts;
    parts.date = pattern & 0x1000;
    parts.time = pattern & 0x2000;
    parts.height = pattern & 0x4000;
    coords::CoordImportSettings st;
    st.recalc.heights = pattern & 0x8000;
    coords::readCorFile(src, s, parts, st, ui);
    h.checkIntact();
    for (int i = 0; i <= s.frameCount; ++i) {
        const FrameRecord& f = s.frame(i);
        if (f.value[cell::Hour] > 23 || f.value[cell::Minute] > 59 || f.value[cell::Second] > 59 ||
            f.value[cell::Hundredths] > 99)
            fuzzing::fail("fuzz_cor", "a time out of range", i);
        if (f.get24(cell::LatFraction) > 9999999 || f.get24(cell::LonFraction) > 9999999)
            fuzzing::fail("fuzz_cor", "a fraction of 1e7 or more", i);
    }
    return 0;
}
