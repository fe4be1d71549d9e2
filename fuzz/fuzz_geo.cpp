// Fuzz target for the device-recording (.geo) decoder.
//
// The input is the content of a .geo file. It goes the way the open command
// takes one: empty-file and magic tests, the header pre-check, then
// clearForOpen, readDeviceRecording and finishLoad on one store that lives
// for the whole run. Header byte 12, which the decoder never reads, selects
// the variant:
//
//   bit 0     append the same file once more after the plain load
//   bits 1-2  answer to the amplitude question: 0 No, 1 Yes, 2 Cancel,
//             3 Yes and No in turn
//   bit 3     check log in English
//   bit 4     keep the count field as it is; without it a count above 2048
//             is read as 2048, so that the few bytes of a record of length
//             0, which the key search finds again and again, do not make
//             every input a 64000-frame load (the slot limit and the
//             count checks stay reachable through this bit)
//
// Any broken expectation prints what it saw and aborts, so that libFuzzer
// (or the replay runner) reports it as a crash.

#include "store/byte_source.h"
#include "store/device_recording.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/settings_catalog.h"
#include "store/work_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace tesk;

[[noreturn]] void fail(const char* what, long a = 0, long b = 0) {
    std::fprintf(stderr, "fuzz_geo: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

constexpr int SELECTOR = 12;
constexpr uint32_t FAST_COUNT = 2048;

// Answers the amplitude question as the selector says; checks that it has
// both wordings and that the decoder shows nothing else (its findings go
// into its report).
class Answers final : public Interaction {
  public:
    explicit Answers(int mode) : mode_(mode) {}
    Answer show(const Message& m) override {
        if (m.ru.empty() || m.en.empty()) fail("a message without one of its wordings");
        if (m.buttons == Buttons::Ok) fail("the decoder showed a message");
        if (m.buttons != Buttons::YesNoCancel) fail("unexpected question buttons");
        ++questions;
        switch (mode_) {
        case 1:
            return Answer::Yes;
        case 2:
            return Answer::Cancel;
        case 3:
            return (questions % 2) ? Answer::Yes : Answer::No;
        default:
            return Answer::No;
        }
    }
    void progress(int64_t done, int64_t total) override {
        if (done < 0 || done > total) fail("progress outside 0..total", long(done), long(total));
    }
    int questions = 0;

  private:
    int mode_;
};

ProfileStore& theStore() {
    // About 80 MB: made once and refilled by every input, as the program does.
    static ProfileStore* store = new ProfileStore;
    return *store;
}

// Highest slots (within the range an open clears) whose value or work bytes
// may be non-zero: clearing up to them is the same as clearing 0..51000.
int valueTop = CLEARED_ON_OPEN;
int workTop = CLEARED_ON_OPEN;

void clearLikeOpen(ProfileStore& s, bool append) {
    if (!append) {
        const int top = std::min(std::max(valueTop, workTop), CLEARED_ON_OPEN);
        if (top >= 0)
            std::memset(static_cast<void*>(s.frames()), 0,
                        sizeof(FrameRecord) * std::size_t(top + 1));
        valueTop = -1;
        workTop = -1;
        return;
    }
    const int top = std::min(workTop, CLEARED_ON_OPEN);
    for (int i = 0; i <= top; ++i) s.frame(i).work.fill(0);
    workTop = -1;
}

bool isEightBit(uint8_t model) {
    return model == 3 || model == 4;
}

void checkLog(const DeviceCheckLog& log, const DeviceRecordingLoad& l, bool english) {
    const auto dataErrors =
        std::count(l.warnings.begin(), l.warnings.end(), LoadWarning::DataError);
    if (!l.has(LoadWarning::DataError)) {
        if (!log.lines.empty())
            fail("log kept after a load without findings", long(log.lines.size()));
        return;
    }
    if (dataErrors != 1) fail("data warning count", long(dataErrors));
    if (log.lines.size() < 6 || (log.lines.size() - 3) % 3 != 0)
        fail("log line count", long(log.lines.size()));
    if (log.lines[0] != "" || log.lines[1] != "TEST GEO" || log.lines[2] != "")
        fail("log does not start with its title");
    for (std::size_t i = 3; i < log.lines.size(); i += 3) {
        const std::string& code = log.lines[i];
        if (code.rfind("ERROR. E", 0) != 0 || code.size() < 12 || code.compare(10, 2, ".C") != 0)
            fail("log code line", long(i));
        if (log.lines[i + 1].empty()) fail("log message line empty", long(i));
        if (!log.lines[i + 2].empty()) fail("log separator not empty", long(i));
        const unsigned char c = static_cast<unsigned char>(log.lines[i + 1][0]);
        if (english != (c < 0x80)) fail("log line in the wrong language", long(i));
    }
}

// One load as the open command runs it. Returns false when refused.
bool load(ProfileStore& s, ByteSource& src, bool append, int answers, bool english) {
    const int first = append ? s.frameCount : 0;
    const std::vector<uint8_t> headerBefore(s.header.value.begin(), s.header.value.end());
    const uint32_t hmaxBefore = s.Hmax;
    const uint8_t deviceBefore = s.deviceType;

    if (precheckDeviceRecording(src).fault == LoadFault::Refused) {
        // The loader refuses the same file on its own, touching nothing.
        const int countBefore = s.frameCount;
        Answers ui(answers);
        DeviceCheckLog log;
        const DeviceRecordingLoad l = readDeviceRecording(src, append, s, ui, log);
        if (l.fault != LoadFault::Refused) fail("loader accepted a header the pre-check refused");
        if (s.frameCount != countBefore) fail("refused load changed frameCount");
        if (!std::equal(headerBefore.begin(), headerBefore.end(), s.header.value.begin()))
            fail("refused load changed the header");
        return false;
    }

    s.fileKind = kind::DeviceRecording;
    clearLikeOpen(s, append);
    Answers ui(answers);
    DeviceCheckLog log;
    const DeviceRecordingLoad l = readDeviceRecording(src, append, s, ui, log);
    if (l.fault == LoadFault::Refused) fail("loader refused a header the pre-check accepted");
    if (l.fault == LoadFault::ReadFault) fail("read fault from memory");
    workTop = std::max(workTop, l.framesDecoded);
    valueTop = std::max(valueTop, first + l.framesDecoded + 3);

    const int room = std::max(0, MAX_LOADED_FRAME + 1 - first);
    if (l.framesDecoded > room) fail("decoded more frames than fit", l.framesDecoded, room);
    if (l.framesRead > l.framesDecoded) fail("converted more than decoded");
    if (l.fault != LoadFault::Cancelled && l.framesRead != l.framesDecoded)
        fail("frames left unconverted");
    if (l.fault == LoadFault::Cancelled && ui.questions == 0) fail("cancelled without a question");
    const int total = first + l.framesDecoded;
    const int expectCount = total > MAX_LOADED_FRAME ? MAX_LOADED_FRAME : total + 10;
    if (s.frameCount != expectCount) fail("frameCount after the read", s.frameCount, expectCount);
    checkLog(log, l, english);

    // Converted frames: no sample is 0, the fill rows repeat sample 511, and
    // 7-bit amplitudes v were widened to 2v + 1.
    const bool eight = isEightBit(l.deviceType);
    for (int j = 0; j < l.framesDecoded; ++j) {
        const FrameRecord& f = s.frame(first + j);
        if (j >= l.framesRead) {
            for (int c = 0; c < CELLS_PER_FRAME; ++c)
                if (f.value[c] != 0) fail("frame after Cancel not empty", first + j, c);
            continue;
        }
        for (int c = 0; c < SAMPLE_ROWS; ++c) {
            const uint8_t v = f.value[c];
            if (v == 0) fail("sample 0 in a loaded frame", first + j, c);
            if (!eight && (v & 1) == 0) fail("7-bit sample not widened", first + j, c);
        }
        for (int c = SAMPLES_PER_FRAME; c < SAMPLE_ROWS; ++c)
            if (f.value[c] != f.value[SAMPLES_PER_FRAME - 1]) fail("fill row", first + j, c);
        if (f.value[cell::Status] > 1) fail("status of a decoded frame", first + j);
        if (f.value[cell::LatDegrees] > 90 || f.value[cell::LonDegrees] > 179)
            fail("position degrees out of range", first + j);
        if (f.get24(cell::LatFraction) >= 10000000 || f.get24(cell::LonFraction) >= 10000000)
            fail("position fraction out of range", first + j);
        if (f.reliefHeight() >= 1800000) fail("relief not wrapped", first + j);
    }

    const auto& h = s.header.value;
    if (h[hdr::TimeRange] >= items::TimeRange) fail("time range item", h[hdr::TimeRange]);
    if (h[hdr::LevelTable] >= items::LevelTable) fail("level table item", h[hdr::LevelTable]);
    if (append) {
        for (int c = 0; c < HEADER_CELLS; ++c)
            if (c != hdr::FrameCount && c != hdr::FrameCount + 1 &&
                h[std::size_t(c)] != headerBefore[std::size_t(c)])
                fail("an append changed the header", c);
        if (s.Hmax != hmaxBefore || s.deviceType != deviceBefore)
            fail("an append changed Hmax or the model");
    } else {
        if (h[hdr::DeviceType] != l.deviceType || s.deviceType != l.deviceType)
            fail("model code not stored");
        if (s.Hmax != 0) fail("Hmax not reset");
    }

    s.finishLoad();
    valueTop = std::max(valueTop, s.frameCount + 3);
    if (s.frameCount < 40 || s.frameCount > MAX_FRAME_INDEX) fail("frameCount", s.frameCount);
    if (s.frameCount != MAX_FRAME_INDEX && s.frameCount % 20 != 0)
        fail("frameCount not rounded to 20", s.frameCount);
    if (s.header.get16(hdr::FrameCount) != s.frameCount) fail("header frame count copy");
    if (s.header.get24(hdr::Hmax) != s.Hmax) fail("header relief maximum copy");
    for (int j = 0; j < l.framesRead; ++j)
        if (!s.frame(first + j).inProfile()) fail("loaded frame not in profile", first + j);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ProfileStore& s = theStore();
    // Every input starts from the start-up state of the header and scalars.
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
    const uint8_t selector = size > SELECTOR ? data[SELECTOR] : 0;
    std::vector<uint8_t> bytes(data, data + size);
    if (!(selector & 0x10) && size >= 16) {
        const uint32_t count = (uint32_t(data[13]) << 16) | (uint32_t(data[14]) << 8) | data[15];
        if (count > FAST_COUNT) {
            bytes[13] = uint8_t(FAST_COUNT >> 16);
            bytes[14] = uint8_t(FAST_COUNT >> 8);
            bytes[15] = uint8_t(FAST_COUNT);
        }
    }
    MemorySource src(bytes);
    uint8_t magic[4] = {};
    src.read(0, magic, 4);
    if (magicSum(magic) != TESK_MAGIC_SUM) return 0;

    const bool english = selector & 0x08;
    setBit(s.header.value[hdr::ViewFlags], hdr::English, english);
    const int answers = (selector >> 1) & 3;
    if (!load(s, src, false, answers, english)) return 0;
    if (selector & 0x01) load(s, src, true, answers, english);
    return 0;
}
