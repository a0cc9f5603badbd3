#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace figures {

// The window in which a shape's text is typed in place: one multi-line edit over the text
// box, Enter starts a new line, Esc closes it. There is no OK: every change is handed on
// at once, so the shape follows the typing.
//
// Text the shape cannot store is refused as it is typed: more than the byte limit in the
// shape's code page (GBK), or characters that code page has no bytes for. The edit then
// goes back to the last text handed on.
class TextInputDialog : public QDialog {
    Q_OBJECT

public:
    // Called with the new text and whether its count of line breaks changed.
    using Changed = std::function<void(const QString& text, bool lineCountChanged)>;

    TextInputDialog(QPoint position, const QString& initialText, Changed onChange, int byteLimit,
                    QWidget* parent = nullptr);

    QString Text() const { return kept_; }
    QPlainTextEdit* Editor() const { return edit_; }
    // Moves the window so that it stays over the box it edits (screen coordinates).
    void FollowTo(QPoint position);

    // The bytes text takes in GBK; -1 when a character has no GBK form.
    static int GbkByteCount(const QString& text);

private:
    void EditChanged();

    QPlainTextEdit* edit_;
    QString kept_;
    Changed onChange_;
    int byteLimit_;
    bool reverting_ = false;
};

} // namespace figures
