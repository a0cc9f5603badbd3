// The OK step of the properties dialog: validation, then the write-back of what differs.
#include "figures/dialogs/ccolourpicker.h"
#include "figures/dialogs/objectpropertiescontrols.h"
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/dialogs/tenthsspinbox.h"
#include "figures/model/objects/crectcom.h"
#include "figures/render/gbk.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace figures {

namespace {

constexpr int32_t kMaxPosition = 20000;
constexpr int32_t kMinSize = 15;
constexpr int32_t kMaxShadow = 20000;
constexpr int32_t kMaxLineWidth = 5000;
constexpr uint32_t kDefault = CColourPicker::kDefaultColour;

uint32_t OrIfDefault(uint32_t colour, uint32_t replacement)
{
    return colour == kDefault ? replacement : colour;
}

} // namespace

std::optional<QString> ObjectPropertiesDialog::Validate() const
{
    const int32_t x = c_->x->Value();
    const int32_t y = c_->y->Value();
    if (x > kMaxPosition || y > kMaxPosition) {
        return QStringLiteral("对象的位置设置错误!");
    }
    if (c_->width->isEnabled() && c_->height->isEnabled()) {
        const int32_t w = c_->width->Value();
        if (!(multi_ && c_->width->IsEmpty()) && (w < kMinSize || int64_t(x) + w > kMaxPosition)) {
            return QStringLiteral("对象的宽度设置错误!");
        }
        const int32_t h = c_->height->Value();
        if (!(multi_ && c_->height->IsEmpty()) && (h < kMinSize || int64_t(y) + h > kMaxPosition)) {
            return QStringLiteral("对象的高度设置错误!");
        }
    }
    const int32_t shadow = c_->shadowWidth->Value();
    if (shadow < 0 || shadow > kMaxShadow) {
        return QStringLiteral("阴影的宽度设置错误!");
    }
    // A solid line of width 0 would vanish; the message says as much, so 0 is refused
    // wherever the width counts (the dashed kinds draw one pixel wide and ignore it).
    const int32_t lineWidth = c_->lineWidth->Value();
    const int32_t lowest = c_->lineWidth->isEnabled() ? 1 : 0;
    if (lineWidth < lowest || lineWidth > kMaxLineWidth) {
        return QStringLiteral("线条的宽度必须大于0且小于等于500磅!");
    }
    const int32_t angle = c_->angle->Value();
    if (angle < 0 || angle >= 3600) {
        return QStringLiteral("旋转角度必须大于等于0且小于360度!");
    }
    return std::nullopt;
}

void ObjectPropertiesDialog::accept()
{
    if (const std::optional<QString> error = Validate()) {
        ShowError(*error);
        return;
    }
    changed_ = 0;
    if (multi_) {
        WriteMulti();
    } else {
        WriteSingle();
    }
    QDialog::accept();
}

void ObjectPropertiesDialog::WriteMulti()
{
    const auto take = [this](TenthsSpinBox* edit, int32_t& field, uint32_t bit) {
        if (edit->isEnabled() && !edit->IsEmpty()) {
            field = edit->Value();
            changed_ |= bit;
        }
    };
    // The template carries sizes in its right and bottom fields, not edges.
    take(c_->angle, object_.angle, kAngleChanged);
    take(c_->x, object_.frame.left, kXChanged);
    take(c_->y, object_.frame.top, kYChanged);
    take(c_->width, object_.frame.right, kWidthChanged);
    take(c_->height, object_.frame.bottom, kHeightChanged);
    if (c_->font->isEnabled() && fontChanged_) {
        object_.textColour = textColour_;
        object_.font = font_;
        changed_ |= kFontChanged;
    }
}

void ObjectPropertiesDialog::WriteSingle()
{
    WriteSingleStyles();
    WriteSingleFill();
    WriteSingleFrame();
    const std::string jump = ToGbk(c_->jump->currentText());
    if (jump != object_.jumpTarget) {
        object_.jumpTarget = jump;
        changed_ |= kJumpChanged;
    }
}

void ObjectPropertiesDialog::WriteSingleStyles()
{
    if (c_->lineType->isEnabled()) {
        const int32_t type = c_->lineType->currentIndex();
        const int32_t width = c_->lineWidth->Value();
        const uint32_t colour = OrIfDefault(c_->lineColour->GetColour(), 0x000000);
        if ((type != 0 || object_.lineStyle != 0) &&
            (type != object_.lineStyle || width != object_.lineWidth ||
             colour != object_.lineColour)) {
            object_.lineStyle = type;
            object_.lineWidth = width;
            object_.lineColour = colour;
            changed_ |= kLineChanged;
        }
    }
    if (c_->shadowDirection->isEnabled()) {
        const int32_t direction = c_->shadowDirection->currentIndex();
        const int32_t width = c_->shadowWidth->Value();
        const uint32_t colour = OrIfDefault(c_->shadowColour->GetColour(), 0xC0C0C0);
        if ((direction != 0 || object_.shadowDirection != 0) &&
            (direction != object_.shadowDirection || width != object_.shadowOffset ||
             colour != object_.shadowColour)) {
            object_.shadowDirection = direction;
            object_.shadowOffset = width;
            object_.shadowColour = colour;
            changed_ |= kShadowChanged;
        }
    }
    if (c_->font->isEnabled()) {
        const uint32_t colour = OrIfDefault(textColour_, 0x000000);
        if (colour != object_.textColour || !(font_ == object_.font)) {
            object_.textColour = colour;
            object_.font = font_;
            changed_ |= kFontChanged;
        }
    }
    if (c_->hAlign->isEnabled() && c_->vAlign->isEnabled()) {
        const auto h = int16_t(c_->hAlign->currentIndex());
        const auto v = int16_t(c_->vAlign->currentIndex());
        if (h != object_.textHAlign || v != object_.textVAlign) {
            object_.textHAlign = h;
            object_.textVAlign = v;
            changed_ |= kAlignmentChanged;
        }
    }
}

void ObjectPropertiesDialog::WriteSingleFill()
{
    if (!c_->fillKind->isEnabled()) {
        return;
    }
    const int32_t kind = c_->fillKind->currentIndex();
    if (kind < 0) {
        return; // a kind the list does not offer (no fill at all) stays as it is
    }
    const uint32_t colour = kind == 2 ? c_->foreground->GetColour() : c_->fillColour->GetColour();
    const uint32_t back = c_->background->GetColour();
    const int32_t pattern = c_->pattern->currentIndex();
    const int32_t placement = std::max(c_->placement->currentIndex(), 0);
    bool changed = kind != int32_t(object_.fillKind);
    if (!changed) {
        switch (kind) {
        case 1: changed = colour != object_.fillColour; break;
        case 2:
            changed = colour != object_.fillColour || back != object_.fillBackColour ||
                      pattern != object_.hatchStyle;
            break;
        case 3: changed = placement != object_.picturePlacement || !picturePath_.isEmpty(); break;
        case 4: changed = GradientDiffers(); break;
        default: break;
        }
    }
    if (!changed) {
        return;
    }
    object_.fillKind = FillKindFromStored(kind).value_or(FillKind::White);
    object_.fillColour = OrIfDefault(colour, 0xFFFFFF);
    object_.fillBackColour = OrIfDefault(back, 0xFFFFFF);
    object_.hatchStyle = pattern;
    object_.picturePlacement = placement;
    if (kind == 3) {
        // Without a new file the picture the object has stays.
        if (!picturePath_.isEmpty()) {
            object_.fillPicture.LoadFile(picturePath_.toStdString());
        }
    } else {
        object_.fillPicture.Clear();
    }
    if (kind == 4) {
        WriteGradient();
    }
    changed_ |= kFillChanged;
}

void ObjectPropertiesDialog::WriteSingleFrame()
{
    if (c_->angle->isEnabled()) {
        const int32_t angle = c_->angle->Value();
        if (angle != object_.angle) {
            object_.angle = angle;
            changed_ |= kAngleChanged;
        }
    }
    Rect& f = object_.frame;
    if (c_->x->isEnabled()) {
        const int32_t x = c_->x->Value();
        if (x != f.left) {
            f.right += x - f.left;
            f.left = x;
            changed_ |= kXChanged;
        }
        const int32_t y = c_->y->Value();
        if (y != f.top) {
            f.bottom += y - f.top;
            f.top = y;
            changed_ |= kYChanged;
        }
    }
    if (c_->width->isEnabled()) {
        const int32_t w = c_->width->Value();
        if (w != f.Width()) {
            f.right = f.left + w;
            changed_ |= kWidthChanged;
        }
        const int32_t h = c_->height->Value();
        if (h != f.Height()) {
            f.bottom = f.top + h;
            changed_ |= kHeightChanged;
        }
    }
}

} // namespace figures
