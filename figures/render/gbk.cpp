#include "figures/render/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace figures {

QString FromGbk(std::string_view gbk)
{
    QStringDecoder decoder("GBK");
    return decoder(QByteArrayView(gbk.data(), qsizetype(gbk.size())));
}

std::string ToGbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder(text);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

} // namespace figures
