#include "figures/dialogs/tenths.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace figures {

namespace {

// Full-width forms (U+FF01..U+FF5E) typed with a Chinese input method read as ASCII.
QChar Narrow(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E) {
        return QChar(char16_t(u - 0xFF01 + 0x21));
    }
    return c;
}

int DigitAt(const QString& text, qsizetype i)
{
    if (i >= text.size()) {
        return -1;
    }
    const QChar c = Narrow(text[i]);
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

} // namespace

QString FormatTenths(int32_t value, const QString& suffix)
{
    const int64_t v = std::llabs(int64_t(value));
    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += QString::number(v / 10);
    if (v % 10 != 0) {
        text += u'.' + QString::number(v % 10);
    }
    return text + suffix;
}

int32_t ParseTenths(const QString& text)
{
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && Narrow(text[0]) == u'-';
    if (negative) {
        ++i;
    }
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t value = 0;
    for (int d = DigitAt(text, i); d >= 0; d = DigitAt(text, ++i)) {
        value = std::min(value * 10 + d, kLimit);
    }
    value = std::min(value * 10, kLimit);
    if (i < text.size() && Narrow(text[i]) == u'.') {
        const int d = DigitAt(text, i + 1);
        if (d >= 0) {
            value = std::min(value + d, kLimit);
        }
    }
    value = negative ? -value : value;
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

} // namespace figures
