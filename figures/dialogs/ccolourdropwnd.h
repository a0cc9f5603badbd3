#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

namespace figures {

// The palette that drops down from a colour picker: 32 colour cells in 7 columns, a
// default-colour box above them and a custom-colour box below (each only when its text is
// not empty). Moving the mouse or the arrow keys highlight an entry; a click, Enter or
// Space chooses it; Esc, a click outside or leaving the application cancel. The custom
// box asks the colour dialog. The window deletes itself when it closes.
class CColourDropWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int kColumns = 7;
    static constexpr int kCellSize = 18;
    static constexpr int kColourCount = 32;
    static constexpr int kDefaultBox = -3;
    static constexpr int kCustomBox = -2;
    static constexpr int kNoEntry = -1;

    struct NamedColour {
        uint32_t colour;
        const char* name; // UTF-8
    };
    static const std::array<NamedColour, kColourCount>& Colours();

    // Placed with its top-left at topLeft (screen), moved to stay on the screen.
    CColourDropWnd(QPoint topLeft, uint32_t initial, const QString& defaultText,
                   const QString& customText, QWidget* parent = nullptr);

    int HotEntry() const { return hot_; }
    int InitialEntry() const { return initial_; }
    // The rectangle of an entry (cell index or box) in the window.
    QRect EntryRect(int entry) const;
    // The entry the arrow key leads to from an entry.
    int NextEntry(int from, int key) const;

signals:
    void highlighted(uint32_t colour);
    // Sent once, when the palette ends: the chosen colour, or the initial one on cancel.
    void ended(uint32_t colour, bool chosen);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    int Margin() const;
    int BoxHeight() const;
    int EntryAt(QPoint p) const;
    uint32_t ColourOf(int entry) const;
    void SetHot(int entry);
    void Choose(int entry);
    void Finish(uint32_t colour, bool chosen);
    void PaintEntry(QPainter& p, int entry) const;

    uint32_t initialColour_;
    QString defaultText_;
    QString customText_;
    int initial_ = kNoEntry;
    int hot_ = kNoEntry;
    bool armed_ = false;
    bool finished_ = false;
    bool inColourDialog_ = false;
};

} // namespace figures
