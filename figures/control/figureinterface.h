#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace figures {

class ObjectSet;

// A set of drawing objects of one drawing control, taken from FigureWindow::GetObjects,
// that applies one operation to all of them. A value type: copies share one list, so a
// change made through one copy (a Delete emptying it) is seen through every copy.
//
// A set never owns its objects, and it never reaches an object that is gone: entries
// whose object was deleted since the set was taken (by another set, the user or a new
// document) are skipped by every command, and a set whose control was destroyed does
// nothing. Take a fresh set right before an operation all the same: indexes and the
// selection move on.
//
// Commands that "temporarily select" the set remember the control's selection, select the
// set's live objects, run the canvas command with its usual rules (alignment needs two
// objects, nothing runs during a drag) and restore the remembered selection. Shape
// commands act only on shape objects and skip the others. No command throws.
class FigureInterface {
public:
    // The parts of a font to change; an empty part stays as it is.
    struct FontParts {
        std::optional<QString> face; // at most 31 bytes are kept
        std::optional<int> size;     // points
        std::optional<uint32_t> colour;
        std::optional<bool> bold;
        std::optional<bool> italic;
        std::optional<bool> underline;
        std::optional<bool> strikeOut;
    };

    // An empty set bound to no control.
    FigureInterface();
    FigureInterface(const FigureInterface& other);
    FigureInterface& operator=(const FigureInterface& other);
    ~FigureInterface();

    // Live objects in the set.
    int Count() const;
    bool IsEmpty() const { return Count() == 0; }

    // Selects the set alone (the old selection is dropped), deletes it and empties the set.
    void Delete();
    // As Delete, but the objects go to the clipboard first; nothing is deleted when the
    // copy failed.
    void Cut();
    void Copy();
    // Pastes the clipboard's objects with the set temporarily selected.
    void Paste();
    // 1 to the top layer, 2 to the bottom layer; other values do nothing.
    void SetLayer(int where);
    // 1 horizontally, 2 vertically; other values do nothing.
    void Flip(int direction);
    // Against the last object of the set: 1 top edges, 2 bottom edges, 3 left edges,
    // 4 right edges, 5 same width, 6 same height; other values do nothing.
    void Align(int kind);
    // By one screen pixel: 1 up, 2 down, 3 left, 4 right, 5 bottom edge up, 6 bottom edge
    // down, 7 right edge left, 8 right edge right; other values do nothing.
    void Nudge(int kind);
    void Lock();
    void Unlock();
    // Groups the set into one object or dissolves its groups; afterwards nothing is
    // selected and the set is empty.
    void Group();
    void Ungroup();
    // Repaints the shape objects of the set.
    void Redraw();

    // Changes the given font parts of every shape object; the size becomes a height of
    // -(size x the screen's vertical dots per inch / 72). False only when a change failed.
    bool SetFont(const FontParts& parts);
    // Gives every shape object the shape program (custom shape). False for an empty set
    // or when any shape object rejected the bytes (it then holds the empty program).
    bool SetDrawingData(const QByteArray& program);
    // The shape program of the first object when it is a shape object; empty otherwise.
    QByteArray GetDrawingData() const;
    // Gives every shape object the catalogue shape number (1..110; 0 the empty custom
    // program). False for an empty set, for 0, and for a number outside 0..110, which
    // changes nothing.
    bool SetShape(int number);
    // Writes the first object's angle (tenths of a degree as stored, 0 for an empty set)
    // into angle when given. Always true.
    bool GetAngle(int* angle = nullptr) const;
    // Every object gets the angle as given, not normalised; objects draw it modulo 3600.
    // Without a value nothing changes. True.
    bool SetAngle(std::optional<int> angle);
    // Document units. A given left or top moves that edge keeping the width or height; a
    // given width or height places the right or bottom edge from the left or top. Every
    // shape object is changed; true.
    bool SetFrame(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                  std::optional<int> height);
    // As SetFrame in the canvas's client pixels, starting from the first object's frame:
    // a given left or top replaces that coordinate, a given width or height places the
    // opposite edge from the left and top as they then stand. False when the set is empty
    // or its first object is not a shape object.
    bool SetPixelFrame(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                       std::optional<int> height);

private:
    friend class FigureWindow;
    explicit FigureInterface(std::shared_ptr<ObjectSet> set);

    std::shared_ptr<ObjectSet> set_;
};

} // namespace figures
