#pragma once

#include "figures/render/geometry.h"
#include "figures/render/pathsink.h"

#include <cstdint>
#include <span>

namespace figures {

// What a run of a shape program draws.
enum class ProgramMode {
    Outline = 0,    // every step but arrow lines and text boxes: stroking and fill region
    Arrows = 1,     // only arrow lines, handed to the ArrowLineSink
    DragOutline = 2, // every step; text boxes as rectangles, arrow lines as plain lines
    Silhouette = 3, // like Outline, stopping after the first figure
};

// Where a program draws: the frame of the object placed at origin with its own size,
// flips and rotation (tenths of a degree about origin + (width/2, height/2)).
struct ShapeFrame {
    Point origin;
    int32_t width = 0;
    int32_t height = 0;
    int32_t angle = 0;
    bool flipH = false;
    bool flipV = false;
};

// Receives the arrow-line steps (code 2) of mode Arrows: the two end points (placed and
// turned) and which ends carry an arrowhead (bit 0 at p1, bit 1 at p2). Line-end
// drawing lives elsewhere; the interpreter only reports the lines.
class ArrowLineSink {
public:
    virtual ~ArrowLineSink() = default;
    virtual void ArrowLine(Point p1, Point p2, uint16_t arrows) = 0;
};

// Runs a program from its first step into sink and returns 1 when the program has an
// arrow-line step, else 0 (0 also when mode Silhouette stops early). The walk never
// reads past the span: it ends at the first opcode 0, at an unknown opcode, at a step
// whose parameters the span does not hold, or at the span's end.
int RunShapeProgram(std::span<const uint8_t> program, const ShapeFrame& frame, ProgramMode mode,
                    PathSink& sink, ArrowLineSink* arrows = nullptr);

// Evaluates steps 0..first-1 for the current point only (nothing drawn), moves the sink
// to that point (turned by the frame's angle), then draws count steps from step index
// first in the given mode. Face shading draws chosen steps this way.
void RunShapeSteps(std::span<const uint8_t> program, const ShapeFrame& frame, int first,
                   int count, ProgramMode mode, PathSink& sink);

// The ten memory points the programs share (document units, not turned). They keep
// their values from one run to the next on the drawing thread; every thread has its own.
constexpr int kMemoryPointCount = 10;
Point MemoryPoint(int index);

} // namespace figures
