#include "library/QtTexts.hpp"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// The texts a message box shows on its buttons, as the operator reads them.
QStringList buttonTexts()
{
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QStringList texts;
    for (const QMessageBox::StandardButton button :
         {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No})
        texts << box.button(button)->text().remove(QLatin1Char('&'));
    return texts;
}

QString translationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

// Installs a translation for the test's life and takes it away again, so each case starts untranslated.
class Installed {
public:
    explicit Installed(std::unique_ptr<QTranslator> translator) : translator_(std::move(translator))
    {
        if (translator_)
            QCoreApplication::installTranslator(translator_.get());
    }
    ~Installed()
    {
        if (translator_)
            QCoreApplication::removeTranslator(translator_.get());
    }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

    bool installed() const { return translator_ != nullptr; }

private:
    std::unique_ptr<QTranslator> translator_;
};

} // namespace

class QtTextsTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsInTheLocalesLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("simplified chinese") << QStringLiteral("zh_CN")
                                            << QStringList{QStringLiteral("确定"), QStringLiteral("取消"),
                                                           QStringLiteral("是(Y)"), QStringLiteral("否(N)")};
        QTest::newRow("traditional chinese") << QStringLiteral("zh_TW")
                                             << QStringList{QStringLiteral("確定"), QStringLiteral("取消"),
                                                            QStringLiteral("是(Y)"), QStringLiteral("否(N)")};
        QTest::newRow("english") << QStringLiteral("en_US")
                                 << QStringList{QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("Yes"),
                                                QStringLiteral("No")};
        QTest::newRow("C locale") << QStringLiteral("C")
                                  << QStringList{QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("Yes"),
                                                 QStringLiteral("No")};
    }

    void buttonsInTheLocalesLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, buttons);
        const Installed translation(skorvin::library::qtTextsTranslation(QLocale(locale)));
        QCOMPARE(buttonTexts(), buttons);
    }

    // A deployed Qt keeps its translations in the host's folder; they are found there first.
    void translationsBesideTheHostAreRead()
    {
        // Qt ships no Esperanto; a German file under that name can only come from the host's folder.
        const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        const QString file = folder.filePath(QStringLiteral("qtbase_eo.qm"));
        QFile::remove(file);
        QVERIFY(QFile::copy(translationsFolder() + QStringLiteral("/qtbase_de.qm"), file));
        {
            const Installed translation(skorvin::library::qtTextsTranslation(QLocale(QLocale::Esperanto)));
            QCOMPARE(buttonTexts().at(1), QStringLiteral("Abbrechen"));
        }
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir(QCoreApplication::applicationDirPath()).rmdir(QStringLiteral("translations")));
    }

    // A Qt host that has given Qt's texts its own language keeps it: the library is its guest.
    void aHostsOwnTranslationIsKept()
    {
        auto german = std::make_unique<QTranslator>();
        QVERIFY(german->load(QLocale(QStringLiteral("de_DE")), QStringLiteral("qtbase"), QStringLiteral("_"),
                             translationsFolder()));
        const Installed host(std::move(german));
        const QStringList hostButtons = buttonTexts();
        QCOMPARE(hostButtons.at(1), QStringLiteral("Abbrechen"));

        const Installed ours(skorvin::library::qtTextsTranslation(QLocale(QStringLiteral("zh_CN"))));
        QVERIFY(!ours.installed());
        QCOMPARE(buttonTexts(), hostButtons);
    }
};

QTEST_MAIN(QtTextsTest)
#include "qttexts_test.moc"
