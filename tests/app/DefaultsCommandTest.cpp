#include "velmora/app/DefaultsCommand.h"

#include "kestrelkit/DefaultsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using kestrelkit::DefaultsStore;

class DefaultsCommandTest : public QObject {
    Q_OBJECT

    int run(DefaultsStore &store, const QStringList &args, QString *outText = nullptr,
            QString *errText = nullptr)
    {
        QString o, e;
        QTextStream out(&o), err(&e);
        const int status = velmora::runDefaultsCommand(args, store, out, err);
        out.flush();
        err.flush();
        if (outText)
            *outText = o;
        if (errText)
            *errText = e;
        return status;
    }

private slots:
    void writeStoresTheJsonEncodingAsData()
    {
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("d.json"));
        QCOMPARE(run(store, {"write", "log.advancedLogging", "true"}), 0);
        QCOMPARE(store.data("log.advancedLogging"), std::optional<QByteArray>("true"));
        QString out;
        QCOMPARE(run(store, {"read", "log.advancedLogging"}, &out), 0);
        QCOMPARE(out, QStringLiteral("true\n"));
        QCOMPARE(run(store, {"delete", "log.advancedLogging"}), 0);
        QVERIFY(!store.contains("log.advancedLogging"));
    }

    void badInputIsAnErrorAndWritesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("bad JSON") << QStringList{"write", "window.width", "{640"};
        QTest::newRow("bare word") << QStringList{"write", "settings.fullscreen", "yes"};
        QTest::newRow("missing value") << QStringList{"write", "window.width"};
        QTest::newRow("unknown verb") << QStringList{"frobnicate", "window.width"};
        QTest::newRow("no key") << QStringList{"read"};
    }
    void badInputIsAnErrorAndWritesNothing()
    {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("d.json"));
        QString err;
        QCOMPARE(run(store, args, nullptr, &err), 2);
        QVERIFY(!err.isEmpty());
        QVERIFY(!QFile::exists(store.filePath()));
    }

    void readingAMissingKeyFails()
    {
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("d.json"));
        QString err;
        QCOMPARE(run(store, {"read", "nothing.here"}, nullptr, &err), 1);
        QVERIFY(err.contains("nothing.here"));
    }

    void plainValuesAreShownAsSuch()
    {
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("d.json"));
        store.setPlainValue("settings.fullscreen", true);
        QString out;
        QCOMPARE(run(store, {"read", "settings.fullscreen"}, &out), 0);
        QVERIFY(out.startsWith("true"));
        QVERIFY(out.contains("plain"));
    }

    // A write keeps the form the application reads the key in.
    void writeKeepsPlainKeysPlain_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("presetPlain"); // the key already holds a plain value
        QTest::addColumn<bool>("expectPlain");
        QTest::newRow("view type, unset") << "Launcher.viewType" << false << true;
        QTest::newRow("a plain value already there") << "custom.plain" << true << true;
        QTest::newRow("an ordinary key") << "settings.fullscreen" << false << false;
    }
    void writeKeepsPlainKeysPlain()
    {
        QFETCH(QString, key);
        QFETCH(bool, presetPlain);
        QFETCH(bool, expectPlain);
        QTemporaryDir dir;
        DefaultsStore store(dir.filePath("d.json"));
        if (presetPlain)
            store.setPlainValue(key, QStringLiteral("old"));
        QCOMPARE(run(store, {"write", key, "\"list\""}), 0);
        if (expectPlain) {
            QCOMPARE(store.plainValue(key), std::optional<QJsonValue>(QStringLiteral("list")));
            QVERIFY(!store.data(key));
        } else {
            QCOMPARE(store.data(key), std::optional<QByteArray>("\"list\""));
            QVERIFY(!store.plainValue(key));
        }
    }
};

QTEST_GUILESS_MAIN(DefaultsCommandTest)
#include "DefaultsCommandTest.moc"
