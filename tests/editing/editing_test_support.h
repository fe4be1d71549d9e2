#pragma once
// Small surveys laid out by hand for the editing tests. Every profile frame
// carries a tag in its ucsX cells (the slot it was built in, plus 1) and
// samples derived from the tag, so a test can follow each frame wherever a
// command moves it. Gap frames are empty unless a test fills them.

#include "editing/edit_inputs.h"
#include "editing/frame_ops.h"
#include "editing/slots.h"
#include "support/store_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace tesk::testing {

struct Span {
    int first;
    int length;
};

// Sample k of the frame tagged `tag`: never 0, different for every tag.
inline uint8_t tagSample(uint32_t tag, int k) {
    return uint8_t(1 + (tag * 37u + uint32_t(k) * 11u) % 254u);
}

inline void putTaggedFrame(ProfileStore& s, int slot, uint32_t tag) {
    FrameRecord& f = s.frame(slot);
    for (int k = 0; k < SAMPLE_ROWS; ++k) f.value[k] = tagSample(tag, k);
    f.value[cell::Status] |= status::InProfile;
    f.set32(cell::UcsX, tag);
}

// Profiles at the given runs, tagged by slot + 1, renumbered; frameCount as
// the renumbering leaves it.
inline void buildSurvey(ProfileStore& s, const std::vector<Span>& runs) {
    for (const Span& r : runs)
        for (int i = r.first; i < r.first + r.length; ++i) putTaggedFrame(s, i, uint32_t(i + 1));
    s.frameCount = MAX_FRAME_INDEX;
    editing::SdvPrf(s, nullptr);
}

inline uint32_t tagAt(const ProfileStore& s, int slot) {
    return s.frame(slot).get32(cell::UcsX);
}

inline bool emptyAt(const ProfileStore& s, int slot) {
    return editing::valueEmpty(s.frame(slot));
}

// Tags of slots first..last (0 for a frame without one).
inline std::vector<uint32_t> tags(const ProfileStore& s, int first, int last) {
    std::vector<uint32_t> out;
    for (int i = first; i <= last; ++i) out.push_back(tagAt(s, i));
    return out;
}

// An expected run of tags: n frames tagged from, from + 1, ... (a gap when
// from is 0).
struct Piece {
    uint32_t from;
    int n;
};
inline Piece T(uint32_t from, int n) {
    return {from, n};
}
inline Piece G(int n) {
    return {0, n};
}
inline std::vector<uint32_t> layout(std::initializer_list<Piece> pieces) {
    std::vector<uint32_t> v;
    for (const Piece& p : pieces)
        for (int i = 0; i < p.n; ++i) v.push_back(p.from == 0 ? 0 : p.from + uint32_t(i));
    return v;
}

// The value bytes of every slot, the header value bytes and frameCount. Only
// the slots up to the last one that is not empty are kept; every later slot
// is known to be empty.
struct StoreImage {
    std::vector<uint8_t> values;
    std::array<uint8_t, HEADER_CELLS> header{};
    int frameCount = 0;

    explicit StoreImage(const ProfileStore& s) : header(s.header.value), frameCount(s.frameCount) {
        int last = MAX_FRAME_INDEX;
        while (last >= 0 && editing::valueEmpty(s.frame(last))) --last;
        values.resize(std::size_t(last + 1) * CELLS_PER_FRAME);
        for (int i = 0; i <= last; ++i)
            std::memcpy(values.data() + std::size_t(i) * CELLS_PER_FRAME, s.frame(i).value.data(),
                        CELLS_PER_FRAME);
    }
    int slots() const { return int(values.size() / CELLS_PER_FRAME); }
    bool operator==(const StoreImage& o) const {
        return frameCount == o.frameCount && header == o.header && values == o.values;
    }
    // First slot whose value bytes differ from the store's, -1 if none (and
    // -2 if only the header or frameCount differ).
    int firstDifference(const ProfileStore& s) const {
        for (int i = 0; i < FRAME_SLOTS; ++i) {
            const bool differs = i < slots()
                                     ? std::memcmp(values.data() + std::size_t(i) * CELLS_PER_FRAME,
                                                   s.frame(i).value.data(), CELLS_PER_FRAME) != 0
                                     : !editing::valueEmpty(s.frame(i));
            if (differs) return i;
        }
        return frameCount == s.frameCount && header == s.header.value ? -1 : -2;
    }
    bool matches(const ProfileStore& s) const { return firstDifference(s) == -1; }
};

// The profile numbering rule over slots 0..frameCount: profiles counted from
// 1, frames counted from 0 within each profile. Returns the first slot that
// breaks it, -1 if none.
inline int numberingFault(const ProfileStore& s) {
    int profile = 0;
    int position = 0;
    for (int i = 0; i <= s.frameCount; ++i) {
        const FrameRecord& f = s.frame(i);
        if (!f.inProfile()) {
            position = 0;
            continue;
        }
        if (position == 0) ++profile;
        if (f.get16(cell::ProfileNumber) != uint32_t(profile) ||
            f.get16(cell::IndexInProfile) != uint32_t(position))
            return i;
        ++position;
    }
    return -1;
}

// Answers every question Yes.
inline void answerYes(RecordingInteraction& ui, int questions) {
    for (int i = 0; i < questions; ++i) ui.answers.push_back(Answer::Yes);
}

} // namespace tesk::testing
