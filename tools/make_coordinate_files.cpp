// Writes the generated coordinate files: the fixtures of the import tests
// into <data-dir> and, when given, the seeds of the coordinate fuzz targets
// into <corpus-dir>/gpx, <corpus-dir>/txt and <corpus-dir>/cor.
//
//   tesk-make-coordinate-files tests/data/coordinates fuzz/corpus
//   tesk-make-coordinate-files --list      (the README table)

#include "coordinate_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool write(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) std::fprintf(stderr, "cannot write %s\n", p.c_str());
    return bool(out);
}

std::string extensionOf(const std::string& name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s data-dir [corpus-dir]\n", argv[0]);
        return 2;
    }
    bool ok = true;
    const auto fixtures = tesk::demo::coordinateFixtures();
    // --list: the rows of the fixture table of tests/data/README.md.
    if (std::string(argv[1]) == "--list") {
        for (const auto& f : fixtures)
            std::printf("| coordinates/%s | %s |\n", f.name.c_str(), f.purpose.c_str());
        return 0;
    }
    for (const auto& f : fixtures)
        ok = write(std::filesystem::path(argv[1]) / f.name, f.bytes) && ok;
    if (argc > 2) {
        const std::filesystem::path corpus(argv[2]);
        for (const auto& f : fixtures)
            ok = write(corpus / extensionOf(f.name) / f.name, f.bytes) && ok;
        // Seeds that only the fuzz targets need: hostile numbers and lengths.
        ok = write(corpus / "cor" / "frame_outside.cor",
                   "70000\t2017-05-14\t10:00:00\t55.1\tN\t37.1\tE\t1.0\t\n"
                   "99999999999\t2017\t\n") &&
             ok;
        ok = write(corpus / "cor" / "long_digits.cor",
                   "3\t123456789012-99-99\t99:99:99\t99999999999.99999999\t\t179.99999999\t\t"
                   "16777215.999\t\n") &&
             ok;
        ok = write(corpus / "txt" / "long_digits.txt",
                   "ABCDEFGH;99999999999.123456789;99999;9999999999\r;;;;;;\r\n") &&
             ok;
        ok = write(corpus / "gpx" / "hostile_numbers.gpx",
                   "<gpx><wpt lat=\"99999999999999.9\" lon=\"-180.00000005\"><ele>-5e3</ele>"
                   "<time>9999-99-99T99:99:99Z</time><name>&#x110000;&#0;&amp</name></wpt>"
                   "<trkpt lat='90' lon='180'><ele>16777216</ele><time>2024-01-01T23:59:60Z</time>"
                   "</trkpt><trkpt lat=\"1\" lon=\"1\"/></gpx>") &&
             ok;
        ok = write(corpus / "gpx" / "long_track.gpx", tesk::demo::longGpxTrack(300)) && ok;
    }
    return ok ? 0 : 1;
}
