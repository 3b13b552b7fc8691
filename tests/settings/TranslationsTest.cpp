#include "TestMain.h"

#include "velmora/settings/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTest>

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void englishIsBuiltInAndComplete()
    {
        // en_GB falls back to the built-in velmora_en.qm; a missing or empty file fails to load.
        QVERIFY(velmora::installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("en_GB"))));
        QCOMPARE(QCoreApplication::translate("velmora::OnboardingController", "Launch Velmora by"),
                 QStringLiteral("Launch Velmora by"));
    }
    void anUnknownLanguageFallsBackToTheSourceTexts()
    {
        QVERIFY(!velmora::installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("xx"))));
    }
};

int runTranslationsTest(int argc, char *argv[])
{
    TranslationsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TranslationsTest.moc"
