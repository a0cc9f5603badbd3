#include "figures/dialogs/ccolourpicker.h"

#include "figures/dialogs/ccolourdropwnd.h"
#include "figures/render/colour.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace figures {

namespace {

uint32_t FromQColor(const QColor& c)
{
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

} // namespace

CColourPicker::CColourPicker(QWidget* parent)
    : QPushButton(parent), colour_(FromQColor(palette().color(QPalette::Button))),
      defaultText_(QStringLiteral("默认色")), customText_(QStringLiteral("其它颜色..."))
{
    connect(this, &QPushButton::clicked, this, &CColourPicker::OpenPalette);
}

CColourPicker::~CColourPicker()
{
    if (palette_) {
        palette_->disconnect(this);
        palette_->close();
    }
}

void CColourPicker::SetColour(uint32_t colour)
{
    colour_ = colour;
    update();
}

void CColourPicker::SetTextColour(uint32_t colour)
{
    textColour_ = colour;
    update();
}

QSize CColourPicker::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(std::max(90, fm.horizontalAdvance(defaultText_) + 40), fm.height() + 12);
}

void CColourPicker::OpenPalette()
{
    if (palette_) {
        return;
    }
    palette_ = new CColourDropWnd(mapToGlobal(rect().bottomLeft() + QPoint(0, 1)), colour_,
                                  defaultText_, customText_, this);
    connect(palette_, &CColourDropWnd::highlighted, this, &CColourPicker::PaletteHighlighted);
    connect(palette_, &CColourDropWnd::ended, this, &CColourPicker::PaletteEnded);
    palette_->show();
    palette_->setFocus();
    update();
    emit paletteOpened(colour_);
}

void CColourPicker::PaletteHighlighted(uint32_t colour)
{
    if (trackSelection_) {
        SetColour(colour);
    }
    emit colourHighlighted(colour);
}

void CColourPicker::PaletteEnded(uint32_t colour, bool chosen)
{
    palette_ = nullptr;
    setDown(false);
    SetColour(colour);
    emit paletteClosed(colour);
    if (chosen) {
        emit colourChosen(colour);
    } else {
        emit choiceCancelled(colour);
    }
}

QRect CColourPicker::ArrowRect() const
{
    const int edge = 2;
    const int scrollExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int w = std::max(5 * edge, std::min(scrollExtent, height() - 2 * edge));
    return QRect(width() - edge - w, edge, w, height() - 2 * edge);
}

void CColourPicker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const bool enabled = isEnabled();
    p.fillRect(rect(), Qt::white);

    const QRect arrow = ArrowRect();
    QStyleOption option;
    option.initFrom(this);
    option.rect = arrow;
    option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
    if (isDown() || palette_) {
        option.state |= QStyle::State_Sunken;
        qDrawShadePanel(&p, arrow, pal, true, 1, &pal.brush(QPalette::Button));
    } else {
        qDrawShadePanel(&p, arrow, pal, false, 1, &pal.brush(QPalette::Button));
    }
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, this);
    qDrawShadePanel(&p, rect(), pal, true, 2);

    const QRect area = rect().adjusted(4, 3, -(4 + arrow.width()), -3);
    QColor fill = colour_ == kDefaultColour ? QColor(Qt::white) : ToQColor(colour_);
    if (!enabled) {
        fill = pal.color(QPalette::Button);
    }
    p.setPen(Qt::black);
    p.setBrush(fill);
    p.drawRect(area.adjusted(0, 0, -1, -1));

    const QString label = colour_ == kDefaultColour ? defaultText_ : text();
    if (!label.isEmpty()) {
        if (enabled) {
            p.setPen(textColour_ == kDefaultColour ? QColor(Qt::black) : ToQColor(textColour_));
        } else {
            p.setPen(pal.color(QPalette::Light));
            p.drawText(area.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, label);
            p.setPen(pal.color(QPalette::Dark));
        }
        p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, label);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

} // namespace figures
