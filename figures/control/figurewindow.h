#pragma once

#include "figures/control/figureinterface.h"

#include <QByteArray>
#include <QFrame>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QRect;

namespace figures {

// The drawing control: a frame that holds one editing canvas and exposes the whole drawing
// component to its host through properties, commands and signals. Hosts never see the
// document or the canvas; objects are reached through object sets (FigureInterface).
//
// Indexes of objects are positions in the current view's object list, first drawn first.
// Colours are 0x00BBGGRR; kButtonFace as background means the platform's button colour.
//
// Input: mouse, key and focus events of the canvas arrive at the control as its own
// events, in the control's coordinates, after the canvas has handled them; a host watches
// them with an event filter on the control. The control accepts them, so they do not
// travel further up the widget tree.
//
// No command throws: each one catches its own failures and returns its neutral result
// (false, -1, an empty list or an empty set).
class FigureWindow : public QFrame {
    Q_OBJECT

public:
    // The properties by number, in the order hosts persist and address them.
    enum PropertyId : int {
        PropDocument = 0,         // QByteArray: the whole document
        PropCurrentView = 1,      // int: -1 when no view is current
        PropViewCount = 2,        // int, read only
        PropObjectCount = 3,      // int, read only: objects of the current view
        PropBackColour = 4,       // uint32_t colour
        PropBorderStyle = 5,      // int 0..5, see SetBorderStyle
        PropScrollBars = 6,       // bool
        PropZoom = 7,             // int percent
        PropReserved = 8,         // int, kept in the initial values, no effect
        PropTextEditing = 9,      // bool: double clicks open text boxes for editing
        PropPopupMenu = 10,       // bool: right clicks open the popup menu
        PropGridSpacing = 11,     // int document units, 0 = no grid
        PropAlignmentGuides = 12, // bool
    };
    static constexpr uint32_t kButtonFace = 0xFF000000;
    static constexpr int kDefaultShape = 3; // AddShape without a number: the rectangle

    // A control with the default initial values: one empty view, button-face background,
    // thin sunken border, scroll bars, 100 %, text editing and popup menu on.
    explicit FigureWindow(QWidget* parent = nullptr);
    // A control created from an initial-values block (see InitialValues). A block of an
    // unknown version is ignored; one cut short keeps the defaults for the missing fields.
    explicit FigureWindow(const QByteArray& initialValues, QWidget* parent = nullptr);
    ~FigureWindow() override;

    // The initial-values block, little-endian i32 fields: version 1, document byte count
    // and bytes, background colour, current view, border style, scroll bars, zoom
    // percent, reserved, text editing, popup menu.
    QByteArray InitialValues() const;
    static QByteArray DefaultInitialValues();
    // Applies a block in the order document, current view, background, border, scroll
    // bars, zoom, text editing, popup menu. False (nothing changed) for an unknown version
    // or a document count that does not fit the block.
    bool ApplyInitialValues(const QByteArray& block);

    // --- properties ---
    // Any property by number; an invalid QVariant for an unknown number.
    QVariant Property(int id) const;
    // Writes a property by number; false for an unknown or read-only number or a value
    // that does not convert.
    bool SetProperty(int id, const QVariant& value);

    QByteArray DocumentContent() const;
    // Accepted only when empty (the document is reset to one empty view) or when it
    // starts with the document magic AE BA C2 0B; anything else is ignored and yields
    // false. A document damaged further on keeps the views read before the damage and
    // yields false too.
    bool SetDocumentContent(const QByteArray& bytes);
    // Puts back a document this control handed out earlier through DocumentContent, as an
    // undo does. The same as SetDocumentContent, except that the bytes are kept as the
    // document's own writing instead of being written once more: a large drawing takes
    // longer to write than to read. Bytes of any other origin belong to SetDocumentContent.
    bool RestoreDocumentContent(const QByteArray& bytes);
    int CurrentView() const;
    // A valid index shows that view; any other value leaves no view current.
    void SetCurrentView(int index);
    int ViewCount() const;
    int ObjectCount() const;
    uint32_t BackColour() const;
    void SetBackColour(uint32_t colour);
    int BorderStyle() const;
    // 0 none, 1 sunken edge, 2 raised frame, 3 thin sunken edge, 4 sunken edge inside a
    // raised frame, 5 single line. Other values are kept and draw no border.
    void SetBorderStyle(int style);
    bool ScrollBars() const;
    void SetScrollBars(bool shown);
    int Zoom() const;
    // A positive percent is kept and applied to the current view; zero or a negative value
    // applies the kept zoom again.
    void SetZoom(int percent);
    int Reserved() const;
    void SetReserved(int value);
    bool TextEditing() const;
    void SetTextEditing(bool enabled);
    bool PopupMenu() const;
    void SetPopupMenu(bool enabled);
    // Moved and created frames rest on a grid of this spacing (document units, 0 = off).
    // Not part of the initial values; off in a new control.
    int GridSpacing() const;
    void SetGridSpacing(int units);
    // Moves and creations snap to the edges and centres of the visible objects within a
    // few pixels and show guide lines while dragging. Off in a new control.
    bool AlignmentGuides() const;
    void SetAlignmentGuides(bool on);

    // --- commands ---
    // The current view's index of each selected object in selection order.
    QList<int> GetSelectedIndexes() const;
    // 0 .. n - 1 for the current view's n objects; empty without a current view.
    QList<int> GetAllIndexes() const;
    // The canvas's client size in document units at the current zoom.
    int GetClientWidth() const;
    int GetClientHeight() const;
    // Repaints everything and recomputes the scroll ranges (with a current view).
    void Refresh();
    // Whether the canvas acts on this key by itself (plain arrows move, Shift+arrows move
    // an edge, Delete, the clipboard keys ...). The host still hears of every key; one that
    // handles keys of its own skips these, so that no key acts twice.
    bool HandlesKey(QKeyCombination key) const;
    // Appends a catalogue shape (number 1..110; 0 a custom shape with the empty program)
    // at (10, 10)-(110, 110), filled white. Its index, or -1 without a current view or for
    // a number outside 0..110.
    int AddShape(int number = kDefaultShape);
    // Inserts an empty view named name (the next default name when none) before the view
    // at position, or at the end when position is no view's index. Its index, or -1.
    int InsertView(const std::optional<QString>& name = std::nullopt, int position = -1);
    // A set over the object at index, over all objects of the current view for -1, empty
    // for other negative indexes or an index outside the view.
    FigureInterface GetObjects(int index) const;
    // A set over the objects at the indexes, in list order; indexes outside are skipped.
    FigureInterface GetObjects(const QList<int>& indexes) const;
    // The editor of the document-content property: a modal dialog with a full drawing
    // control working on a copy of the document, beside the shape picker. OK takes the
    // edited document and the view current in the dialog over (documentChanged follows
    // when the document differs); cancel leaves the control exactly as it was. True
    // after OK.
    bool EditDocumentContent();

    // --- output ---
    // Told before each page with the pages done and the total; false cancels the output.
    using OutputProgress = std::function<bool(int done, int total)>;
    // Writes the views at the indexes (view indexes, not objects) to path, drawn exactly as
    // the command-line renderer draws them at each view's own zoom and dpi pixels per inch:
    // a PNG or an SVG of the first view, or a PDF with one page per view, by the extension.
    // The file is replaced only when written whole. False with the reason in error for no
    // valid view, an unknown extension, a failed write or a cancelled output.
    bool ExportViews(const QList<int>& indexes, const QString& path, double dpi, QString& error,
                     const OutputProgress& progress = {}) const;
    // Paints the view at index as vectors into target (device pixels of the painter's
    // device, dpi pixels per inch), as large as fits with its proportions kept, centred, on
    // white: one printed page. False (nothing painted) for no such view.
    bool PaintViewFitted(int index, QPainter& painter, double dpi, const QRect& target) const;

signals:
    // The pointer moved over the object (queued, so it arrives after the move was
    // handled, and only while the object is still in the current view).
    void mouseOverObject(int index);
    // The object under the pointer changed: leaves the old one, then enters the new one,
    // then the over signal follows (queued).
    void mouseEnteredObject(int index);
    void mouseLeftObject(int index);
    // The left button went down on an object after the selection was updated, and came
    // up over one after the mouse was released (direct, during the mouse event).
    void leftButtonPressedOnObject(int index);
    void leftButtonReleasedOnObject(int index);
    // One completed change of the document: a drag, a command, a paste, an edit in a
    // dialog. Emitted once from the event loop after the change, never during a drag, and
    // only when the document differs from the one last reported or handed in.
    void documentChanged();
    // Another view (or none, -1) became current.
    void viewChanged(int index);

protected:
    bool event(QEvent* event) override;

private:
    void ConnectView();
    void NoteChange();
    void FlushChange();
    bool ReadContent(const QByteArray& bytes, bool ownWriting);
    void DeliverCanvasInput(const QEvent& input);

    class Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace figures
