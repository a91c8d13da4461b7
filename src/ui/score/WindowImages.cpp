#include "ui/score/WindowImages.hpp"

#include <QPixmap>
#include <QString>

// Resources of a static library are registered only when something asks for them.
static void registerWindowImages()
{
    Q_INIT_RESOURCE(WindowImages);
}

namespace skorvin::ui {

namespace {

QPixmap image(const QString& name)
{
    static const bool registered = (registerWindowImages(), true);
    (void)registered;
    return QPixmap(QStringLiteral(":/window/%1.xpm").arg(name));
}

} // namespace

std::vector<QIcon> treeImages()
{
    std::vector<QIcon> images;
    for (int i = 0; i < 9; ++i)
        images.emplace_back(image(QStringLiteral("tree%1").arg(i)));
    return images;
}

QIcon glyph(Glyph which)
{
    switch (which) {
    case Glyph::Save:
        return QIcon(image(QStringLiteral("glyph_save")));
    case Glyph::Print:
        return QIcon(image(QStringLiteral("glyph_print")));
    case Glyph::ScoreSettings:
        return QIcon(image(QStringLiteral("glyph_set")));
    case Glyph::Export: {
        // Two pictures side by side: the normal one, then the one for the disabled button.
        const QPixmap strip = image(QStringLiteral("glyph_export"));
        const int width = strip.width() / 2;
        QIcon icon(strip.copy(0, 0, width, strip.height()));
        icon.addPixmap(strip.copy(width, 0, width, strip.height()), QIcon::Disabled);
        return icon;
    }
    case Glyph::Exit:
        return QIcon(image(QStringLiteral("glyph_exit")));
    }
    return {};
}

} // namespace skorvin::ui
