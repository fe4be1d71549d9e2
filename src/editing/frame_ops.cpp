#include "editing/frame_ops.h"

#include "editing/samples.h"
#include "editing/slots.h"

#include <algorithm>
#include <atomic>

namespace tesk::editing {

namespace {
std::atomic<uint64_t> outsideCount{0};
} // namespace

uint64_t outOfRangeAccesses() {
    return outsideCount.load();
}

FrameRecord& Slots::outside() {
    // The program runs on one thread; the scratch frame only keeps a faulty
    // access from touching memory outside the store.
    static FrameRecord scratch;
    ++outsideCount;
    scratch.value.fill(0);
    scratch.work.fill(0);
    return scratch;
}

void moveValues(ProfileStore& s, int src, int dst, int count) {
    if (count <= 0 || src == dst) return;
    const Slots f(s);
    if (dst > src) {
        // Top down, so that no frame is overwritten before it has moved.
        for (int i = count - 1; i >= 0; --i)
            std::memcpy(f.value(dst + i), f.value(src + i), CELLS_PER_FRAME);
        for (int i = src; i < std::min(src + count, dst); ++i) emptyValue(f[i]);
    } else {
        for (int i = 0; i < count; ++i)
            std::memcpy(f.value(dst + i), f.value(src + i), CELLS_PER_FRAME);
        for (int i = std::max(src, dst + count); i < src + count; ++i) emptyValue(f[i]);
    }
}

void moveFrames(ProfileStore& s, EditJournal* j, int src, int dst, int count) {
    if (count <= 0 || src == dst) return;
    if (j) j->moveBefore(src, dst, count);
    moveValues(s, src, dst, count);
}

void emptyFrames(ProfileStore& s, EditJournal* j, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, MAX_FRAME_INDEX);
    if (first > last) return;
    if (j) j->framesBefore(first, last);
    const Slots f(s);
    for (int i = first; i <= last; ++i) emptyValue(f[i]);
}

void reverseValues(ProfileStore& s, int first, int last) {
    if (first > last) return;
    const Slots f(s);
    for (int a = first, b = last; a < b; ++a, --b) std::swap(f[a].value, f[b].value);
    for (int i = first; i <= last; ++i) f[i].value[cell::Status] ^= status::Reversed;
}

void rotateSamplesUp(FrameRecord& f, int positions) {
    positions %= SAMPLE_ROWS;
    if (positions < 0) positions += SAMPLE_ROWS;
    if (positions == 0) return;
    std::rotate(f.value.begin(), f.value.begin() + positions, f.value.begin() + SAMPLE_ROWS);
}

int moveUpRotation(int row, uint32_t shift) {
    if (row > 0) return row % SAMPLE_ROWS;
    // Undo every earlier move of the frame: the rest of a full turn. An
    // accumulator beyond a full turn (a damaged file) leaves the samples.
    return shift <= uint32_t(SAMPLE_ROWS) ? int(SAMPLE_ROWS - shift) % SAMPLE_ROWS : 0;
}

void moveUpFrame(FrameRecord& f, int row) {
    const uint32_t shift = f.get16(cell::VerticalShift);
    rotateSamplesUp(f, moveUpRotation(row, shift));
    if (row > 0) {
        uint32_t a = shift + uint32_t(row);
        if (a > uint32_t(SAMPLE_ROWS)) a -= SAMPLE_ROWS;
        f.set16(cell::VerticalShift, a);
    } else {
        f.set16(cell::VerticalShift, 0);
    }
}

int doubledFrames(const ProfileStore& s, int lastSource) {
    int outputs = 0;
    for (int i = 0; i <= lastSource; ++i) outputs += s.frame(i).inProfile() ? 2 : 1;
    return outputs;
}

void doubleValues(ProfileStore& s, int lastSource, int newN, int clearTo) {
    const Slots f(s);
    static const std::array<uint8_t, CELLS_PER_FRAME> empty{};
    // From the end: source i lands at d >= i, and every frame written so far
    // lies above i + 1, so the frames still to be read (i and its right
    // neighbour) are as they were.
    const int outputs = doubledFrames(s, lastSource);
    int d = outputs;
    for (int i = lastSource; i >= 0; --i) {
        if (f.inProfile(i)) {
            d -= 2;
            if (d + 1 <= newN) {
                const uint8_t* next = isSlot(i + 1) ? f.value(i + 1) : empty.data();
                interpolatedFrame(f.value(i), next, f.value(d + 1));
            }
        } else {
            d -= 1;
        }
        if (d <= newN && d != i) f[d].value = f[i].value;
    }
    // The slot after the last new frame closes the survey; old frames past
    // the doubled survey are dropped.
    for (int i = outputs; i <= clearTo; ++i) emptyValue(f[i]);
}

void undoubleValues(ProfileStore& s, int lastSource) {
    const Slots f(s);
    // From the start: source i comes back from d >= i, and every slot above
    // d still holds what the doubling left.
    int d = 0;
    for (int i = 0; i <= lastSource; ++i) {
        if (d != i) f[i].value = f[d].value;
        d += f[i].inProfile() ? 2 : 1;
    }
}

void SdvPrf(ProfileStore& s, EditJournal* j) {
    const int n = std::clamp(s.frameCount, 0, MAX_FRAME_INDEX);
    const Slots f(s);
    uint32_t profile = 0; // counts modulo 2^16, as the field holds it
    uint32_t position = 0;
    for (int i = 0; i <= n; ++i) {
        FrameRecord& fr = f[i];
        if (!fr.inProfile()) {
            position = 0;
            continue;
        }
        if (position == 0) profile = (profile + 1) & 0xFFFF;
        if (fr.get16(cell::ProfileNumber) != profile ||
            fr.get16(cell::IndexInProfile) != (position & 0xFFFF)) {
            if (j) j->numberingBefore(i);
            fr.set16(cell::ProfileNumber, profile);
            fr.set16(cell::IndexInProfile, position);
        }
        ++position;
    }
    int last = -1;
    for (int i = n; i >= 0; --i) {
        if (f[i].inProfile()) {
            last = i;
            break;
        }
    }
    // Integer division truncates toward zero: an empty survey keeps 40 blank
    // slots. A survey reaching the last slots stops at the store's end.
    s.frameCount = std::min((last / 20) * 20 + 40, MAX_FRAME_INDEX);
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
}

} // namespace tesk::editing
