#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace vkdtool {

// A contact sheet of the whole shape catalogue: one labelled cell per entry (index and
// name) showing the shape three times: as created, flipped horizontally and turned by
// 30 degrees, and with its first adjust handle dragged away from the default (the third
// place stays empty for shapes without handles). Adjust handles are marked in yellow and
// text boxes outlined in dotted blue, so proportions, handles and text areas can be
// reviewed at a glance.
//
// zoom is per mille of the natural size at 96 dpi; the default gives shapes about
// 90 x 70 pixels.
constexpr int32_t kContactSheetZoom = 1200;
QImage DrawContactSheet(int32_t zoom = kContactSheetZoom);

// Writes the sheet as a PNG file; false with a readable reason in error.
bool WriteContactSheet(const QString& path, int32_t zoom, QString& error);

} // namespace vkdtool
