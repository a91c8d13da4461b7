#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace skorvin::library {

// Qt's own texts (the buttons of the message boxes, the file and page-setup dialogs)
// in the given language, read from Qt's translations; nullptr when Qt has none for it,
// or when the program has already given Qt's texts a language of its own.
std::unique_ptr<QTranslator> qtTextsTranslation(const QLocale& locale);

// Installs, once per process, the translation of Qt's texts into the system's language,
// so the boxes read as the platform's own boxes do there ("确定", not "OK").
void translateQtTextsForSystem();

} // namespace skorvin::library
