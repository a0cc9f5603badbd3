#pragma once

#include "app/designer/ansicodepage.h"

#include <QString>

#include <string>

namespace designer {

// Shape names and step texts are GBK bytes in the core and QStrings in the window.
inline std::string GbkFromQString(const QString& text)
{
    return AnsiFromUtf8(text.toStdString());
}

inline QString QStringFromGbk(const std::string& bytes)
{
    return QString::fromStdString(Utf8FromAnsi(bytes));
}

// Without the ASCII and the full-width blanks at both ends.
inline QString TrimBlanks(const QString& text)
{
    auto isBlank = [](QChar c) { return c == QChar(0x20) || c == QChar(0x3000); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

} // namespace designer
