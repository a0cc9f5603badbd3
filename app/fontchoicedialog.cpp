#include "app/fontchoicedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFontDialog>
#include <QFormLayout>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

struct NamedColour {
    const char* name;
    uint32_t value; // 0x00BBGGRR
};

// The basic colours of a font chooser, black first.
constexpr NamedColour kColours[] = {
    {"黑色", 0x000000},   {"褐红色", 0x000080}, {"绿色", 0x008000},   {"橄榄色", 0x008080},
    {"深蓝色", 0x800000}, {"紫色", 0x800080},   {"深青色", 0x808000}, {"灰色", 0x808080},
    {"银色", 0xC0C0C0},   {"红色", 0x0000FF},   {"酸橙色", 0x00FF00}, {"黄色", 0x00FFFF},
    {"蓝色", 0xFF0000},   {"紫红色", 0xFF00FF}, {"水绿色", 0xFFFF00}, {"白色", 0xFFFFFF},
};

QColor ToQColor(uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

FontChoiceDialog::FontChoiceDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字体"));
    chooser_ = new QFontDialog(this);
    // The chooser is a part of this dialog, not a window of its own.
    chooser_->setWindowFlags(Qt::Widget);
    chooser_->setOptions(QFontDialog::NoButtons);
    // Escape in the chooser closes the chooser as a dialog of its own; it closes this whole
    // dialog instead, and the chooser stays in place for the next opening.
    connect(chooser_, &QDialog::finished, this, [this](int result) {
        chooser_->setVisible(true);
        done(result);
    });
    // Without a start the chooser would offer the first face of the system in its first
    // style at its smallest size; the first opening offers the desktop's text font.
    chooser_->setCurrentFont(font());
    colour_ = new QComboBox(this);
    for (const NamedColour& colour : kColours) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(colour.value));
        colour_->addItem(QIcon(swatch), QString::fromUtf8(colour.name), colour.value);
    }
    auto* colourRow = new QFormLayout;
    colourRow->addRow(QStringLiteral("颜色(&C)："), colour_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooser_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

QFont FontChoiceDialog::ChosenFont() const
{
    return chooser_->currentFont();
}

uint32_t FontChoiceDialog::ChosenColour() const
{
    return colour_->currentData().toUInt();
}

void FontChoiceDialog::SetChoice(const QFont& font, uint32_t colour)
{
    chooser_->setCurrentFont(font);
    const int index = colour_->findData(colour);
    colour_->setCurrentIndex(index >= 0 ? index : 0);
}

figures::FigureInterface::FontParts FontChoiceDialog::PartsFor(const QFont& font, uint32_t colour)
{
    figures::FigureInterface::FontParts parts;
    parts.face = font.family();
    // A font given in pixels has no point size (-1); it counts as 0 points.
    parts.size = int(std::trunc(std::max(0.0, font.pointSizeF()) + 43));
    parts.colour = colour;
    parts.bold = font.bold();
    parts.italic = font.italic();
    parts.underline = font.underline();
    parts.strikeOut = font.strikeOut();
    return parts;
}

} // namespace app
