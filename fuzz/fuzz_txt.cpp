// Fuzz target for the text coordinate reader (OPN_TXT), in the geographic
// and the rectangular form, with and without the every-fifth-frame rule,
// answering the per-line questions from a pattern taken from the input.
// Only positions, UCS values, heights and names may change.

#include "coordinate_harness.h"
#include "coordinates/imports.h"
#include "store/byte_source.h"

namespace {

using namespace tesk;

fuzzing::Harness& harness() {
    static fuzzing::Harness h("fuzz_txt",
                              {{cell::ReliefHeight, cell::ReliefHeight + 2},
                               {cell::UcsX, cell::LatFraction + 2},
                               {cell::PointName, cell::PointName + 5}},
                              {});
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzzing::Harness& h = harness();
    const unsigned pattern = fuzzing::patternOf(data, size);
    for (int form = 0; form < 3; ++form) {
        h.restore();
        ProfileStore& s = h.store();
        s.openFileName = "fuzz.txt";
        MemorySource src(data, size);
        fuzzing::PatternAnswers ui("fuzz_txt", pattern >> form);
        coords::CoordImportSettings st;
        st.geographic = form == 0;
        st.everyFifthFrame = form == 2;
        const auto r = coords::readTxtFile(src, s, st, ui);
        if (r.lines < 0 || uint64_t(r.lines) > size)
            fuzzing::fail("fuzz_txt", "more lines than bytes", r.lines, long(size));
        h.checkIntact();
    }
    return 0;
}
