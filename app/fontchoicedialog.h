#pragma once

#include "figures/control/figureinterface.h"

#include <QDialog>
#include <QFont>

#include <cstdint>

class QComboBox;
class QFontDialog;

namespace app {

// The font command's dialog: face, style, size, underline and strike-out as the platform's
// font chooser offers them, plus the text colour from the sixteen basic colours. One
// dialog is kept for the window, so every opening starts from the values last accepted,
// not from the selection.
class FontChoiceDialog : public QDialog {
    Q_OBJECT

public:
    explicit FontChoiceDialog(QWidget* parent = nullptr);

    QFont ChosenFont() const;
    uint32_t ChosenColour() const; // 0x00BBGGRR
    void SetChoice(const QFont& font, uint32_t colour);

    // What the font command hands the shapes: the size is the chosen point size plus 43,
    // truncated, the scale the drawing component's text heights were laid out for.
    static figures::FigureInterface::FontParts PartsFor(const QFont& font, uint32_t colour);

private:
    QFontDialog* chooser_ = nullptr;
    QComboBox* colour_ = nullptr;
};

} // namespace app
