#pragma once

#include <QString>

#include <cstdint>

namespace figures {

// The dialogs show integers held in tenths (0.1 mm, 0.1 degree, 0.1 point) as decimal
// numbers with one optional decimal and a unit suffix.

// "-" for a negative value, then the whole part, then ".d" only when the tenths digit is
// not 0, then the suffix: 125 with " 毫米" gives "12.5 毫米", 120 gives "12 毫米".
QString FormatTenths(int32_t value, const QString& suffix);

// Reads what a user typed back into tenths: an optional leading "-", the digits of the
// whole part, and one decimal digit after a "."; everything after that (further digits,
// the unit) is ignored. Text without leading digits reads as 0. Full-width digits, minus
// and point are read as their ASCII forms. Values beyond the 32-bit range saturate.
int32_t ParseTenths(const QString& text);

} // namespace figures
