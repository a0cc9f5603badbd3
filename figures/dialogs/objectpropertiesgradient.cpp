// The gradient of fill kind 4 in the properties dialog: its direction, its colours and
// their write-back.
#include "figures/dialogs/ccolourpicker.h"
#include "figures/dialogs/objectpropertiescontrols.h"
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/render/styles/gradient.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>

#include <vector>

namespace figures {

namespace {

constexpr int kFillGradient = 4; // the fill kind that shows a gradient, "透明" without one
constexpr int kMinColours = 2;

// The direction list in its order: the stored mode of each entry and its text.
struct GradientChoice {
    int32_t mode;
    const char* text;
};
constexpr GradientChoice kGradientChoices[] = {
    {0, "无渐变"},      {1, "从上到下"},  {-1, "从下到上"}, {2, "从左到右"}, {-2, "从右到左"},
    {3, "从左上角"},    {-3, "从右下角"}, {4, "从右上角"},  {-4, "从左下角"},
};

int ChoiceOfMode(int32_t mode)
{
    for (int i = 0; i < int(std::size(kGradientChoices)); ++i) {
        if (kGradientChoices[i].mode == mode) {
            return i;
        }
    }
    return 0; // a mode no gradient has draws nothing, as none does
}

// A stored mode outside the eight directions draws nothing: it counts as none.
int32_t EffectiveMode(int32_t mode)
{
    return IsGradientMode(mode) ? mode : 0;
}

uint32_t OrWhite(uint32_t colour)
{
    return colour == CColourPicker::kDefaultColour ? 0xFFFFFF : colour;
}

} // namespace

void ObjectPropertiesDialog::BuildGradientControls(QGridLayout& grid, int row)
{
    QWidget* group = grid.parentWidget();
    c_->gradient = new QComboBox(group);
    c_->gradient->setObjectName(QStringLiteral("gradient"));
    for (const GradientChoice& choice : kGradientChoices) {
        c_->gradient->addItem(QString::fromUtf8(choice.text));
    }
    c_->gradientLabel = new QLabel(QStringLiteral("渐变:"), group);
    c_->gradientLabel->setBuddy(c_->gradient);
    c_->gradientCount = new QSpinBox(group);
    c_->gradientCount->setObjectName(QStringLiteral("gradientCount"));
    c_->gradientCount->setRange(kMinColours, CRectCom::kMaxGradientColours);
    c_->gradientCountLabel = new QLabel(QStringLiteral("颜色数:"), group);
    c_->gradientCountLabel->setBuddy(c_->gradientCount);
    grid.addWidget(c_->gradientLabel, row, 2);
    grid.addWidget(c_->gradient, row, 3);
    grid.addWidget(c_->gradientCountLabel, row, 4);
    grid.addWidget(c_->gradientCount, row, 5);

    // The colours sit on the row the pattern controls use for their kind.
    // In a widget of their own, so that the row takes no room while they are hidden.
    c_->gradientRow = new QWidget(group);
    auto* colours = new QHBoxLayout(c_->gradientRow);
    // The gap above comes with the row: the grid measures gaps by the first control of a
    // row, here the hidden pattern controls.
    colours->setContentsMargins(0, grid.parentWidget()->style()->pixelMetric(
                                       QStyle::PM_LayoutVerticalSpacing), 0, 0);
    c_->gradientColoursLabel = new QLabel(QStringLiteral("渐变颜色:"), c_->gradientRow);
    colours->addWidget(c_->gradientColoursLabel);
    const int side = fontMetrics().height() + 12;
    for (size_t i = 0; i < c_->gradientColours.size(); ++i) {
        auto* picker = new CColourPicker(c_->gradientRow);
        picker->setObjectName(QStringLiteral("gradientColour%1").arg(i));
        picker->setAutoDefault(false);
        // A gradient colour has no default to fall back on.
        picker->SetDefaultText(QString());
        picker->setFixedSize(side * 3 / 2, side);
        connect(picker, &CColourPicker::colourChosen, this,
                &ObjectPropertiesDialog::ShowGradientPreview);
        colours->addWidget(picker);
        c_->gradientColours[i] = picker;
    }
    c_->gradientPreview = new QLabel(c_->gradientRow);
    c_->gradientPreview->setObjectName(QStringLiteral("gradientPreview"));
    c_->gradientPreview->setFrameShape(QFrame::Box);
    c_->gradientPreview->setFixedSize(side * 3, side);
    colours->addSpacing(6);
    colours->addWidget(c_->gradientPreview);
    colours->addStretch(1);
    grid.addWidget(c_->gradientRow, row + 1, 0, 1, 6);

    connect(c_->gradient, &QComboBox::activated, this, &ObjectPropertiesDialog::ApplyGradientRule);
    connect(c_->gradientCount, &QSpinBox::valueChanged, this,
            &ObjectPropertiesDialog::ApplyGradientRule);
}

void ObjectPropertiesDialog::LoadGradient()
{
    c_->gradient->setCurrentIndex(ChoiceOfMode(object_.gradientKind));
    // A count read from a document is not checked there; the dialog offers 2 to 8.
    const bool hasColours = object_.gradientCount >= kMinColours;
    c_->gradientCount->setValue(
        std::clamp(object_.gradientCount, kMinColours, CRectCom::kMaxGradientColours));
    for (size_t i = 0; i < c_->gradientColours.size(); ++i) {
        uint32_t colour = object_.gradientColours[i];
        if (!hasColours && i < 2) {
            colour = i == 0 ? 0xFFFFFF : 0x000000; // a first gradient: white to black
        }
        c_->gradientColours[i]->SetColour(colour);
    }
}

bool ObjectPropertiesDialog::OffersGradient() const
{
    // Preset and custom shapes have no fill region for a see-through fill, so a gradient
    // would never show on them; there the kind stays plain see-through.
    return dynamic_cast<const CRichGraph*>(&object_) == nullptr;
}

void ObjectPropertiesDialog::ApplyGradientRule()
{
    const bool shown = c_->fillKind->currentIndex() == kFillGradient && OffersGradient();
    const bool on = c_->gradient->currentIndex() > 0;
    for (QWidget* w : {static_cast<QWidget*>(c_->gradientLabel),
                       static_cast<QWidget*>(c_->gradient),
                       static_cast<QWidget*>(c_->gradientCountLabel),
                       static_cast<QWidget*>(c_->gradientCount),
                       static_cast<QWidget*>(c_->gradientColoursLabel), c_->gradientRow}) {
        w->setVisible(shown);
    }
    const bool fillEnabled = c_->fillKind->isEnabled();
    c_->gradient->setEnabled(fillEnabled);
    c_->gradientCount->setEnabled(fillEnabled && on);
    const int count = c_->gradientCount->value();
    for (int i = 0; i < int(c_->gradientColours.size()); ++i) {
        c_->gradientColours[size_t(i)]->setVisible(i < count);
        c_->gradientColours[size_t(i)]->setEnabled(fillEnabled && on);
    }
    ShowGradientPreview();
}

void ObjectPropertiesDialog::ShowGradientPreview()
{
    const QSize size = c_->gradientPreview->contentsRect().size();
    QPixmap picture(size);
    picture.fill(Qt::white);
    const int32_t mode = ChosenGradientMode();
    std::vector<uint32_t> stops;
    for (int i = 0; i < c_->gradientCount->value(); ++i) {
        stops.push_back(OrWhite(c_->gradientColours[size_t(i)]->GetColour()));
    }
    const QImage tile = GradientTile(mode, size.width(), size.height(), stops,
                                     Rect{0, 0, size.width(), size.height()});
    if (!tile.isNull()) {
        picture = QPixmap::fromImage(tile);
    }
    c_->gradientPreview->setPixmap(picture);
}

int32_t ObjectPropertiesDialog::ChosenGradientMode() const
{
    return kGradientChoices[std::max(c_->gradient->currentIndex(), 0)].mode;
}

bool ObjectPropertiesDialog::GradientDiffers() const
{
    if (!OffersGradient()) {
        return false;
    }
    const int32_t mode = ChosenGradientMode();
    const int32_t count = c_->gradientCount->value();
    if (mode != EffectiveMode(object_.gradientKind)) {
        return true;
    }
    if (mode == 0) {
        return false; // without a gradient its colours do not count
    }
    if (count != object_.gradientCount) {
        return true;
    }
    for (int i = 0; i < count; ++i) {
        const uint32_t colour = OrWhite(c_->gradientColours[size_t(i)]->GetColour());
        if (colour != object_.gradientColours[size_t(i)]) {
            return true;
        }
    }
    return false;
}

// Stores the chosen direction and, for a gradient, its count and colours; colours beyond
// the count keep their values, so that raising the count again brings them back.
void ObjectPropertiesDialog::WriteGradient()
{
    if (!OffersGradient()) {
        return;
    }
    const int32_t mode = ChosenGradientMode();
    object_.gradientKind = mode;
    if (mode == 0) {
        return;
    }
    const int32_t count = c_->gradientCount->value();
    object_.gradientCount = count;
    for (int i = 0; i < count; ++i) {
        object_.gradientColours[size_t(i)] = OrWhite(c_->gradientColours[size_t(i)]->GetColour());
    }
}

} // namespace figures
