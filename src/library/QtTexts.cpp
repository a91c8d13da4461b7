#include "library/QtTexts.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace skorvin::library {

namespace {

// The host's folder first, where a deployed Qt keeps its translations (windeployqt's
// "translations"), then the folder of the Qt installation itself, then the copies a library
// with Qt linked in carries inside (the Windows build), whose Qt folder is the build machine's.
QStringList translationsFolders()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtFolder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"), qtFolder,
            QStringLiteral(":/translations")};
}

// A Qt host may have installed its own translation of Qt's texts; the library is its guest.
bool qtTextsAlreadyTranslated()
{
    const char* probe = "Cancel";
    return QCoreApplication::translate("QPlatformTheme", probe) != QLatin1String(probe);
}

} // namespace

std::unique_ptr<QTranslator> qtTextsTranslation(const QLocale& locale)
{
    if (qtTextsAlreadyTranslated())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : translationsFolders()) {
        // Tries the locale's languages in order (zh_CN, then zh).
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return translator;
    }
    return nullptr;
}

void translateQtTextsForSystem()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (std::unique_ptr<QTranslator> translator = qtTextsTranslation(QLocale::system())) {
        QCoreApplication::installTranslator(translator.get());
        // The application object keeps it for the process's life.
        translator.release()->setParent(QCoreApplication::instance());
    }
}

} // namespace skorvin::library
