#include "figures/render/recordingsink.h"

namespace figures {

void RecordingSink::MoveTo(Point p)
{
    ops_.push_back({OpKind::Move, {p, Point{}, Point{}}});
}

void RecordingSink::LineTo(Point p)
{
    ops_.push_back({OpKind::Line, {p, Point{}, Point{}}});
}

void RecordingSink::BezierTo(Point c1, Point c2, Point end)
{
    ops_.push_back({OpKind::Bezier, {c1, c2, end}});
}

} // namespace figures
