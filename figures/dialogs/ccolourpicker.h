#pragma once

#include "figures/dialogs/ccolourdropwnd.h"

#include <QPushButton>
#include <QPointer>

#include <cstdint>

namespace figures {

// A button showing a colour (0x00BBGGRR) with a drop-down arrow; a click opens the
// palette of 32 colours with a default-colour box above and a "more colours" box below.
// kDefaultColour stands for "the default of the property"; the square then shows white
// with the default text over it.
class CColourPicker : public QPushButton {
    Q_OBJECT

public:
    static constexpr uint32_t kDefaultColour = 0xFF000000;

    explicit CColourPicker(QWidget* parent = nullptr);
    ~CColourPicker() override;

    uint32_t GetColour() const { return colour_; }
    void SetColour(uint32_t colour);
    // The colour of the text over the square; kDefaultColour is black.
    void SetTextColour(uint32_t colour);
    // Empty texts hide their box in the palette.
    void SetDefaultText(const QString& text) { defaultText_ = text; }
    void SetCustomText(const QString& text) { customText_ = text; }
    QString DefaultText() const { return defaultText_; }
    QString CustomText() const { return customText_; }
    // With track selection on, hovering in the palette shows the hovered colour at once.
    void SetTrackSelection(bool on) { trackSelection_ = on; }
    bool IsDroppedDown() const { return palette_ != nullptr; }
    // The open palette, or null.
    CColourDropWnd* Palette() const { return palette_; }
    // Opens the palette below the button, as a click does.
    void OpenPalette();

    QSize sizeHint() const override;

signals:
    void colourHighlighted(uint32_t colour);
    void paletteOpened(uint32_t colour);
    void paletteClosed(uint32_t colour);
    void colourChosen(uint32_t colour);
    void choiceCancelled(uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaletteHighlighted(uint32_t colour);
    void PaletteEnded(uint32_t colour, bool chosen);
    QRect ArrowRect() const;

    uint32_t colour_;
    uint32_t textColour_ = kDefaultColour;
    QString defaultText_;
    QString customText_;
    bool trackSelection_ = false;
    QPointer<CColourDropWnd> palette_;
};

} // namespace figures
