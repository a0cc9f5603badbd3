#pragma once

#include <cstdint>

namespace figures {

class CViewWnd;

// The commands that rearrange the selected objects of the view's shown view: layer
// order, alignment and equal size, one-pixel nudges, quarter turns and flips, groups,
// locks and deletion. Every command does nothing without a shown view or with too few
// selected objects; none shows a message. Locked objects take part in everything except
// alignment.
class ArrangeCommands {
public:
    enum class AlignKind : uint8_t { Top, Left, Bottom, Right, SameWidth, SameHeight };
    enum class NudgeKind : uint8_t {
        Up,
        Down,
        Left,
        Right,
        BottomEdgeUp,
        BottomEdgeDown,
        RightEdgeLeft,
        RightEdgeRight,
    };

    explicit ArrangeCommands(CViewWnd& view) : view_(view) {}

    // Runs the arrange command with the id (ViewCommandId); false for any other id.
    bool Run(int32_t id);

    // Brings the selection above every other object, keeping the differences of their
    // layers, or sends it to layer 0 in front of the list, below the other layer-0
    // objects. The selection stays.
    void ReorderSelection(bool toTop);
    // Moves edges or sizes every selected object except the last one, which is the
    // reference, and except locked ones. Needs two selected objects.
    void AlignSelection(AlignKind kind);
    // Moves edges by one client pixel in document units at the current zoom; locked
    // objects included, no lower limit (an edge may pass its opposite).
    void NudgeSelection(NudgeKind kind);
    // A quarter turn of every selected object that can rotate; results are brought back
    // into 0..3599 by one turn.
    void RotateSelection(bool clockwise);
    // Toggles the flip bit of every selected object that can be flipped.
    void FlipSelection(bool horizontal);
    // Makes one group of the selection, which then holds only the group.
    void GroupSelection();
    // Dissolves every selected group into its members, placed where the group draws
    // them and above all other objects; the selection becomes the former members.
    void UngroupSelection();
    void LockSelection(bool locked);
    // Deletes the selected objects; the selection is empty afterwards.
    void DeleteSelection();

private:
    CViewWnd& view_;
};

} // namespace figures
