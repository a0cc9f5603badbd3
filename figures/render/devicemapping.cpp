#include "figures/render/devicemapping.h"

#include <cmath>

namespace figures {

namespace {

int32_t Round(double v)
{
    return int32_t(std::lround(v));
}

} // namespace

DeviceMapping::DeviceMapping(double dpiX, double dpiY, int32_t zoomX, int32_t zoomY, Point origin)
    : dpiX_(dpiX), dpiY_(dpiY), scaleX_(dpiX / kUnitsPerInch * zoomX / kZoomScale),
      scaleY_(dpiY / kUnitsPerInch * zoomY / kZoomScale), origin_(origin),
      world_(scaleX_, 0, 0, scaleY_, -origin.x * scaleX_, -origin.y * scaleY_)
{
}

Point DeviceMapping::ToDevice(Point doc) const
{
    return {Round((double(doc.x) - origin_.x) * scaleX_),
            Round((double(doc.y) - origin_.y) * scaleY_)};
}

Point DeviceMapping::ToDocument(Point device) const
{
    return {Round(device.x / scaleX_) + origin_.x, Round(device.y / scaleY_) + origin_.y};
}

int32_t DeviceMapping::DeviceLengthX(int32_t units) const
{
    return Round(units * scaleX_);
}

int32_t DeviceMapping::DocumentLengthX(int32_t pixels) const
{
    return Round(pixels / scaleX_);
}

Rect DeviceMapping::ToDocument(const Rect& device) const
{
    const Point a = ToDocument(Point{device.left, device.top});
    const Point b = ToDocument(Point{device.right, device.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalised();
}

Rect DeviceMapping::ToDevice(const Rect& doc) const
{
    const Point a = ToDevice(Point{doc.left, doc.top});
    const Point b = ToDevice(Point{doc.right, doc.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalised();
}

} // namespace figures
