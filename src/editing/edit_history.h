#pragma once
// Undo and redo of the frame edits and resamplings.
//
// A command opens an EditJournal before it changes the store and, before each
// change, tells the journal what it is about to change: a range of slots it
// rewrites freely (their value bytes are kept, runs of empty frames as a
// count only), a block of slots it moves, the profile numbering of single
// frames, a block it mirrors, a block it moves up in time. At its end the
// command hands the journal to EditHistory as one step, together with the
// header cells and the frame count it changed.
//
// Undo walks a step's entries backwards and puts back what each changed; redo
// walks them forwards again. A moved block is moved back rather than copied,
// so a delete near the start of a full survey costs a few hundred kilobytes
// of history, not the whole survey. The value bytes of every slot, the header
// cells the edit changed and frameCount come back byte for byte. Work bytes
// are never touched, so the frame clipboard survives undo and redo.

#include "store/profile_store.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace tesk::editing {

enum class EditKind {
    ShiftRight,
    ShiftLeft,
    Paste,
    Delete,
    Mirror,
    MoveUp,
    ResampleX,
    ResampleT,
};

struct EditStep; // defined in edit_history.cpp

class EditJournal {
  public:
    // Remembers the header value bytes and frameCount as they stand.
    EditJournal(const ProfileStore& s, EditKind kind);
    ~EditJournal();
    EditJournal(EditJournal&&) noexcept;
    EditJournal& operator=(EditJournal&&) noexcept;

    // Slots first..last (clipped to 0..64000) are about to be rewritten in
    // any way; call it right before rewriting them and before the next entry.
    void framesBefore(int first, int last);
    // The same for a command that rewrites slots first..last in one sweep in
    // slot order: it calls keepUpTo(i) before it changes slot i, so each
    // frame is read from memory once. The next entry or the commit keeps the
    // rest of the range as it stands.
    void sweepBefore(int first, int last);
    void keepUpTo(int slot);
    // The value bytes of `count` slots from src are about to move to dst; the
    // slots of the source that the destination does not cover become empty.
    void moveBefore(int src, int dst, int count);
    // The profile number and frame number in profile of one slot are about
    // to be rewritten.
    void numberingBefore(int slot);
    // Slots first..last are about to be mirrored along X, their reversed
    // flags toggled.
    void mirrorBefore(int first, int last);
    // Source frames 0..lastSource are about to be doubled along X in place
    // (doubleValues) without losing any of them.
    void doublingBefore(int lastSource, int newN, int clearTo);
    // Slots first..last are about to be moved up in time with cursor row `row`.
    void moveUpBefore(int first, int last, int row);

    EditKind kind() const;

  private:
    friend class EditHistory;
    void closeSweep();

    const ProfileStore* store_;
    std::unique_ptr<EditStep> step_;
    int sweep_ = -1; // entry a sweep is filling
};

class EditHistory {
  public:
    static constexpr std::size_t DEFAULT_MEMORY_LIMIT = std::size_t(512) << 20;
    static constexpr int DEFAULT_STEP_LIMIT = 100;

    explicit EditHistory(std::size_t memoryLimit = DEFAULT_MEMORY_LIMIT,
                         int stepLimit = DEFAULT_STEP_LIMIT);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Keeps the journal as the newest step when it changed anything, drops
    // every step that could have been redone, and lets the oldest steps go
    // while the history holds more than its step or memory limit.
    void commit(ProfileStore& s, EditJournal&& journal);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Undoes (redoes) the newest step and marks the survey changed; nothing
    // happens while the store is busy or when there is no step. Returns the
    // kind of the step.
    std::optional<EditKind> undo(ProfileStore& s);
    std::optional<EditKind> redo(ProfileStore& s);
    // Forgets every step: after a file is opened, or when anything other than
    // the editing commands moves frames or changes frameCount.
    void clear();

    int undoSteps() const { return int(undo_.size()); }
    int redoSteps() const { return int(redo_.size()); }
    std::size_t memoryUsed() const;

  private:
    void trim(const EditStep* keep);

    std::size_t memoryLimit_;
    int stepLimit_;
    std::deque<std::unique_ptr<EditStep>> undo_; // newest at the back
    std::deque<std::unique_ptr<EditStep>> redo_; // next to redo at the back
};

} // namespace tesk::editing
