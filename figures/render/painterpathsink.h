#pragma once

#include "figures/render/pathsink.h"

#include <QPainterPath>

namespace figures {

// Builds a QPainterPath in document units from the geometry a program produces. The
// path is the caller's, so a painter can reuse one path (and its storage) per pass.
class PainterPathSink : public PathSink {
public:
    explicit PainterPathSink(QPainterPath& path) : path_(path) {}

    void MoveTo(Point p) override { path_.moveTo(p.x, p.y); }
    void LineTo(Point p) override { path_.lineTo(p.x, p.y); }
    void BezierTo(Point c1, Point c2, Point end) override
    {
        path_.cubicTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
    }

private:
    QPainterPath& path_;
};

} // namespace figures
