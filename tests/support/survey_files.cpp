#include "support/survey_files.h"

#include "store/atomic_file.h"
#include "store/work_file.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tesk::testing {

TempDir::TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("tesk-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void fillPattern(ProfileStore& s, int first, int frames, int seed) {
    for (int i = first; i < first + frames; ++i) {
        FrameRecord& f = s.frame(i);
        for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
            f.value[j] = uint8_t(1 + ((i + seed) * 7 + j) % 255);
        f.fillRowsFromLastSample();
        if (i % 100 == 0) f.value[cell::Status] = 1;
    }
}

namespace {

ProfileStore& scratchStore() {
    static ProfileStore s; // one scratch store for every file the tests write
    s.reset();
    return s;
}

} // namespace

std::string writeStore(const std::string& path, ProfileStore& s) {
    std::string error;
    auto sink = AtomicFileSink::create(path, error);
    SilentInteraction ui;
    if (!sink || !writeWorkFile(*sink, s, ui) || !sink->commit(error))
        throw std::runtime_error("cannot write " + path + ": " + error);
    return path;
}

std::string writeSurvey(const std::string& path, int frames, bool english, int seed) {
    ProfileStore& s = scratchStore();
    fillPattern(s, 0, frames, seed);
    s.frameCount = frames;
    s.finishLoad();
    setBit(s.header.value[hdr::ViewFlags], hdr::English, english);
    writeStore(path, s);
    return path;
}

void placeParallelLines(ProfileStore& s, const ParallelLines& p) {
    int slot = 0;
    for (int line = 0; line < p.lines; ++line, ++slot) {
        for (int i = 0; i < p.frames; ++i, ++slot) {
            FrameRecord& f = s.frame(slot);
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j) f.value[j] = parallelLineCode(line, j);
            f.fillRowsFromLastSample();
            f.set32(cell::UcsX, uint32_t(p.x0 + i * p.stepCm));
            f.set32(cell::UcsY, uint32_t(p.y0 + line * p.spacingCm));
        }
    }
    s.frameCount = slot;
    s.finishLoad();
}

std::string writeParallelLines(const std::string& path, const ParallelLines& p) {
    ProfileStore& s = scratchStore();
    placeParallelLines(s, p);
    writeStore(path, s);
    return path;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream o;
    o << in.rdbuf();
    return o.str();
}

} // namespace tesk::testing
