#include "coordinates/correction.h"

#include "coordinates/frame_fields.h"
#include "coordinates/messages.h"

#include <algorithm>
#include <cmath>

namespace tesk::coords {

int proposedStepItem(uint16_t m) {
    for (size_t k = 1; k < STEP_TABLE.size(); ++k) {
        const int v = STEP_TABLE[k], p = STEP_TABLE[k - 1];
        if (v > m) return (v - m < m - p) ? int(k) : int(k - 1);
    }
    return int(STEP_TABLE.size()) - 1;
}

namespace {

struct Pos {
    double x = 0, y = 0;
};

int32_t work32(const FrameRecord& f, int c) {
    return int32_t((uint32_t(f.work[c]) << 24) | (uint32_t(f.work[c + 1]) << 16) |
                   (uint32_t(f.work[c + 2]) << 8) | f.work[c + 3]);
}
void setWork32(FrameRecord& f, int c, uint32_t v) {
    f.work[c] = uint8_t(v >> 24);
    f.work[c + 1] = uint8_t(v >> 16);
    f.work[c + 2] = uint8_t(v >> 8);
    f.work[c + 3] = uint8_t(v);
}

class Builder {
  public:
    Builder(ProfileStore& s, int step) : s_(s), S_(step), half_(step / 2), S15_(step + step / 2) {}

    void run() {
        const int last = lastSlot(s_);
        bool prevIn = false;
        for (int i = 0; i <= last && !full_; ++i) {
            const FrameRecord& in = s_.frame(i);
            if (!in.inProfile()) {
                commit();
                mu_ = 0;
                clearOut();
                prevIn = false;
                continue;
            }
            const uint8_t marker = uint8_t(in.markerStatus());
            const bool marked = marker > 0;
            if (marked) mu_ |= marker;
            if (!prevIn) {
                startProfile(i);
                prevIn = true;
                continue;
            }
            later(i, marked);
        }
        // A survey whose last visited frame lies in a profile still keeps its candidate.
        if (prevIn) commit();
    }
    int outputs() const { return o_; }

  private:
    FrameRecord& out() { return s_.frame(o_); }
    void commit() {
        if (o_ >= CORRECTION_LIMIT)
            full_ = true;
        else
            ++o_;
    }
    void clearOut() { out().work.fill(0); }
    void copyTo(int i) { out().work = s_.frame(i).value; }

    void startProfile(int i) {
        // Keep at least one cleared frame between two output profiles, so
        // that a single gap frame does not join them into one.
        if (o_ > 0 && (s_.frame(o_ - 1).work[cell::Status] & status::InProfile)) {
            commit();
            clearOut();
        }
        copyTo(i);
        commit();
        copyTo(i);
        L_ = Pos{double(ucsX(s_.frame(i))), double(ucsY(s_.frame(i)))};
    }

    // Frame i placed on the line from L towards its own position Q, one step from L.
    void place(int i, const Pos& Q, double d) {
        copyTo(i);
        double x = Q.x, y = Q.y;
        if (d > 0) {
            x = L_.x + (Q.x - L_.x) * S_ / d;
            y = L_.y + (Q.y - L_.y) * S_ / d;
        }
        setWork32(out(), cell::UcsX, uint32_t(std::max<int64_t>(0, roundToInt(x))));
        setWork32(out(), cell::UcsY, uint32_t(std::max<int64_t>(0, roundToInt(y))));
    }
    void orMarker(uint8_t m) {
        uint8_t& st = out().work[cell::Status];
        const int sum = std::min(3, (st & status::MarkerMask) | m);
        st = uint8_t((st & ~status::MarkerMask) | sum);
    }

    void later(int i, bool marked) {
        const Pos Q{double(ucsX(s_.frame(i))), double(ucsY(s_.frame(i)))};
        const double d = std::hypot(Q.x - L_.x, Q.y - L_.y);
        if (d <= half_ || d == 0) return;
        if (d < S15_) {
            place(i, Q, d);
            orMarker(mu_);
            return;
        }
        double d2 = 0;
        do {
            commit();
            if (full_) return;
            const FrameRecord& kept = s_.frame(o_ - 1);
            L_ = Pos{double(work32(kept, cell::UcsX)), double(work32(kept, cell::UcsY))};
            d2 = std::hypot(Q.x - L_.x, Q.y - L_.y);
            place(i, Q, d2);
            if (marked)
                orMarker(mu_);
            else
                mu_ = 0;
        } while (d2 >= S15_);
    }

    ProfileStore& s_;
    const int S_, half_, S15_;
    int o_ = 0;
    bool full_ = false;
    uint8_t mu_ = 0;
    Pos L_;
};

} // namespace

CorrectionResult Kor_LX(ProfileStore& s, const CorrectionSettings& st, Interaction& ui) {
    CorrectionResult r;
    const int proposed = proposedStepItem(st.meanProfileStep);
    const int current = std::clamp(st.stepItem, 0, int(STEP_TABLE.size()) - 1);
    const Answer a = ui.show(
        coordmsg::correctionQuestion(STEP_TABLE[size_t(proposed)], STEP_TABLE[size_t(current)]));
    if (a != Answer::Yes && a != Answer::No) return r;
    r.stepItem = a == Answer::Yes ? proposed : current;
    r.stepCm = STEP_TABLE[size_t(r.stepItem)];

    const int oldLast = lastSlot(s);
    Builder b(s, r.stepCm);
    b.run();
    const int o = b.outputs();
    int lastIn = -1;
    for (int k = 0; k < o; ++k) {
        FrameRecord& f = s.frame(k);
        f.value = f.work;
        f.work.fill(0);
        if (k > 2 && f.markerStatus() > 0)
            for (int j = k - 3; j < k; ++j)
                s.frame(j).value[cell::Status] &= uint8_t(~status::MarkerMask);
        if (f.inProfile()) lastIn = k;
    }
    for (int k = o; k <= std::max(oldLast, o); ++k) {
        s.frame(k).value.fill(0);
        s.frame(k).work.fill(0);
    }
    const int n = lastIn < 0 ? 40 : lastIn / 20 * 20 + 40;
    s.frameCount = std::min(n, MAX_FRAME_INDEX);
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
    s.viewStart = 0;
    s.stateFlags |= state::Changed;
    r.done = true;
    r.frameCount = s.frameCount;
    return r;
}

} // namespace tesk::coords
