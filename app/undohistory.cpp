#include "app/undohistory.h"

#include <algorithm>

namespace app {

UndoHistory::UndoHistory(std::span<const uint8_t> initialDocument,
                         std::span<const uint8_t> currentDocument)
    : initial_(pool_.Store(initialDocument))
{
    slots_.fill(initial_);
    slots_[0] = slots_[1] = pool_.Store(currentDocument);
}

bool UndoHistory::RecordSnapshot(std::span<const uint8_t> document)
{
    if (restoring_ || At(position_)->Equals(document)) {
        return false;
    }
    // Stored first: should memory run out, the history stays as it was.
    SnapshotPool::Handle version = pool_.Store(document);
    if (position_ < count_) {
        // A change made while an older version is on show: the versions after it go.
        std::fill(slots_.begin() + position_, slots_.end(), initial_);
        count_ = position_;
    }
    if (count_ < kSlots) {
        ++count_;
    }
    if (position_ < kSlots) {
        ++position_;
    } else {
        // All slots in use: the oldest version leaves, the others move down one slot.
        std::rotate(slots_.begin(), slots_.begin() + 1, slots_.end());
        count_ = kSlots;
        position_ = kSlots;
    }
    At(position_) = std::move(version);
    return true;
}

bool UndoHistory::Undo(const Restore& restore)
{
    return CanUndo() && Step(position_ - 1, restore);
}

bool UndoHistory::Redo(const Restore& restore)
{
    return CanRedo() && Step(position_ + 1, restore);
}

const SnapshotPool::Snapshot& UndoHistory::Slot(int slot) const
{
    return *slots_[size_t(std::clamp(slot, 1, kSlots) - 1)];
}

// Moves to the version at position to and shows it. The restored document is the one on
// show afterwards, so recording it again would only repeat it: recording is off meanwhile.
bool UndoHistory::Step(int to, const Restore& restore)
{
    position_ = to;
    // Holds the version even if restore records or fails part way.
    const SnapshotPool::Handle version = At(to);
    struct RestoringScope {
        bool& flag;
        explicit RestoringScope(bool& f) : flag(f) { flag = true; }
        ~RestoringScope() { flag = false; }
    } scope(restoring_);
    if (restore) {
        restore(*version);
    }
    return true;
}

} // namespace app
