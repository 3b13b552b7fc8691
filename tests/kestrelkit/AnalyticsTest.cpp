#include "kestrelkit/Analytics.h"
#include "kestrelkit/DefaultsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kestrelkit;

class AnalyticsTest : public QObject {
    Q_OBJECT

private slots:
    void launchSignalsBecomeEntriesAndCounters()
    {
        QTemporaryDir dir;
        DefaultsStore defaults(dir.filePath(QStringLiteral("d.json")));
        LogStore store;
        Analytics analytics(&defaults, &store);
        const QString launch = QStringLiteral("Launcher.launchApp");
        analytics.signal(launch, {{QStringLiteral("by"), QStringLiteral("Enter")}});
        analytics.signal(launch, {{QStringLiteral("by"), QStringLiteral("Enter")}});
        analytics.signal(launch, {{QStringLiteral("by"), QStringLiteral("DoubleClick")}});

        QCOMPARE(analytics.count(launch, QStringLiteral("by"), QStringLiteral("Enter")), 2);
        QCOMPARE(analytics.count(launch, QStringLiteral("by"), QStringLiteral("DoubleClick")), 1);
        QCOMPARE(analytics.count(launch, QStringLiteral("by"), QStringLiteral("Command-Shortcut")), 0);
        QCOMPARE(analytics.count(launch), 3);
        // Stored as JSON data, readable by `velmora defaults read`.
        QCOMPARE(defaults.data(QStringLiteral("analytics.Launcher.launchApp.by.Enter")), QByteArray("2"));

        const auto entries = store.allEntries();
        QCOMPARE(entries.size(), std::size_t(3));
        QCOMPARE(entries[2].level, LogLevel::Info);
        QCOMPARE(entries[2].category, QStringLiteral("Analytics"));
        QCOMPARE(entries[2].subsystem, QStringLiteral("org.velmora.Launcher"));
        QCOMPARE(entries[2].message, QStringLiteral("Launcher.launchApp (by: DoubleClick)"));
    }

    void aGarbledCounterStartsAgain()
    {
        QTemporaryDir dir;
        DefaultsStore defaults(dir.filePath(QStringLiteral("d.json")));
        LogStore store;
        defaults.setData(QStringLiteral("analytics.Launcher.launchApp.by.Enter"), "\"many\"");
        Analytics analytics(&defaults, &store);
        analytics.signal(QStringLiteral("Launcher.launchApp"), {{QStringLiteral("by"), QStringLiteral("Enter")}});
        QCOMPARE(analytics.count(QStringLiteral("Launcher.launchApp"), QStringLiteral("by"), QStringLiteral("Enter")), 1);
    }
};

QTEST_GUILESS_MAIN(AnalyticsTest)
#include "AnalyticsTest.moc"
