#include "figures/model/handles/cursorimages.h"

#include <QFile>
#include <QRegularExpression>

// The pictures live in a resource compiled into the static core library, which the
// linker drops unless something initialises it by name (outside any namespace).
static void InitialiseCursorResources()
{
    Q_INIT_RESOURCE(cursors);
}

namespace figures {

namespace {

const char* CursorFile(CursorShape shape)
{
    switch (shape) {
    case CursorShape::MoveResizer: return ":/figures/cursors/moveresizer.xpm";
    case CursorShape::MoveHandler: return ":/figures/cursors/movehandle.xpm";
    case CursorShape::Hand: return ":/figures/cursors/hand.xpm";
    case CursorShape::Rotate: return ":/figures/cursors/rotate.xpm";
    case CursorShape::TextBox: return ":/figures/cursors/textbox.xpm";
    default: return nullptr;
    }
}

// Each picture names its hot spot in a "hot spot X Y" comment.
QPoint ReadHotSpot(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    static const QRegularExpression kHotSpot(QStringLiteral("hot spot (\\d+) (\\d+)"));
    const QRegularExpressionMatch match = kHotSpot.match(QString::fromLatin1(file.read(256)));
    return match.hasMatch() ? QPoint(match.captured(1).toInt(), match.captured(2).toInt())
                            : QPoint();
}

} // namespace

QImage CursorImage(CursorShape shape, QPoint* hotSpot)
{
    static const bool initialised = (InitialiseCursorResources(), true);
    (void)initialised;
    const char* file = CursorFile(shape);
    if (file == nullptr) {
        return {};
    }
    const QString path = QString::fromLatin1(file);
    if (hotSpot) {
        *hotSpot = ReadHotSpot(path);
    }
    return QImage(path);
}

} // namespace figures
