#include "velmora/platform/Analytics.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/Logger.h"

#include <QTemporaryDir>
#include <QTest>

using velmora::Analytics;

class AnalyticsTest : public QObject {
    Q_OBJECT
private slots:
    void signalIsLoggedAndCountedLocally()
    {
        QTemporaryDir dir;
        kestrelkit::DefaultsStore store(dir.filePath(QStringLiteral("d.json")));
        Analytics analytics(&store);
        analytics.start();
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        analytics.signal(QStringLiteral("Launcher.launchApp"), {{QStringLiteral("by"), QStringLiteral("click")}});
        analytics.signal(QStringLiteral("Launcher.launchApp"), {{QStringLiteral("by"), QStringLiteral("enter")}});
        QCOMPARE(analytics.count(QStringLiteral("Launcher.launchApp")), 2);
        QCOMPARE(analytics.count(QStringLiteral("other")), 0);
        QCOMPARE(store.data(QStringLiteral("analytics.Launcher.launchApp")), QByteArray("2"));
        QStringList logged;
        for (const auto &entry : kestrelkit::LogStore::shared().entriesAfter(before)) {
            if (entry.category == QLatin1String("Analytics"))
                logged << entry.message;
        }
        QVERIFY(logged.contains(QStringLiteral("Launcher.launchApp by=enter")));
    }
};

QTEST_GUILESS_MAIN(AnalyticsTest)
#include "AnalyticsTest.moc"
