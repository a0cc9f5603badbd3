#pragma once

#include "figures/render/pathsink.h"

#include <array>
#include <vector>

namespace figures {

// A PathSink that keeps what it receives, in order and unchanged: the geometry a shape
// program produced, for tests that assert it and for outlines drawn again while the user
// drags. Points are in the document units the producer used.
class RecordingSink : public PathSink {
public:
    enum class OpKind { Move, Line, Bezier };

    // One call on the sink. Move and Line use points[0]; Bezier holds the two controls
    // and the end in call order. Unused points stay (0, 0), so ops compare as a whole.
    struct Op {
        OpKind kind = OpKind::Move;
        std::array<Point, 3> points{};

        // Where the op leaves the pen.
        Point End() const { return kind == OpKind::Bezier ? points[2] : points[0]; }
        friend bool operator==(const Op&, const Op&) = default;
    };

    void MoveTo(Point p) override;
    void LineTo(Point p) override;
    void BezierTo(Point c1, Point c2, Point end) override;

    const std::vector<Op>& Ops() const { return ops_; }
    // Forgets the recorded ops but keeps their storage, so a sink reused for every drag
    // step does not allocate again.
    void Clear() { ops_.clear(); }

private:
    std::vector<Op> ops_;
};

} // namespace figures
