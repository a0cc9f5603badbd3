#pragma once

#include <QString>

namespace figures {

class CViewWnd;

// The view's clipboard commands. The component's own data travels under one private
// format: the object records of the copied objects (see clipboardrecords.h). A copy also
// offers a picture of the objects (an image and SVG) for other programs, and text or a
// picture from another program can be pasted as a new object. Every failure of the
// clipboard leaves the view as it was, silently.
class ViewClipboard {
public:
    // The MIME type of the component's format; on Windows it is the clipboard format
    // registered under the name "KVIEWMARK".
    static QString MimeType();

    explicit ViewClipboard(CViewWnd& view) : view_(view) {}

    // The clipboard holds data in the component's format.
    bool HasData() const;
    // The clipboard holds text or an image from another program (data without the
    // component's format).
    bool HasExternalData() const;

    // Puts the selected objects' records, in selection order, on the clipboard. False
    // when nothing was placed (no view, no selection, a record could not be written).
    bool Copy();
    // Copies, then deletes the selection; nothing is deleted when the copy failed.
    void Cut();
    // Adds the objects of the clipboard's records, placed 200 units in from the visible
    // top-left, with their stored layers; they become the selection.
    void Paste();
    // Adds a text-box shape holding the clipboard's text, or a picture box holding its
    // image, at the paste position, selected alone.
    void PasteExternal();

private:
    CViewWnd& view_;
};

} // namespace figures
