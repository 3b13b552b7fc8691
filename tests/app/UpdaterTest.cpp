#include "velmora/platform/Updater.h"

#include "kestrelkit/DefaultsStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::Updater;
using Kind = Updater::Result::Kind;

Q_DECLARE_METATYPE(velmora::Updater::Result::Kind)

class UpdaterTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    Updater::Result check(kestrelkit::DefaultsStore &store)
    {
        Updater updater(QStringLiteral("1.2.0"), &store);
        QSignalSpy finished(&updater, &Updater::checkFinished);
        updater.checkForUpdates(true);
        if (!finished.wait(5000))
            return {Kind::Failed, {}, {}, QStringLiteral("no answer")};
        return finished.at(0).at(0).value<Updater::Result>();
    }

private slots:
    void initTestCase() { qRegisterMetaType<Updater::Result>(); }

    void feedIsComparedWithTheRunningVersion_data()
    {
        QTest::addColumn<QByteArray>("feed");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("newer") << QByteArray("{\"version\":\"1.10.0\",\"url\":\"https://x/y\"}") << Kind::UpdateAvailable;
        QTest::newRow("same") << QByteArray("{\"version\":\"1.2\"}") << Kind::UpToDate;
        QTest::newRow("older") << QByteArray("{\"version\":\"1.1.9\"}") << Kind::UpToDate;
        QTest::newRow("no version") << QByteArray("{\"url\":\"https://x/y\"}") << Kind::Failed;
        QTest::newRow("not JSON") << QByteArray("<html>") << Kind::Failed;
    }
    void feedIsComparedWithTheRunningVersion()
    {
        QFETCH(QByteArray, feed);
        QFETCH(Kind, kind);
        QCOMPARE(Updater::evaluateFeed(feed, QStringLiteral("1.2.0")).kind, kind);
    }

    void withoutFeedUpdatesComeFromThePackageManager()
    {
        kestrelkit::DefaultsStore store(m_dir.filePath(QStringLiteral("none.json")));
        const auto result = check(store);
        QCOMPARE(result.kind, Kind::NoFeed);
        QVERIFY(result.message.contains(QStringLiteral("package manager")));
    }

    void localFeedIsRead()
    {
        QFile feed(m_dir.filePath(QStringLiteral("feed.json")));
        QVERIFY(feed.open(QIODevice::WriteOnly));
        feed.write("{\"version\":\"2.0.0\",\"url\":\"https://example.org/velmora\"}");
        feed.close();
        kestrelkit::DefaultsStore store(m_dir.filePath(QStringLiteral("feed-defaults.json")));
        store.setData(QStringLiteral("update.feedURL"),
                      kestrelkit::encodeJsonValue(QUrl::fromLocalFile(feed.fileName()).toString()));
        const auto result = check(store);
        QCOMPARE(result.kind, Kind::UpdateAvailable);
        QCOMPARE(result.latestVersion, QStringLiteral("2.0.0"));
    }

    void unreachableFeedFails()
    {
        kestrelkit::DefaultsStore store(m_dir.filePath(QStringLiteral("missing-defaults.json")));
        store.setData(QStringLiteral("update.feedURL"),
                      kestrelkit::encodeJsonValue(QUrl::fromLocalFile(m_dir.filePath("absent.json")).toString()));
        QCOMPARE(check(store).kind, Kind::Failed);
    }
};

QTEST_GUILESS_MAIN(UpdaterTest)
#include "UpdaterTest.moc"
