#include "TestMain.h"

#include "velmora/settings/AboutModel.h"

#include "kestrelkit/BundleInfo.h"

#include <QSignalSpy>
#include <QTest>

using velmora::AboutModel;

class AboutModelTest : public QObject {
    Q_OBJECT
private slots:
    void versionText_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<QString>("text");
        QTest::newRow("both") << QVariantMap{{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.2")},
                                             {QStringLiteral("CFBundleVersion"), QStringLiteral("34")}}
                              << QStringLiteral("1.2 (34)");
        QTest::newRow("no build") << QVariantMap{{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.2")}}
                                  << QStringLiteral("1.2 (Error)");
        QTest::newRow("nothing") << QVariantMap{} << QStringLiteral("Error (Error)");
    }
    void versionText()
    {
        QFETCH(QVariantMap, info);
        QFETCH(QString, text);
        const kestrelkit::BundleInfo bundle(info);
        QCOMPARE(AboutModel(bundle).versionText(), text);
    }

    void linksOpenOurOwnPages()
    {
        QList<QUrl> opened;
        bool works = true;
        const kestrelkit::BundleInfo bundle({});
        AboutModel about(bundle, [&](const QUrl &url) {
            opened.append(url);
            return works;
        });
        QCOMPARE(about.appName(), QStringLiteral("Velmora Launcher"));
        QVERIFY(about.openPrivacyPolicy());
        QVERIFY(about.openMakerWebsite());
        QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("https://velmora.org/privacy")),
                                      QUrl(QStringLiteral("https://velmora.org"))}));
        works = false; // no browser: the caller hears of it
        QVERIFY(!about.openMakerWebsite());
    }

    void iconDoubleClickAsksForTheOnboarding()
    {
        const kestrelkit::BundleInfo bundle({});
        AboutModel about(bundle, [](const QUrl &) { return true; });
        QSignalSpy spy(&about, &AboutModel::onboardingRequested);
        about.requestOnboarding();
        QCOMPARE(spy.count(), 1);
    }
};

int runAboutModelTest(int argc, char *argv[])
{
    AboutModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutModelTest.moc"
