// Fuzz target for the GPX reader: the listing (OPN_GPX), then both
// synchronisations with the first listed item (or a made-up one) and the
// cursor on a frame chosen from the input, on one store that lives for the
// whole run. The listing must not touch the frames; the synchronisations
// may write only positions, heights, names, volume and fix cells, the
// hemisphere and panel bits and Hmax.

#include "coordinate_harness.h"
#include "coordinates/imports.h"
#include "store/byte_source.h"

namespace {

using namespace tesk;

fuzzing::Harness& harness() {
    static fuzzing::Harness h("fuzz_gpx",
                              {{cell::ReliefHeight, cell::ReliefHeight + 2},
                               {cell::VolumeSlot, cell::LatFraction + 2},
                               {cell::PointName, cell::PointName + 5},
                               {cell::FixTime, cell::FixTime + 2}},
                              {{hdr::CoordFlags, hdr::CoordFlags}, {hdr::Hmax, hdr::Hmax + 2}});
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzzing::Harness& h = harness();
    h.restore();
    ProfileStore& s = h.store();
    s.openFileName = "fuzz.gpx";
    MemorySource src(data, size);
    const unsigned pattern = fuzzing::patternOf(data, size);
    fuzzing::PatternAnswers ui("fuzz_gpx", pattern);
    const auto listed = coords::readGpxFile(src, s, {}, ui);
    h.checkIntact();
    if (listed.refused != (listed.waypointItems.empty() && listed.trackItems.empty()))
        fuzzing::fail("fuzz_gpx", "refusal and empty lists disagree");
    const int cursor = int(pattern % 260);
    for (const auto which : {coords::GpxPoints::Waypoints, coords::GpxPoints::Track}) {
        const auto& items =
            which == coords::GpxPoints::Waypoints ? listed.waypointItems : listed.trackItems;
        for (const auto& item : items)
            if (item.size() < 19 || item[10] != ' ' || item[13] != ':' || item[16] != ':')
                fuzzing::fail("fuzz_gpx", "a list item without its date and time");
        const std::string selected = items.empty() ? std::string("2024-05-14 10:00:00") : items[0];
        const auto r = coords::synchronizeGpx(src, s, which, {cursor, selected}, ui);
        if (r.matched < 0 || r.lines > int(items.size()))
            fuzzing::fail("fuzz_gpx", "more points matched than listed", r.lines,
                          long(items.size()));
        h.checkIntact();
    }
    return 0;
}
