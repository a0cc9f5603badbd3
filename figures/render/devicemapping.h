#pragma once

#include "figures/render/geometry.h"

#include <QPainterPath>
#include <QTransform>

#include <cstdint>

namespace figures {

// The mapping from document units (0.1 mm, y down) to device pixels:
// px = (units - origin) x dpi / 254 x zoom / 1000 on each axis. Hit testing and handle
// geometry use it without a painter; DrawContext adds the painter.
class DeviceMapping {
public:
    static constexpr int32_t kUnitsPerInch = 254;
    static constexpr int32_t kZoomScale = 1000;

    // origin is the document point shown at device (0, 0) (the scroll position).
    DeviceMapping(double dpiX, double dpiY, int32_t zoomX = kZoomScale, int32_t zoomY = kZoomScale,
                  Point origin = {});

    // Device pixels per document unit.
    double ScaleX() const { return scaleX_; }
    double ScaleY() const { return scaleY_; }
    double DpiX() const { return dpiX_; }
    double DpiY() const { return dpiY_; }
    Point Origin() const { return origin_; }
    const QTransform& WorldTransform() const { return world_; }

    // Document point to device pixel and back, rounded to nearest (halves away from 0).
    Point ToDevice(Point doc) const;
    Point ToDocument(Point device) const;
    // A document length along x as device pixels, and a device length as document units.
    int32_t DeviceLengthX(int32_t units) const;
    int32_t DocumentLengthX(int32_t pixels) const;
    Rect ToDocument(const Rect& device) const;
    Rect ToDevice(const Rect& doc) const;
    // A path in document units mapped to device pixels.
    QPainterPath ToDevicePath(const QPainterPath& doc) const { return world_.map(doc); }

private:
    double dpiX_;
    double dpiY_;
    double scaleX_;
    double scaleY_;
    Point origin_;
    QTransform world_;
};

} // namespace figures
