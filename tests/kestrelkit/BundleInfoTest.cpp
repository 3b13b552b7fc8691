#include "kestrelkit/BundleInfo.h"

#include <QTest>

using kestrelkit::BundleInfo;

class BundleInfoTest : public QObject {
    Q_OBJECT
private slots:
    void missingOrNonStringValuesFallBack()
    {
        const BundleInfo info(QVariantMap{{"CFBundleShortVersionString", "2.1"},
                                          {"CFBundleName", 42}});
        QCOMPARE(info.appVersion(), QStringLiteral("2.1"));
        QCOMPARE(info.appBuild(), QStringLiteral("Error"));
        QCOMPARE(info.bundleName(), std::nullopt);
        QCOMPARE(info.displayName(), std::nullopt);
    }

    void mainBundleCarriesTheBuildsVersion()
    {
        const auto &info = BundleInfo::main();
        QCOMPARE(info.displayName(), std::optional<QString>("Velmora Launcher"));
        QCOMPARE(info.bundleIdentifier(), std::optional<QString>("org.velmora.Launcher"));
        QVERIFY(info.appVersion().count('.') == 2);
        bool numeric = false;
        info.appBuild().toInt(&numeric);
        QVERIFY(numeric);
    }
};

QTEST_GUILESS_MAIN(BundleInfoTest)
#include "BundleInfoTest.moc"
