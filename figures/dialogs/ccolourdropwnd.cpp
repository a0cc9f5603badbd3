#include "figures/dialogs/ccolourdropwnd.h"

#include "figures/render/colour.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>
#include <vector>

namespace figures {

namespace {

constexpr int kRows =
    (CColourDropWnd::kColourCount + CColourDropWnd::kColumns - 1) / CColourDropWnd::kColumns;

uint32_t FromQColor(const QColor& c)
{
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

} // namespace

const std::array<CColourDropWnd::NamedColour, CColourDropWnd::kColourCount>&
CColourDropWnd::Colours()
{
    static const std::array<NamedColour, kColourCount> colours{{
        {0x000000, "黑色"}, {0x800000, "藏青"}, {0x008000, "墨绿"}, {0x808000, "深青"},
        {0x000080, "红褐"}, {0x800080, "紫红"}, {0x008080, "褐绿"}, {0xC0C0C0, "浅灰"},
        {0x808080, "灰色"}, {0xFF0000, "蓝色"}, {0x00FF00, "绿色"}, {0xFFFF00, "艳青"},
        {0x0000FF, "红色"}, {0xFF00FF, "品红"}, {0x00FFFF, "黄色"}, {0xFFFFFF, "白色"},
        {0xFF8080, "蓝灰"}, {0xE03058, "藏蓝"}, {0x00E080, "嫩绿"}, {0x80E000, "青绿"},
        {0x0060C0, "黄褐"}, {0xFFA8FF, "粉红"}, {0x00D8D8, "嫩黄"}, {0xECECEC, "银白"},
        {0xFF0090, "紫色"}, {0xFF8800, "天蓝"}, {0x80A080, "灰绿"}, {0xC06000, "青蓝"},
        {0x0080FF, "橙黄"}, {0x8050FF, "桃红"}, {0xC080FF, "芙红"}, {0x606060, "深灰"},
    }};
    return colours;
}

CColourDropWnd::CColourDropWnd(QPoint topLeft, uint32_t initial, const QString& defaultText,
                               const QString& customText, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), initialColour_(initial),
      defaultText_(defaultText), customText_(customText)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    const int m = Margin();
    int width = 2 * m + kColumns * kCellSize;
    int height = 2 * m + kRows * kCellSize;
    for (const QString& text : {defaultText_, customText_}) {
        if (!text.isEmpty()) {
            width = std::max(width, fontMetrics().horizontalAdvance(text) + 2 * m);
            height += BoxHeight();
        }
    }
    resize(width, height);

    // Kept on the screen it opens on.
    QScreen* screen = QGuiApplication::screenAt(topLeft);
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16);
    QPoint at = topLeft;
    if (at.x() + width > area.right() + 1) {
        at.setX(area.right() + 1 - width);
    } else if (at.x() < area.left()) {
        at.setX(area.left());
    }
    if (at.y() + height > area.bottom() + 1) {
        at.setY(area.bottom() + 1 - height);
    }
    move(at);

    for (int i = 0; i < kColourCount; ++i) {
        if (Colours()[size_t(i)].colour == initial) {
            initial_ = i;
            break;
        }
    }
    if (initial_ == kNoEntry) {
        if (initial == 0xFF000000 && !defaultText_.isEmpty()) {
            initial_ = kDefaultBox;
        } else if (!customText_.isEmpty()) {
            initial_ = kCustomBox;
        }
    }
    hot_ = initial_;
}

int CColourDropWnd::Margin() const
{
    return std::max(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
}

int CColourDropWnd::BoxHeight() const
{
    return fontMetrics().height() + 4 * Margin() + 2 + Margin();
}

QRect CColourDropWnd::EntryRect(int entry) const
{
    const int m = Margin();
    const int top = m + (defaultText_.isEmpty() ? 0 : BoxHeight());
    if (entry == kDefaultBox) {
        return QRect(m, m, width() - 2 * m, BoxHeight() - m);
    }
    if (entry == kCustomBox) {
        const int y = top + kRows * kCellSize;
        return QRect(m, y + m, width() - 2 * m, BoxHeight() - m);
    }
    if (entry < 0 || entry >= kColourCount) {
        return {};
    }
    const int left = (width() - kColumns * kCellSize) / 2;
    return QRect(left + entry % kColumns * kCellSize, top + entry / kColumns * kCellSize, kCellSize,
                 kCellSize);
}

int CColourDropWnd::EntryAt(QPoint p) const
{
    for (int entry = kDefaultBox; entry < kColourCount; ++entry) {
        if (entry == kNoEntry || (entry == kDefaultBox && defaultText_.isEmpty()) ||
            (entry == kCustomBox && customText_.isEmpty())) {
            continue;
        }
        if (EntryRect(entry).contains(p)) {
            return entry;
        }
    }
    return kNoEntry;
}

uint32_t CColourDropWnd::ColourOf(int entry) const
{
    if (entry == kDefaultBox) {
        return 0xFF000000;
    }
    if (entry >= 0 && entry < kColourCount) {
        return Colours()[size_t(entry)].colour;
    }
    return initialColour_;
}

int CColourDropWnd::NextEntry(int from, int key) const
{
    const bool hasDefault = !defaultText_.isEmpty();
    const bool hasCustom = !customText_.isEmpty();
    // The entries in reading order: the default box, the cells, the custom box.
    std::vector<int> order;
    if (hasDefault) {
        order.push_back(kDefaultBox);
    }
    for (int i = 0; i < kColourCount; ++i) {
        order.push_back(i);
    }
    if (hasCustom) {
        order.push_back(kCustomBox);
    }
    const auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) {
        return order.front();
    }
    const int index = int(at - order.begin());
    const int n = int(order.size());
    switch (key) {
    case Qt::Key_Left: return order[size_t((index + n - 1) % n)];
    case Qt::Key_Right: return order[size_t((index + 1) % n)];
    case Qt::Key_Up:
        if (from == kCustomBox) {
            return kColourCount - 1 - (kColourCount - 1) % kColumns;
        }
        if (from >= kColumns) {
            return from - kColumns;
        }
        return from >= 0 && hasDefault ? kDefaultBox : from;
    case Qt::Key_Down:
        if (from == kDefaultBox) {
            return 0;
        }
        if (from >= 0 && from + kColumns < kColourCount) {
            return from + kColumns;
        }
        return from >= 0 && hasCustom ? kCustomBox : from;
    default: return from;
    }
}

void CColourDropWnd::SetHot(int entry)
{
    if (entry == hot_) {
        return;
    }
    hot_ = entry;
    update();
    if (entry != kNoEntry) {
        emit highlighted(ColourOf(entry));
    }
}

void CColourDropWnd::Choose(int entry)
{
    if (entry == kNoEntry) {
        Finish(initialColour_, false);
        return;
    }
    if (entry != kCustomBox) {
        Finish(ColourOf(entry), true);
        return;
    }
    inColourDialog_ = true;
    hide(); // a popup would otherwise keep the grab from the colour dialog
    const QColor start =
        initialColour_ == 0xFF000000 ? QColor(Qt::white) : ToQColor(initialColour_);
    const QColor chosen = QColorDialog::getColor(start, parentWidget());
    inColourDialog_ = false;
    if (chosen.isValid()) {
        Finish(FromQColor(chosen), true);
    } else {
        Finish(initialColour_, false);
    }
}

void CColourDropWnd::Finish(uint32_t colour, bool chosen)
{
    if (finished_) {
        return;
    }
    finished_ = true;
    emit ended(colour, chosen);
    close();
}

void CColourDropWnd::mouseMoveEvent(QMouseEvent* event)
{
    const int entry = EntryAt(event->position().toPoint());
    if (entry != kNoEntry) {
        SetHot(entry);
    }
}

void CColourDropWnd::mousePressEvent(QMouseEvent* event)
{
    if (!rect().contains(event->position().toPoint())) {
        // A press outside a popup closes it: a cancel.
        Finish(initialColour_, false);
        return;
    }
    armed_ = event->button() == Qt::LeftButton;
}

void CColourDropWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (!armed_ || event->button() != Qt::LeftButton) {
        return;
    }
    armed_ = false;
    if (!rect().contains(event->position().toPoint())) {
        Finish(initialColour_, false);
        return;
    }
    const int entry = EntryAt(event->position().toPoint());
    if (entry != kNoEntry) {
        Choose(entry);
    }
}

void CColourDropWnd::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: SetHot(NextEntry(hot_, event->key())); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: Choose(hot_); return;
    case Qt::Key_Escape: Finish(initialColour_, false); return;
    default: QWidget::keyPressEvent(event);
    }
}

void CColourDropWnd::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Closed by the system (a click outside, another application): a cancel.
    if (!inColourDialog_) {
        Finish(initialColour_, false);
    }
}

bool CColourDropWnd::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int entry = EntryAt(help->pos());
        if (entry >= 0) {
            QToolTip::showText(help->globalPos(), QString::fromUtf8(Colours()[size_t(entry)].name),
                               this, EntryRect(entry));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

void CColourDropWnd::PaintEntry(QPainter& p, int entry) const
{
    const QPalette& pal = palette();
    const QRect r = EntryRect(entry);
    const int m = Margin();
    const bool initial = entry == initial_;
    const bool hot = entry == hot_;
    p.fillRect(r, initial && !hot ? pal.color(QPalette::Light) : pal.color(QPalette::Button));
    if (entry >= 0) {
        const QRect square = r.adjusted(m + 1, m + 1, -(m + 1), -(m + 1));
        p.setPen(pal.color(QPalette::Dark));
        p.setBrush(ToQColor(ColourOf(entry)));
        p.drawRect(square.adjusted(0, 0, -1, -1));
    } else {
        if (entry == kDefaultBox) {
            p.setPen(pal.color(QPalette::Dark));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(2 * m, 2 * m, -2 * m - 1, -2 * m - 1));
        } else {
            p.setPen(pal.color(QPalette::Dark));
            p.drawLine(r.left() + 2 * m, r.top(), r.right() - 2 * m, r.top());
            p.setPen(pal.color(QPalette::Light));
            p.drawLine(r.left() + 2 * m, r.top() + 1, r.right() - 2 * m, r.top() + 1);
        }
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(r, Qt::AlignCenter, entry == kDefaultBox ? defaultText_ : customText_);
    }
    if (hot) {
        qDrawShadePanel(&p, r, pal, false, 1);
    } else if (initial) {
        qDrawShadePanel(&p, r, pal, true, 1);
    }
}

void CColourDropWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    qDrawShadePanel(&p, rect(), palette(), false, Margin());
    if (!defaultText_.isEmpty()) {
        PaintEntry(p, kDefaultBox);
    }
    for (int i = 0; i < kColourCount; ++i) {
        PaintEntry(p, i);
    }
    if (!customText_.isEmpty()) {
        PaintEntry(p, kCustomBox);
    }
}

} // namespace figures
