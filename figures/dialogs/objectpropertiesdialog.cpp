#include "figures/dialogs/objectpropertiesdialog.h"

#include "figures/dialogs/ccolourpicker.h"
#include "figures/dialogs/fontchoice.h"
#include "figures/dialogs/messageboxes.h"
#include "figures/dialogs/objectpropertiescontrols.h"
#include "figures/dialogs/tenths.h"
#include "figures/dialogs/tenthsspinbox.h"
#include "figures/model/document.h"
#include "figures/model/objects/crectcom.h"
#include "figures/model/view.h"
#include "figures/render/gbk.h"
#include "figures/render/drawcontext.h"
#include "figures/render/styles/fillstyle.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace figures {

namespace {

const QString kMillimetres = QStringLiteral(" 毫米");
const QString kDegrees = QStringLiteral("°");
const QString kPoints = QStringLiteral("磅");

constexpr int32_t kMaxPosition = 20000; // 2 m
constexpr int32_t kMinSize = 15;
constexpr int32_t kMaxLineWidth = 5000; // 500 points

bool PositionRule(int32_t& v)
{
    if (v > kMaxPosition) {
        return false;
    }
    v = std::max(v, 0);
    return true;
}

TenthsSpinBox::Rule RangeRule(int32_t low, int32_t high)
{
    return [low, high](int32_t& v) { return v >= low && v <= high; };
}

const char* const kLineTypes[] = {"空线", "圆头实线", "方头实线", "虚线",
                                  "点线", "点划线",   "双点划线"};
const char* const kHAlign[] = {"默认", "居左", "居中", "居右"};
const char* const kVAlign[] = {"默认", "居上", "居中", "居下"};

QIcon LineTypeIcon(int type, QSize size)
{
    static const Qt::PenStyle styles[] = {Qt::NoPen,         Qt::SolidLine, Qt::SolidLine,
                                          Qt::DashLine,      Qt::DotLine,   Qt::DashDotLine,
                                          Qt::DashDotDotLine};
    QIcon icon;
    for (const auto& [mode, colour] : {std::pair{QIcon::Normal, QColor(Qt::black)},
                                       std::pair{QIcon::Selected, QColor(Qt::white)}}) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setPen(QPen(colour, 1, styles[type]));
        p.drawLine(0, size.height() / 2 - 1, size.width(), size.height() / 2 - 1);
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

QIcon PatternIcon(int pattern, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    if (const std::optional<QBrush> brush = MakeFillBrush(pattern, 0x000000, 0xFFFFFF)) {
        QPainter p(&pixmap);
        p.fillRect(pixmap.rect(), *brush);
    }
    return QIcon(pixmap);
}

// The picture fitted into size without distortion, drawn as fills draw it.
QPixmap PicturePreview(const CPic& picture, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    if (picture.HasPicture()) {
        QPainter painter(&pixmap);
        DrawContext dc(painter, 96.0, 96.0);
        PictureDrawRequest request;
        request.dc = &dc;
        request.destination = dc.ToDocument(Rect{0, 0, size.width(), size.height()});
        request.placement = 12;
        picture.Draw(request);
    }
    return pixmap;
}

QComboBox* ListOf(std::initializer_list<const char*> texts, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (const char* text : texts) {
        combo->addItem(QString::fromUtf8(text));
    }
    return combo;
}

} // namespace

ObjectPropertiesDialog::ObjectPropertiesDialog(CRectCom& object, bool multi,
                                               const Document* document, QWidget* parent)
    : QDialog(parent), object_(object), multi_(multi), document_(document), font_(object.font),
      textColour_(object.textColour), c_(std::make_unique<Controls>())
{
    setWindowTitle(multi_ ? QStringLiteral("多对象属性设置对话框")
                          : QString::fromStdString(object_.TypeName()) +
                                QStringLiteral("属性设置对话框"));
    auto* layout = new QVBoxLayout(this);
    BuildJumpRow();
    BuildPositionGroup();
    BuildStyleGroup();
    BuildButtons();
    FillLists();
    LoadValues();
    DisableByFlags(multi_ ? 0xF1u : object_.flags);
    ApplyLineTypeRule();
    ApplyShadowRule();
    ApplyFillKindRule();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ObjectPropertiesDialog::~ObjectPropertiesDialog() = default;

void ObjectPropertiesDialog::BuildJumpRow()
{
    auto* row = new QHBoxLayout;
    c_->jumpLabel = new QLabel(QStringLiteral("欲跳转到的视图名称："), this);
    c_->jump = new QComboBox(this);
    c_->jump->setObjectName(QStringLiteral("jumpTarget"));
    c_->jump->setEditable(true);
    c_->jump->setMinimumWidth(fontMetrics().horizontalAdvance(u'文') * 14);
    c_->jumpLabel->setBuddy(c_->jump);
    row->addWidget(c_->jumpLabel);
    row->addWidget(c_->jump);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void ObjectPropertiesDialog::BuildPositionGroup()
{
    auto* group = new QGroupBox(QStringLiteral("位置、文本"), this);
    auto* grid = new QGridLayout(group);
    const auto spin = [this](const char* name, const QString& suffix, int32_t step,
                             TenthsSpinBox::Rule rule) {
        auto* box = new TenthsSpinBox(suffix, step, std::move(rule), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("20000.0 毫米")) + 40);
        return box;
    };
    const auto label = [group](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), group);
        l->setBuddy(buddy);
        return l;
    };
    c_->x = spin("x", kMillimetres, 10, PositionRule);
    c_->y = spin("y", kMillimetres, 10, PositionRule);
    c_->width = spin("width", kMillimetres, 10, RangeRule(kMinSize, kMaxPosition));
    c_->height = spin("height", kMillimetres, 10, RangeRule(kMinSize, kMaxPosition));
    c_->angle = spin("angle", kDegrees, 10, RangeRule(0, 3599));
    grid->addWidget(label("水平位置:", c_->x), 0, 0);
    grid->addWidget(c_->x, 0, 1);
    grid->addWidget(label("垂直位置:", c_->y), 0, 2);
    grid->addWidget(c_->y, 0, 3);
    grid->addWidget(label("宽度:", c_->width), 1, 0);
    grid->addWidget(c_->width, 1, 1);
    grid->addWidget(label("高度:", c_->height), 1, 2);
    grid->addWidget(c_->height, 1, 3);
    grid->addWidget(label("旋转角度:", c_->angle), 2, 0);
    grid->addWidget(c_->angle, 2, 1);

    c_->font = new QPushButton(QStringLiteral("字体...(&T)"), group);
    c_->font->setObjectName(QStringLiteral("font"));
    c_->font->setAutoDefault(false);
    c_->hAlign = ListOf({kHAlign[0], kHAlign[1], kHAlign[2], kHAlign[3]}, group);
    c_->hAlign->setObjectName(QStringLiteral("hAlign"));
    c_->vAlign = ListOf({kVAlign[0], kVAlign[1], kVAlign[2], kVAlign[3]}, group);
    c_->vAlign->setObjectName(QStringLiteral("vAlign"));
    grid->addWidget(label("文本:", c_->font), 3, 0);
    grid->addWidget(c_->font, 3, 1);
    auto* align = new QHBoxLayout;
    align->addWidget(c_->hAlign);
    align->addSpacing(12);
    align->addWidget(label("垂直对齐:", c_->vAlign));
    align->addWidget(c_->vAlign);
    grid->addWidget(label("水平对齐:", c_->hAlign), 3, 2);
    grid->addLayout(align, 3, 3, 1, 3);
    grid->setColumnStretch(5, 1);
    connect(c_->font, &QPushButton::clicked, this, &ObjectPropertiesDialog::OpenFontDialog);
    layout()->addWidget(group);
}

void ObjectPropertiesDialog::BuildStyleGroup()
{
    auto* group = new QGroupBox(QStringLiteral("阴影、线条、填充"), this);
    auto* grid = new QGridLayout(group);
    const auto label = [group](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), group);
        l->setBuddy(buddy);
        return l;
    };
    const auto picker = [group](const char* name) {
        auto* p = new CColourPicker(group);
        p->setObjectName(QString::fromLatin1(name));
        p->setAutoDefault(false);
        return p;
    };
    const auto combo = [group](const char* name) {
        auto* box = new QComboBox(group);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    const int spinWidth = fontMetrics().horizontalAdvance(QStringLiteral("2000.0 毫米")) + 40;

    c_->shadowDirection = combo("shadowDirection");
    c_->shadowColour = picker("shadowColour");
    c_->shadowWidth = new TenthsSpinBox(kMillimetres, 10, RangeRule(0, kMaxPosition), group);
    c_->shadowWidth->setObjectName(QStringLiteral("shadowWidth"));
    c_->shadowWidth->setMinimumWidth(spinWidth);
    c_->shadowColourLabel = label("颜色:", c_->shadowColour);
    c_->shadowWidthLabel = label("宽度:", c_->shadowWidth);
    grid->addWidget(label("阴影方向:", c_->shadowDirection), 0, 0);
    grid->addWidget(c_->shadowDirection, 0, 1);
    grid->addWidget(c_->shadowColourLabel, 0, 2);
    grid->addWidget(c_->shadowColour, 0, 3);
    grid->addWidget(c_->shadowWidthLabel, 0, 4);
    grid->addWidget(c_->shadowWidth, 0, 5);

    c_->lineColour = picker("lineColour");
    c_->lineType = combo("lineType");
    c_->lineWidth = new TenthsSpinBox(kPoints, 5, RangeRule(1, kMaxLineWidth), group);
    c_->lineWidth->setObjectName(QStringLiteral("lineWidth"));
    c_->lineWidth->setMinimumWidth(spinWidth);
    grid->addWidget(label("线条颜色:", c_->lineColour), 1, 0);
    grid->addWidget(c_->lineColour, 1, 1);
    grid->addWidget(label("类型:", c_->lineType), 1, 2);
    grid->addWidget(c_->lineType, 1, 3);
    grid->addWidget(label("宽度:", c_->lineWidth), 1, 4);
    grid->addWidget(c_->lineWidth, 1, 5);

    c_->fillKind = combo("fillKind");
    c_->fillColour = picker("fillColour");
    c_->fillColourLabel = label("颜色:", c_->fillColour);
    c_->picture = new QPushButton(QStringLiteral("图像设置(&P)"), group);
    c_->picture->setObjectName(QStringLiteral("picture"));
    c_->picture->setAutoDefault(false);
    c_->placement = combo("placement");
    c_->placementLabel = label("放置方法:", c_->placement);
    grid->addWidget(label("填充风格:", c_->fillKind), 2, 0);
    grid->addWidget(c_->fillKind, 2, 1);
    grid->addWidget(c_->fillColourLabel, 2, 2);
    grid->addWidget(c_->fillColour, 2, 3);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(c_->picture);
    pictureRow->addWidget(c_->placementLabel);
    pictureRow->addWidget(c_->placement, 1);
    grid->addLayout(pictureRow, 2, 2, 1, 4);
    // Before the pattern row: the grid measures the gap above a shared row by the first
    // control placed in it.
    BuildGradientControls(*grid, 2);

    c_->foreground = picker("foreground");
    c_->background = picker("background");
    c_->pattern = combo("pattern");
    c_->foregroundLabel = label("前景:", c_->foreground);
    c_->backgroundLabel = label("背景:", c_->background);
    c_->patternLabel = label("类型:", c_->pattern);
    grid->addWidget(c_->foregroundLabel, 3, 0, Qt::AlignRight);
    grid->addWidget(c_->foreground, 3, 1);
    grid->addWidget(c_->backgroundLabel, 3, 2);
    grid->addWidget(c_->background, 3, 3);
    grid->addWidget(c_->patternLabel, 3, 4);
    grid->addWidget(c_->pattern, 3, 5);
    c_->picturePreview = new QLabel(group);
    c_->picturePreview->setObjectName(QStringLiteral("picturePreview"));
    c_->picturePreview->setFrameShape(QFrame::Box);
    grid->addWidget(c_->picturePreview, 3, 2, 1, 4, Qt::AlignLeft);
    // The fill rows keep their height while their controls come and go.
    grid->setRowMinimumHeight(2, c_->fillKind->sizeHint().height());
    grid->setRowMinimumHeight(3, c_->fillColour->sizeHint().height());

    connect(c_->lineType, &QComboBox::activated, this, &ObjectPropertiesDialog::ApplyLineTypeRule);
    connect(c_->shadowDirection, &QComboBox::activated, this,
            &ObjectPropertiesDialog::ApplyShadowRule);
    connect(c_->fillKind, &QComboBox::activated, this, &ObjectPropertiesDialog::ApplyFillKindRule);
    connect(c_->picture, &QPushButton::clicked, this, &ObjectPropertiesDialog::OpenPictureDialog);
    layout()->addWidget(group);
}

void ObjectPropertiesDialog::BuildButtons()
{
    auto* buttons = new QDialogButtonBox(this);
    c_->ok = buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    c_->ok->setObjectName(QStringLiteral("ok"));
    c_->ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ObjectPropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ObjectPropertiesDialog::reject);
    layout()->addWidget(buttons);
}

void ObjectPropertiesDialog::FillLists()
{
    if (document_ != nullptr) {
        for (int i = 0; i < document_->ViewCount(); ++i) {
            c_->jump->addItem(FromGbk(document_->ViewAt(i)->name));
        }
    } else {
        c_->jump->hide();
        c_->jumpLabel->hide();
    }
    for (int i = 0; FillKindName(i) != nullptr; ++i) {
        c_->fillKind->addItem(QString::fromUtf8(FillKindName(i)));
    }
    for (int i = 0; PicturePlacementName(i) != nullptr; ++i) {
        c_->placement->addItem(QString::fromUtf8(PicturePlacementName(i)));
    }
    const int em = fontMetrics().horizontalAdvance(u'中');
    const QSize patternSample(30, fontMetrics().height());
    c_->pattern->setIconSize(patternSample);
    for (int i = 0; i < FillPatternCount(); ++i) {
        c_->pattern->addItem(PatternIcon(i, patternSample), QString::fromUtf8(FillPatternName(i)));
    }
    c_->pattern->setMinimumContentsLength(4);
    c_->pattern->view()->setMinimumWidth(4 * em + 35 + 20);
    for (int i = 0; ShadowDirectionName(i) != nullptr; ++i) {
        c_->shadowDirection->addItem(QString::fromUtf8(ShadowDirectionName(i)));
    }
    const QSize lineSample(55, fontMetrics().height());
    c_->lineType->setIconSize(lineSample);
    c_->lineType->setItemDelegate(new QStyledItemDelegate(c_->lineType));
    for (int i = 0; i < int(std::size(kLineTypes)); ++i) {
        c_->lineType->addItem(LineTypeIcon(i, lineSample), QString::fromUtf8(kLineTypes[i]));
    }
}

void ObjectPropertiesDialog::LoadValues()
{
    c_->fillKind->setCurrentIndex(int32_t(object_.fillKind));
    c_->placement->setCurrentIndex(object_.picturePlacement);
    c_->shadowDirection->setCurrentIndex(object_.shadowDirection);
    c_->lineType->setCurrentIndex(object_.lineStyle);
    c_->pattern->setCurrentIndex(object_.hatchStyle);
    c_->shadowWidth->SetValue(object_.shadowOffset);
    c_->lineWidth->SetValue(object_.lineWidth);
    if (!multi_) {
        c_->angle->SetValue(object_.angle);
        c_->height->SetValue(object_.frame.Height());
        c_->width->SetValue(object_.frame.Width());
        c_->y->SetValue(object_.frame.top);
        c_->x->SetValue(object_.frame.left);
        c_->jump->setCurrentText(FromGbk(object_.jumpTarget));
    } else {
        c_->jump->setCurrentText(QString());
    }
    c_->hAlign->setCurrentIndex(object_.textHAlign);
    c_->vAlign->setCurrentIndex(object_.textVAlign);
    c_->fillColour->SetColour(object_.fillColour);
    c_->foreground->SetColour(object_.fillColour);
    c_->shadowColour->SetColour(object_.shadowColour);
    c_->lineColour->SetColour(object_.lineColour);
    c_->background->SetColour(object_.fillBackColour);
    ShowPreview(object_.fillPicture);
    LoadGradient();
}

void ObjectPropertiesDialog::DisableByFlags(uint32_t flags)
{
    const auto disable = [](std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets) {
            w->setEnabled(false);
        }
    };
    if ((flags & 0x40) == 0) {
        disable({c_->angle});
    }
    if ((flags & 0x08) == 0) {
        disable({c_->fillKind, c_->fillColour, c_->pattern, c_->foreground, c_->background,
                 c_->picture});
    }
    if ((flags & 0x04) == 0) {
        disable({c_->shadowDirection, c_->shadowColour, c_->shadowWidth});
    }
    if ((flags & 0x02) == 0) {
        disable({c_->lineType, c_->lineColour, c_->lineWidth});
    }
    if ((flags & 0x10) == 0) {
        disable({c_->x, c_->y});
    }
    if ((flags & 0x20) == 0) {
        disable({c_->height, c_->width});
    }
    if ((flags & 0x80) == 0) {
        disable({c_->font, c_->hAlign, c_->vAlign});
    }
    if (multi_) {
        disable({c_->hAlign, c_->vAlign, c_->jump});
    }
}

void ObjectPropertiesDialog::ApplyLineTypeRule()
{
    if (c_->lineType->isEnabled()) {
        const int type = c_->lineType->currentIndex();
        c_->lineWidth->setEnabled(type == 1 || type == 2);
    }
}

void ObjectPropertiesDialog::ApplyShadowRule()
{
    const bool shown = c_->shadowDirection->currentIndex() != 0;
    for (QWidget* w :
         {static_cast<QWidget*>(c_->shadowColourLabel), static_cast<QWidget*>(c_->shadowColour),
          static_cast<QWidget*>(c_->shadowWidthLabel), static_cast<QWidget*>(c_->shadowWidth)}) {
        w->setVisible(shown);
    }
}

void ObjectPropertiesDialog::ApplyFillKindRule()
{
    const int kind = c_->fillKind->currentIndex();
    c_->fillColourLabel->setVisible(kind == 1);
    c_->fillColour->setVisible(kind == 1);
    for (QWidget* w :
         {static_cast<QWidget*>(c_->foregroundLabel), static_cast<QWidget*>(c_->foreground),
          static_cast<QWidget*>(c_->backgroundLabel), static_cast<QWidget*>(c_->background),
          static_cast<QWidget*>(c_->patternLabel), static_cast<QWidget*>(c_->pattern)}) {
        w->setVisible(kind == 2);
    }
    c_->picture->setVisible(kind == 3);
    c_->placementLabel->setVisible(kind == 3);
    c_->placement->setVisible(kind == 3);
    c_->picturePreview->setVisible(kind == 3);
    ApplyGradientRule();
}

void ObjectPropertiesDialog::ShowPreview(const CPic& picture)
{
    const int h = fontMetrics().height() * 4;
    c_->picturePreview->setPixmap(PicturePreview(picture, QSize(h * 3 / 2, h)));
}

void ObjectPropertiesDialog::OpenFontDialog()
{
    LogFont font = font_;
    uint32_t colour = textColour_;
    if (ChooseFont(this, font, colour)) {
        SetChosenFont(font, colour);
    }
}

void ObjectPropertiesDialog::SetChosenFont(const LogFont& font, uint32_t textColour)
{
    font_ = font;
    textColour_ = textColour;
    fontChanged_ = true;
}

void ObjectPropertiesDialog::OpenPictureDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("请选择图像文件:"), QString(),
        QStringLiteral("所有图片文件(*.bmp;*.dib;*.jpg;*.gif;*.emf;*.wmf;*.ico;*.cur) "
                       "(*.bmp *.dib *.jpg *.gif *.emf *.wmf *.ico *.cur);;"
                       "位图(*.bmp;*.dib) (*.bmp *.dib);;JPG文件(*.jpg) (*.jpg);;"
                       "GIF文件(*.gif) (*.gif);;图元文件(*.wmf;*.emf) (*.wmf *.emf);;"
                       "图标/光标(*.ico;*.cur) (*.ico *.cur);;所有文件(*.*) (*)"),
        nullptr, QFileDialog::ReadOnly | QFileDialog::HideNameFilterDetails);
    if (!path.isEmpty()) {
        ChoosePicture(path);
    }
}

bool ObjectPropertiesDialog::ChoosePicture(const QString& path)
{
    CPic trial;
    // The holder reports its size in 0.01 mm; a picture under 0.1 mm is no picture.
    if (!trial.LoadFile(path.toStdString()) || trial.Width() / 10 <= 0 ||
        trial.Height() / 10 <= 0) {
        ShowError(QStringLiteral("图像文件坏或图像格式错误,不能装入!"));
        return false;
    }
    picturePath_ = path;
    ShowPreview(trial);
    return true;
}

void ObjectPropertiesDialog::ShowError(const QString& text)
{
    ShowErrorMessage(this, text);
}

} // namespace figures
