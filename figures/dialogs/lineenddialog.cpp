#include "figures/dialogs/lineenddialog.h"

#include "figures/dialogs/screenplacement.h"
#include "figures/render/drawcontext.h"
#include "figures/render/lineends/lineends.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

namespace figures {

namespace {

constexpr int kSampleLineType = 2; // square-capped solid
constexpr int kSampleWidth = 5;    // half a point

// An entry's picture: a line from the left edge to two thirds of the width at mid-height,
// the end at its left, drawn by the same routine as lines on the canvas.
QPixmap EndSample(const LineEnd& end, QSize size, qreal ratio, QColor colour)
{
    // Drawn in device pixels (the drawing context sets the painter's whole transform),
    // and only then marked with the screen's pixel ratio.
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double dpi = 96.0 * ratio;
        DrawContext dc(painter, dpi, dpi);
        const int mid = pixmap.height() / 2;
        // Room on the left for the widest end, which is centred on the line's end point.
        const Point p1 = dc.ToDocument(Point{int(14 * ratio), mid});
        const Point p2 = dc.ToDocument(Point{pixmap.width() * 2 / 3, mid});
        const uint32_t rgb = uint32_t(colour.red()) | uint32_t(colour.green()) << 8 |
                             uint32_t(colour.blue()) << 16;
        DrawLineWithEnds(dc, p1, p2, kSampleLineType, kSampleWidth, LineEnd{}, end, rgb);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon EndIcon(const LineEnd& end, QSize size, qreal ratio, const QPalette& palette)
{
    QIcon icon;
    icon.addPixmap(EndSample(end, size, ratio, Qt::black), QIcon::Normal);
    icon.addPixmap(EndSample(end, size, ratio, palette.color(QPalette::HighlightedText)),
                   QIcon::Selected);
    return icon;
}

} // namespace

LineEndDialog::LineEndDialog(const LineEnd& current, QPoint position, QWidget* parent)
    : QDialog(parent), end_(current), types_(new QComboBox(this)), sizes_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("线条端点设定:"));
    types_->setObjectName(QStringLiteral("types"));
    sizes_->setObjectName(QStringLiteral("sizes"));
    const QSize sample(96, std::max(16, fontMetrics().height()));
    for (QComboBox* list : {types_, sizes_}) {
        list->setIconSize(sample);
        // An item view delegate draws a selected entry's sample in its selected form.
        list->setItemDelegate(new QStyledItemDelegate(list));
        list->setMinimumWidth(sample.width() + 30);
    }
    for (int type = 0; type < kTypeCount; ++type) {
        types_->addItem(
            EndIcon(LineEnd{uint8_t(type), 1, 1}, sample, devicePixelRatioF(), palette()),
            QString());
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("端点类型:"), this), 0, 0);
    grid->addWidget(types_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("端点尺寸:"), this), 1, 0);
    grid->addWidget(sizes_, 1, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &LineEndDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LineEndDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    const int type = end_.type < kTypeCount ? end_.type : 0;
    types_->setCurrentIndex(type);
    DrawSizeSamples(type);
    sizes_->setEnabled(type != 0);
    sizes_->setCurrentIndex(type != 0 ? SizeIndex(end_.size2, end_.size1) : -1);
    connect(types_, &QComboBox::activated, this, &LineEndDialog::TypeChosen);
    adjustSize();
    PlaceOnScreen(*this, position);
}

int LineEndDialog::SizeIndex(int widthCode, int lengthCode)
{
    if (widthCode < 1 || widthCode > 3 || lengthCode < 1 || lengthCode > 3) {
        return -1;
    }
    return (lengthCode - 1) * 3 + (widthCode - 1);
}

void LineEndDialog::DrawSizeSamples(int type)
{
    sizes_->clear();
    if (type == 0) {
        return; // nothing to size: the list stays empty
    }
    const QSize sample = sizes_->iconSize();
    for (int i = 0; i < kSizeCount; ++i) {
        const LineEnd end{uint8_t(type), uint8_t(i / 3 + 1), uint8_t(i % 3 + 1)};
        sizes_->addItem(EndIcon(end, sample, devicePixelRatioF(), palette()), QString());
    }
}

void LineEndDialog::TypeChosen(int type)
{
    end_.type = uint8_t(type);
    DrawSizeSamples(type);
    sizes_->setEnabled(type != 0);
    sizes_->setCurrentIndex(type != 0 ? 0 : -1);
}

void LineEndDialog::accept()
{
    end_.type = uint8_t(std::max(types_->currentIndex(), 0));
    const int size = sizes_->currentIndex();
    if (end_.type == 0) {
        end_.size1 = 1;
        end_.size2 = 1;
    } else if (size >= 0) {
        end_.size2 = uint8_t(size % 3 + 1); // width, across the line
        end_.size1 = uint8_t(size / 3 + 1); // length, along it
    }
    QDialog::accept();
}

} // namespace figures
