#include "app/configdialog.h"

#include "app/settings.h"
#include "figures/control/figurewindow.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>

namespace app {

namespace {

QColor ToQColor(uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& colour)
{
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

QLabel* AddLabel(QWidget* parent, const QString& text, QRect frame)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(frame);
    return label;
}

} // namespace

ConfigDialog::ConfigDialog(figures::FigureWindow& canvas, const QString& settingsPath,
                           QWidget* parent)
    : QDialog(parent), canvas_(canvas), settingsPath_(settingsPath)
{
    setModal(true);
    setFixedSize(232, 345);

    AddLabel(this, QStringLiteral("背景颜色"), QRect(16, 16, 64, 16));
    colourButton_ = new QPushButton(this);
    colourButton_->setObjectName(QStringLiteral("背景颜色选择器"));
    colourButton_->setGeometry(96, 11, 104, 24);
    connect(colourButton_, &QPushButton::clicked, this, &ConfigDialog::PickColour);

    AddLabel(this, QStringLiteral("边框"), QRect(19, 40, 56, 16));
    border_ = new QComboBox(this);
    border_->setObjectName(QStringLiteral("组合框1"));
    border_->setGeometry(96, 38, 104, 20);
    border_->addItems({QStringLiteral("无边框"), QStringLiteral("凹入式"), QStringLiteral("凸出式"),
                       QStringLiteral("浅凹入式"), QStringLiteral("镜框式"),
                       QStringLiteral("单线边框式")});

    AddLabel(this, QStringLiteral("显示比例( ％)"), QRect(16, 66, 80, 16));
    zoom_ = new QComboBox(this);
    zoom_->setObjectName(QStringLiteral("组合框2"));
    zoom_->setEditable(true);
    zoom_->setGeometry(97, 62, 104, 20);
    zoom_->addItems({QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("50"),
                     QStringLiteral("70"), QStringLiteral("80"), QStringLiteral("90"),
                     QStringLiteral("100")});

    scrollYes_ = AddOptionGroup("分组框1", QStringLiteral("允许滚动"), QRect(9, 144, 208, 35));
    editingYes_ = AddOptionGroup("分组框2", QStringLiteral("允许编辑文本"), QRect(8, 180, 208, 35));
    popupYes_ = AddOptionGroup("分组框3", QStringLiteral("允许右键菜单"), QRect(8, 214, 208, 35));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("按钮1"));
    ok->setGeometry(16, 264, 80, 32);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ConfigDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("按钮2"));
    cancel->setGeometry(136, 264, 80, 32);
    connect(cancel, &QPushButton::clicked, this, &ConfigDialog::reject);

    // The zoom box always offers 100 and the options are on, whatever the canvas holds:
    // the dialog states a configuration to apply, not the canvas's present one.
    SetPickedColour(canvas_.BackColour());
    border_->setCurrentIndex(canvas_.BorderStyle());
    zoom_->setCurrentIndex(6);
}

// A framed row: the label, then "真 " (chosen) and "假" as exclusive options.
QRadioButton* ConfigDialog::AddOptionGroup(const char* name, const QString& label, QRect frame)
{
    auto* group = new QFrame(this);
    group->setObjectName(QString::fromUtf8(name));
    group->setFrameShape(QFrame::StyledPanel);
    group->setGeometry(frame);
    AddLabel(group, label, QRect(8, 9, 80, 18));
    auto* yes = new QRadioButton(QStringLiteral("真 "), group);
    yes->setGeometry(88, 9, 52, 18);
    auto* no = new QRadioButton(QStringLiteral("假"), group);
    no->setGeometry(144, 9, 52, 18);
    auto* buttons = new QButtonGroup(group);
    buttons->addButton(yes);
    buttons->addButton(no);
    yes->setChecked(true);
    return yes;
}

void ConfigDialog::SetPickedColour(uint32_t colour)
{
    colour_ = colour & 0x00FFFFFF;
    QPixmap swatch(88, 14);
    swatch.fill(ToQColor(colour_));
    colourButton_->setIcon(QIcon(swatch));
    colourButton_->setIconSize(swatch.size());
    colourButton_->setToolTip(
        QStringLiteral("#%1").arg(ToQColor(colour_).name(QColor::HexRgb).mid(1).toUpper()));
}

void ConfigDialog::PickColour()
{
    const QColor chosen =
        QColorDialog::getColor(ToQColor(colour_), this, QStringLiteral("背景颜色"));
    if (chosen.isValid()) {
        SetPickedColour(FromQColor(chosen));
    }
}

void ConfigDialog::accept()
{
    canvas_.SetBackColour(colour_);
    canvas_.SetBorderStyle(border_->currentIndex());
    canvas_.SetScrollBars(scrollYes_->isChecked());
    const QByteArray zoomText = QStringEncoder("GBK").encode(zoom_->currentText());
    canvas_.SetZoom(TextToInteger(std::string_view(zoomText.constData(), size_t(zoomText.size()))));
    canvas_.SetTextEditing(editingYes_->isChecked());
    canvas_.SetPopupMenu(popupYes_->isChecked());
    // The canvas ends as the file says, so what the next start shows is what is seen now.
    // When the file cannot be written the canvas keeps the choice for this session and
    // the user learns that it will not last.
    if (SaveSettings(canvas_, colour_, settingsPath_)) {
        LoadSettings(canvas_, settingsPath_);
    } else {
        QMessageBox::warning(
            this, QStringLiteral("图形配置"),
            QStringLiteral("无法保存设置文件 %1，这些设置只在本次运行中有效。").arg(settingsPath_));
    }
    QDialog::accept();
}

} // namespace app
