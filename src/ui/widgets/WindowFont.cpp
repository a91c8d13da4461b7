#include "ui/widgets/WindowFont.hpp"

#include <QStringList>

namespace skorvin::ui {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK")});
    font.setPixelSize(12);
    return font;
}

} // namespace skorvin::ui
