#pragma once

#include <QPaintDevice>
#include <QRectF>

#include <memory>

namespace figures {

class DrawingBoundsEngine;

// A paint device that draws nothing and measures where drawing would go: the union of
// the device-coordinate bounds of every path, polygon, image and string painted on it,
// strokes widened by their pen. Clipping is not applied, so the result may be larger than
// what a clipped drawing shows, never smaller. Text is measured by its font's ascent,
// descent and advance.
class DrawingBounds : public QPaintDevice {
public:
    DrawingBounds();
    ~DrawingBounds() override;
    DrawingBounds(const DrawingBounds&) = delete;
    DrawingBounds& operator=(const DrawingBounds&) = delete;

    // Empty (null) until something is drawn.
    QRectF Bounds() const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<DrawingBoundsEngine> engine_;
};

} // namespace figures
