#include "editing/edit_history.h"

#include "editing/frame_ops.h"
#include "editing/slots.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <variant>

namespace tesk::editing {

namespace {

struct FreeBytes {
    void operator()(uint8_t* p) const { std::free(p); }
};
using Bytes = std::unique_ptr<uint8_t[], FreeBytes>;

// Memory for a picture, left uninitialised: every byte is written at once.
// A picture of a whole survey is tens of megabytes; asking for large pages
// spares the kernel thousands of page faults while it is filled. Smaller
// pictures take ordinary pages, where rounding up to a large page would waste
// more than it saves.
Bytes allocateBytes(std::size_t n) {
    constexpr std::size_t LARGE_PAGE = std::size_t(2) << 20;
    constexpr std::size_t LARGE_PICTURE = 8 * LARGE_PAGE;
    if (n < LARGE_PICTURE)
        return Bytes(static_cast<uint8_t*>(std::malloc(std::max<std::size_t>(n, 1))));
    const std::size_t rounded = (n + LARGE_PAGE - 1) / LARGE_PAGE * LARGE_PAGE;
    void* p = std::aligned_alloc(LARGE_PAGE, rounded);
#ifdef MADV_HUGEPAGE
    if (p) ::madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return Bytes(static_cast<uint8_t*>(p));
}

// The value bytes of a range of slots as they stood: only the frames that are
// not empty are kept, as runs of consecutive slots.
struct FramePicture {
    int first = 0;
    int last = -1;
    std::vector<std::pair<int, int>> runs; // first slot, frames
    Bytes bytes;
    std::size_t frames = 0;
    int swept = 0; // while a sweep fills the picture: the next slot to keep

    std::size_t memory() const {
        return frames * CELLS_PER_FRAME + runs.capacity() * sizeof(runs[0]);
    }
};

FramePicture capture(const ProfileStore& s, int first, int last) {
    FramePicture p;
    p.first = first;
    p.last = last;
    const FrameRecord* f = s.frames();
    for (int i = first; i <= last; ++i) {
        if (valueEmpty(f[i])) continue;
        if (!p.runs.empty() && p.runs.back().first + p.runs.back().second == i)
            ++p.runs.back().second;
        else
            p.runs.emplace_back(i, 1);
        ++p.frames;
    }
    p.bytes = allocateBytes(p.frames * CELLS_PER_FRAME);
    if (!p.bytes) throw std::bad_alloc();
    uint8_t* out = p.bytes.get();
    for (const auto& [slot, count] : p.runs)
        for (int i = slot; i < slot + count; ++i, out += CELLS_PER_FRAME)
            std::memcpy(out, f[i].value.data(), CELLS_PER_FRAME);
    return p;
}

// A picture filled frame by frame while a command sweeps over its range in
// slot order: each frame is read once, kept and changed while it is in the
// cache. Room for every frame is asked for; only what is kept is touched.
FramePicture startSweep(int first, int last) {
    FramePicture p;
    p.first = first;
    p.last = last;
    p.swept = first;
    p.bytes = allocateBytes(std::size_t(last - first + 1) * CELLS_PER_FRAME);
    if (!p.bytes) throw std::bad_alloc();
    return p;
}

void sweepTo(const ProfileStore& s, FramePicture& p, int slot) {
    const FrameRecord* f = s.frames();
    slot = std::min(slot, p.last);
    for (; p.swept <= slot; ++p.swept) {
        const int i = p.swept;
        if (valueEmpty(f[i])) continue;
        if (!p.runs.empty() && p.runs.back().first + p.runs.back().second == i)
            ++p.runs.back().second;
        else
            p.runs.emplace_back(i, 1);
        std::memcpy(p.bytes.get() + p.frames * CELLS_PER_FRAME, f[i].value.data(), CELLS_PER_FRAME);
        ++p.frames;
    }
}

void restore(ProfileStore& s, const FramePicture& p) {
    FrameRecord* f = s.frames();
    const uint8_t* in = p.bytes.get();
    int next = p.first;
    for (const auto& [slot, count] : p.runs) {
        for (; next < slot; ++next) emptyValue(f[next]);
        for (int i = slot; i < slot + count; ++i, in += CELLS_PER_FRAME)
            std::memcpy(f[i].value.data(), in, CELLS_PER_FRAME);
        next = slot + count;
    }
    for (; next <= p.last; ++next) emptyValue(f[next]);
}

// Slots rewritten freely. The picture holds the other side of the change:
// before it while the step is done, after it while the step is undone, so
// undo and redo are the same exchange.
struct FramesEntry {
    FramePicture picture;
};

// A block moved by value; undone by moving it back. What the move overwrote
// is a FramesEntry recorded just before it.
struct MoveEntry {
    int src;
    int dst;
    int count;
};

constexpr std::array<int, 4> NUMBERING_CELLS = {cell::ProfileNumber, cell::ProfileNumber + 1,
                                                cell::IndexInProfile, cell::IndexInProfile + 1};

// Profile numbers and frame numbers of single frames, exchanged like pictures.
struct NumberingEntry {
    std::vector<int> slots;
    std::vector<std::array<uint8_t, 4>> bytes;
};

struct MirrorEntry {
    int first;
    int last;
};

// Move up: the rotation of each frame follows from the cursor row and the
// frame's accumulator before the move, so the accumulators are all it keeps.
struct MoveUpEntry {
    int first;
    int row;
    std::vector<uint16_t> shifts;
};

// A doubling that dropped no source frame: undone by taking each source frame
// back; the slots above the sources are a FramesEntry recorded just before.
struct DoublingEntry {
    int lastSource;
    int newN;
    int clearTo;
};

using Entry =
    std::variant<FramesEntry, MoveEntry, NumberingEntry, MirrorEntry, MoveUpEntry, DoublingEntry>;

std::size_t entryMemory(const Entry& e) {
    if (const auto* f = std::get_if<FramesEntry>(&e)) return f->picture.memory();
    if (const auto* n = std::get_if<NumberingEntry>(&e))
        return n->slots.capacity() * sizeof(int) + n->bytes.capacity() * 4;
    if (const auto* m = std::get_if<MoveUpEntry>(&e)) return m->shifts.capacity() * 2;
    return 0;
}

void exchange(ProfileStore& s, FramesEntry& e) {
    FramePicture now = capture(s, e.picture.first, e.picture.last);
    restore(s, e.picture);
    e.picture = std::move(now);
}

void exchange(ProfileStore& s, NumberingEntry& e) {
    for (std::size_t k = 0; k < e.slots.size(); ++k) {
        FrameRecord& f = s.frame(e.slots[k]);
        for (int c = 0; c < 4; ++c) std::swap(f.value[NUMBERING_CELLS[c]], e.bytes[k][c]);
    }
}

void undoEntry(ProfileStore& s, Entry& e) {
    if (auto* f = std::get_if<FramesEntry>(&e)) return exchange(s, *f);
    if (auto* n = std::get_if<NumberingEntry>(&e)) return exchange(s, *n);
    if (auto* m = std::get_if<MoveEntry>(&e)) return moveValues(s, m->dst, m->src, m->count);
    if (auto* r = std::get_if<MirrorEntry>(&e)) return reverseValues(s, r->first, r->last);
    if (auto* d = std::get_if<DoublingEntry>(&e)) return undoubleValues(s, d->lastSource);
    auto& u = std::get<MoveUpEntry>(e);
    for (std::size_t k = 0; k < u.shifts.size(); ++k) {
        FrameRecord& f = s.frame(u.first + int(k));
        rotateSamplesUp(f, SAMPLE_ROWS - moveUpRotation(u.row, u.shifts[k]));
        f.set16(cell::VerticalShift, u.shifts[k]);
    }
}

void redoEntry(ProfileStore& s, Entry& e) {
    if (auto* f = std::get_if<FramesEntry>(&e)) return exchange(s, *f);
    if (auto* n = std::get_if<NumberingEntry>(&e)) return exchange(s, *n);
    if (auto* m = std::get_if<MoveEntry>(&e)) return moveValues(s, m->src, m->dst, m->count);
    if (auto* r = std::get_if<MirrorEntry>(&e)) return reverseValues(s, r->first, r->last);
    if (auto* d = std::get_if<DoublingEntry>(&e))
        return doubleValues(s, d->lastSource, d->newN, d->clearTo);
    auto& u = std::get<MoveUpEntry>(e);
    for (std::size_t k = 0; k < u.shifts.size(); ++k) moveUpFrame(s.frame(u.first + int(k)), u.row);
}

struct HeaderCell {
    uint8_t cell;
    uint8_t before;
    uint8_t after;
};

} // namespace

struct EditStep {
    EditKind kind;
    std::vector<Entry> entries;
    std::array<uint8_t, HEADER_CELLS> headerAtStart{};
    std::vector<HeaderCell> header; // the cells the step changed
    int frameCountBefore = 0;
    int frameCountAfter = 0;
    std::size_t memory = 0;

    void measure() {
        memory = sizeof(EditStep) + entries.capacity() * sizeof(Entry) +
                 header.capacity() * sizeof(HeaderCell);
        for (const Entry& e : entries) memory += entryMemory(e);
    }
};

EditJournal::EditJournal(const ProfileStore& s, EditKind kind)
    : store_(&s), step_(std::make_unique<EditStep>()) {
    step_->kind = kind;
    step_->headerAtStart = s.header.value;
    step_->frameCountBefore = s.frameCount;
}

EditJournal::~EditJournal() = default;
EditJournal::EditJournal(EditJournal&&) noexcept = default;
EditJournal& EditJournal::operator=(EditJournal&&) noexcept = default;

EditKind EditJournal::kind() const {
    return step_->kind;
}

void EditJournal::closeSweep() {
    if (sweep_ < 0) return;
    auto& p = std::get<FramesEntry>(step_->entries[std::size_t(sweep_)]).picture;
    sweepTo(*store_, p, p.last);
    sweep_ = -1;
}

void EditJournal::sweepBefore(int first, int last) {
    closeSweep();
    first = std::max(first, 0);
    last = std::min(last, MAX_FRAME_INDEX);
    if (first > last) return;
    step_->entries.emplace_back(FramesEntry{startSweep(first, last)});
    sweep_ = int(step_->entries.size()) - 1;
}

void EditJournal::keepUpTo(int slot) {
    if (sweep_ < 0) return;
    sweepTo(*store_, std::get<FramesEntry>(step_->entries[std::size_t(sweep_)]).picture, slot);
}

void EditJournal::framesBefore(int first, int last) {
    closeSweep();
    first = std::max(first, 0);
    last = std::min(last, MAX_FRAME_INDEX);
    if (first > last) return;
    step_->entries.emplace_back(FramesEntry{capture(*store_, first, last)});
}

void EditJournal::moveBefore(int src, int dst, int count) {
    closeSweep();
    if (count <= 0 || src == dst) return;
    // The part of the destination outside the source is overwritten.
    if (dst > src)
        framesBefore(std::max(dst, src + count), dst + count - 1);
    else
        framesBefore(dst, std::min(dst + count, src) - 1);
    step_->entries.emplace_back(MoveEntry{src, dst, count});
}

void EditJournal::numberingBefore(int slot) {
    closeSweep();
    auto& entries = step_->entries;
    if (entries.empty() || !std::holds_alternative<NumberingEntry>(entries.back()))
        entries.emplace_back(NumberingEntry{});
    auto& n = std::get<NumberingEntry>(entries.back());
    const FrameRecord& f = store_->frame(slot);
    n.slots.push_back(slot);
    n.bytes.push_back({f.value[NUMBERING_CELLS[0]], f.value[NUMBERING_CELLS[1]],
                       f.value[NUMBERING_CELLS[2]], f.value[NUMBERING_CELLS[3]]});
}

void EditJournal::mirrorBefore(int first, int last) {
    closeSweep();
    if (first <= last) step_->entries.emplace_back(MirrorEntry{first, last});
}

void EditJournal::doublingBefore(int lastSource, int newN, int clearTo) {
    closeSweep();
    framesBefore(lastSource + 1, clearTo);
    step_->entries.emplace_back(DoublingEntry{lastSource, newN, clearTo});
}

void EditJournal::moveUpBefore(int first, int last, int row) {
    closeSweep();
    if (first > last) return;
    MoveUpEntry u{first, row, {}};
    u.shifts.reserve(std::size_t(last - first + 1));
    for (int i = first; i <= last; ++i)
        u.shifts.push_back(uint16_t(store_->frame(i).get16(cell::VerticalShift)));
    step_->entries.emplace_back(std::move(u));
}

EditHistory::EditHistory(std::size_t memoryLimit, int stepLimit)
    : memoryLimit_(memoryLimit), stepLimit_(std::max(stepLimit, 1)) {}

EditHistory::~EditHistory() = default;

void EditHistory::commit(ProfileStore& s, EditJournal&& journal) {
    if (journal.step_) journal.closeSweep();
    std::unique_ptr<EditStep> step = std::move(journal.step_);
    if (!step) return;
    for (int c = 0; c < HEADER_CELLS; ++c)
        if (step->headerAtStart[c] != s.header.value[c])
            step->header.push_back({uint8_t(c), step->headerAtStart[c], s.header.value[c]});
    step->frameCountAfter = s.frameCount;
    if (step->entries.empty() && step->header.empty() &&
        step->frameCountBefore == step->frameCountAfter)
        return;
    step->measure();
    redo_.clear();
    undo_.push_back(std::move(step));
    trim(undo_.back().get());
}

std::optional<EditKind> EditHistory::undo(ProfileStore& s) {
    if (undo_.empty() || (s.stateFlags & state::Busy)) return std::nullopt;
    std::unique_ptr<EditStep> step = std::move(undo_.back());
    undo_.pop_back();
    for (auto e = step->entries.rbegin(); e != step->entries.rend(); ++e) undoEntry(s, *e);
    for (const HeaderCell& h : step->header) s.header.value[h.cell] = h.before;
    s.frameCount = step->frameCountBefore;
    s.stateFlags |= state::Changed;
    const EditKind kind = step->kind;
    step->measure();
    redo_.push_back(std::move(step));
    trim(redo_.back().get());
    return kind;
}

std::optional<EditKind> EditHistory::redo(ProfileStore& s) {
    if (redo_.empty() || (s.stateFlags & state::Busy)) return std::nullopt;
    std::unique_ptr<EditStep> step = std::move(redo_.back());
    redo_.pop_back();
    for (Entry& e : step->entries) redoEntry(s, e);
    for (const HeaderCell& h : step->header) s.header.value[h.cell] = h.after;
    s.frameCount = step->frameCountAfter;
    s.stateFlags |= state::Changed;
    const EditKind kind = step->kind;
    step->measure();
    undo_.push_back(std::move(step));
    trim(undo_.back().get());
    return kind;
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
}

std::size_t EditHistory::memoryUsed() const {
    std::size_t total = 0;
    for (const auto& st : undo_) total += st->memory;
    for (const auto& st : redo_) total += st->memory;
    return total;
}

void EditHistory::trim(const EditStep* keep) {
    // The oldest undo steps go first, then the redo steps furthest away; the
    // step just done, undone or redone always stays.
    auto over = [&] {
        const std::size_t steps = undo_.size() + redo_.size();
        return steps > std::size_t(stepLimit_) || memoryUsed() > memoryLimit_;
    };
    while (over()) {
        if (!undo_.empty() && undo_.front().get() != keep)
            undo_.pop_front();
        else if (!redo_.empty() && redo_.front().get() != keep)
            redo_.pop_front();
        else
            break;
    }
}

} // namespace tesk::editing
