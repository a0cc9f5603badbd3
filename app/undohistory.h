#pragma once

#include "app/snapshotpool.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace app {

// The editor's undo history: up to thirty versions of the canvas's document in slots
// 1..30, the position p of the version on show and the count c of versions recorded.
// p and c stay within 2 <= p <= c <= 30; the slots above c hold the document the canvas
// had before anything was loaded.
//
// A version is recorded after every completed change and after every load. Recording
// while an older version is on show drops the versions after it; recording with all
// thirty slots in use drops the oldest (slot 1) and keeps p = c = 30. Stepping back
// stops at position 2, so slot 1 is the floor of the history.
//
// Versions share their unchanged bytes through a SnapshotPool, so thirty versions of a
// large document after small edits cost little more than one copy of it.
class UndoHistory {
public:
    static constexpr int kSlots = 30;
    // Shows a version on the canvas. Recording is ignored while it runs.
    using Restore = std::function<void(const SnapshotPool::Snapshot&)>;

    // initialDocument: the canvas's document before anything was loaded, which fills the
    // unused slots. currentDocument: the document on show now, in slots 1 and 2.
    UndoHistory(std::span<const uint8_t> initialDocument,
                std::span<const uint8_t> currentDocument);

    // Records the document after a change or a load. Nothing happens while a version is
    // being restored or when the document equals the version on show, byte for byte.
    // True when a version was recorded.
    bool RecordSnapshot(std::span<const uint8_t> document);
    // Steps back one version and hands it to restore. False, and nothing restored, when
    // CanUndo() is false.
    bool Undo(const Restore& restore);
    // Steps forward one version and hands it to restore. False when CanRedo() is false.
    bool Redo(const Restore& restore);

    // The enabled states of the commands "恢复" and "重复".
    bool CanUndo() const { return position_ > 2; }
    bool CanRedo() const { return count_ != position_; }
    bool Restoring() const { return restoring_; }

    int Position() const { return position_; }
    int Count() const { return count_; }
    // Slot 1..30.
    const SnapshotPool::Snapshot& Slot(int slot) const;
    // What all the versions cost in memory, chunks and bookkeeping together.
    size_t MemoryUse() const { return pool_.MemoryUse(); }

private:
    bool Step(int to, const Restore& restore);
    SnapshotPool::Handle& At(int slot) { return slots_[size_t(slot - 1)]; }

    SnapshotPool pool_;
    SnapshotPool::Handle initial_;
    std::array<SnapshotPool::Handle, kSlots> slots_;
    int position_ = 2;
    int count_ = 2;
    bool restoring_ = false;
};

} // namespace app
