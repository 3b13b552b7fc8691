#include "kestrelkit/DefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <thread>
#include <vector>

using kestrelkit::DefaultsStore;

class DefaultsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void dataAndPlainValuesAreKeptApart()
    {
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("defaults.json"));
        QVERIFY(store.setData("a", "true"));
        QVERIFY(store.setPlainValue("b", true));
        QCOMPARE(store.data("a"), std::optional<QByteArray>("true"));
        QVERIFY(!store.plainValue("a"));
        QCOMPARE(store.plainValue("b"), std::optional<QJsonValue>(true));
        QVERIFY(!store.data("b"));
    }

    void missingFileReadsEmptyAndCreatesNothing()
    {
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("sub/defaults.json"));
        QVERIFY(!store.data("x"));
        QVERIFY(store.keys().isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("sub/defaults.json")));
    }

    void anotherProcessesWriteIsSeenAtNextRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        DefaultsStore first(path);
        DefaultsStore second(path); // stands for another process: its own cache
        QVERIFY(first.setData("k", "1"));
        QCOMPARE(second.data("k"), std::optional<QByteArray>("1"));
        QVERIFY(second.setData("k", "22"));
        QCOMPARE(first.data("k"), std::optional<QByteArray>("22"));
        QVERIFY(second.remove("k"));
        QVERIFY(!first.contains("k"));
    }

    void writesFromTwoStoresLoseNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        DefaultsStore a(path), b(path);
        std::thread ta([&] { for (int i = 0; i < 40; ++i) a.setData(QStringLiteral("a%1").arg(i), "1"); });
        std::thread tb([&] { for (int i = 0; i < 40; ++i) b.setData(QStringLiteral("b%1").arg(i), "2"); });
        ta.join();
        tb.join();
        DefaultsStore check(path);
        QCOMPARE(check.keys().size(), 80);
    }

    void garbageFileIsMovedAsideAndStoreStartsEmpty_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 11);
        QTest::newRow("truncated json") << QByteArray("{\"entries\": {\"a\": ");
        QTest::newRow("json of another shape") << QByteArray("[1, 2, 3]");
    }
    void garbageFileIsMovedAsideAndStoreStartsEmpty()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();

        DefaultsStore store(path);
        QVERIFY(!store.data("a"));
        const QStringList aside = QDir(dir.path()).entryList({"defaults.json.corrupt-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(dir.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content); // nothing lost
        QVERIFY(store.setData("a", "1"));
        QCOMPARE(DefaultsStore(path).data("a"), std::optional<QByteArray>("1"));
    }

    void jsonValueCoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("bool") << QByteArray("true") << true;
        QTest::newRow("number") << QByteArray("640") << true;
        QTest::newRow("string") << QByteArray("\"grid\"") << true;
        QTest::newRow("array") << QByteArray("[\"/opt\"]") << true;
        QTest::newRow("two values") << QByteArray("1,2") << false;
        QTest::newRow("bracket injection") << QByteArray("1],[2") << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("bare word") << QByteArray("yes") << false;
    }
    void jsonValueCoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        const auto decoded = kestrelkit::decodeJsonValue(bytes);
        QCOMPARE(decoded.has_value(), valid);
        if (valid)
            QCOMPARE(kestrelkit::encodeJsonValue(*decoded), bytes);
    }
};

QTEST_GUILESS_MAIN(DefaultsStoreTest)
#include "DefaultsStoreTest.moc"
