#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace figures {

// The one crossing between the model's GBK bytes and Qt's Unicode strings. Bytes that
// are not valid GBK decode to replacement characters, so decoding never fails.
QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

} // namespace figures
