#include "ui/common/GbkText.hpp"

#include "platform/Gbk.hpp"

#include <QByteArray>

namespace skorvin::ui {

QString toQString(std::string_view gbk)
{
    // Most texts (numbers, codes, scores) are plain ASCII and need no conversion.
    if (gbk::isAscii(gbk))
        return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
    const std::string utf8 = gbk::toUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toGbk(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return gbk::fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

} // namespace skorvin::ui
