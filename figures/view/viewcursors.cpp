#include "figures/view/viewcursors.h"

#include "figures/model/handles/cursorimages.h"

#include <QPixmap>

#include <map>

namespace figures {

namespace {

Qt::CursorShape PlatformShape(CursorShape shape)
{
    switch (shape) {
    case CursorShape::Cross: return Qt::CrossCursor;
    case CursorShape::SizeAll: return Qt::SizeAllCursor;
    case CursorShape::SizeWE: return Qt::SizeHorCursor;
    case CursorShape::SizeNS: return Qt::SizeVerCursor;
    case CursorShape::SizeNWSE: return Qt::SizeFDiagCursor;
    case CursorShape::SizeNESW: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

QCursor CursorForShape(CursorShape shape)
{
    // Cursors made from pictures are built once; the view asks on every mouse move.
    static std::map<CursorShape, QCursor> pictures;
    if (const auto it = pictures.find(shape); it != pictures.end()) {
        return it->second;
    }
    QPoint hotSpot;
    const QImage image = CursorImage(shape, &hotSpot);
    if (image.isNull()) {
        return QCursor(PlatformShape(shape));
    }
    const QCursor cursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
    pictures.emplace(shape, cursor);
    return cursor;
}

} // namespace figures
