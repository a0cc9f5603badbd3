#include "figures/dialogs/fontchoice.h"

#include "figures/dialogs/ccolourpicker.h"
#include "figures/render/devicemapping.h"
#include "figures/render/gbk.h"
#include "figures/render/numeric.h"
#include "figures/render/text/fontmapping.h"

#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace figures {

double ScreenUnitScale(const QWidget* widget)
{
    const QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return DeviceMapping(dpi, dpi).ScaleY();
}

bool ChooseFont(QWidget* parent, LogFont& font, uint32_t& colour)
{
    const double scale = ScreenUnitScale(parent);
    const QFont start = FontFor(font, scale, scale).font;
    QFontDialog dialog(start, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The platform's font dialog has no colour, which text needs here: a picker joins it.
    auto* picker = new CColourPicker(&dialog);
    picker->SetColour(colour);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("颜色:"), &dialog));
    row->addWidget(picker);
    row->addStretch();
    // It sits with the effects (strike-out, underline), where the colour of text belongs.
    const QList<QGroupBox*> groups = dialog.findChildren<QGroupBox*>();
    if (!groups.isEmpty() && groups.front()->layout() != nullptr) {
        if (auto* box = qobject_cast<QBoxLayout*>(groups.front()->layout())) {
            box->addLayout(row);
        } else {
            groups.front()->layout()->addItem(row);
        }
    } else if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const QFont chosen = dialog.selectedFont();
    const double pixels = chosen.pixelSize() > 0
                              ? chosen.pixelSize()
                              : chosen.pointSizeF() * (scale * DeviceMapping::kUnitsPerInch) / 72.0;
    font.SetHeight(-std::max(1, RoundCoord(pixels / scale)));
    font.SetWeight(chosen.weight());
    font.SetItalic(chosen.italic() ? 1 : 0);
    font.SetUnderline(chosen.underline() ? 1 : 0);
    font.SetStrikeOut(chosen.strikeOut() ? 1 : 0);
    // A face the record names but this system substitutes keeps its own name unless the
    // user picked another family.
    if (chosen.family() != start.family()) {
        font.SetFaceName(ToGbk(chosen.family()));
    }
    colour = picker->GetColour();
    return true;
}

} // namespace figures
