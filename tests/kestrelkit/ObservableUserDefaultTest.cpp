#include "kestrelkit/ObservableUserDefault.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrelkit;

namespace fixture {
// Raw-representable but not JSON-codable.
enum class Shape { circle, square };
inline QString toRaw(Shape s) { return s == Shape::circle ? QStringLiteral("circle") : QStringLiteral("square"); }
inline std::optional<Shape> fromRaw(const QString &raw, Shape *)
{
    if (raw == QLatin1String("circle"))
        return Shape::circle;
    if (raw == QLatin1String("square"))
        return Shape::square;
    return std::nullopt;
}
} // namespace fixture

class Owner : public QObject {
    Q_OBJECT
signals:
    void changed();
};

class ObservableUserDefaultTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<DefaultsStore> m_store;

private slots:
    void init() { m_store = std::make_unique<DefaultsStore>(m_dir.filePath("d.json")); m_store->remove("flag"); }

    void jsonBoolReadsDefaultWhenUnusable_data()
    {
        QTest::addColumn<int>("kind"); // 0 missing, 1 data not JSON, 2 plain bool, 3 JSON of other type
        QTest::newRow("missing") << 0;
        QTest::newRow("data that is not JSON") << 1;
        QTest::newRow("plain Boolean from another tool") << 2;
        QTest::newRow("JSON number") << 3;
    }
    void jsonBoolReadsDefaultWhenUnusable()
    {
        QFETCH(int, kind);
        if (kind == 1)
            m_store->setData("flag", "\x01\x02garbage");
        if (kind == 2)
            m_store->setPlainValue("flag", true);
        if (kind == 3)
            m_store->setData("flag", "1");
        ObservableUserDefault<bool> flag("flag", false, m_store.get());
        QCOMPARE(flag.get(), false);
        ObservableUserDefault<bool> flagOn("flag", true, m_store.get());
        QCOMPARE(flagOn.get(), true);
    }

    void jsonBoolRoundTripsAsJsonData()
    {
        ObservableUserDefault<bool> flag("flag", true, m_store.get());
        flag.set(false);
        QCOMPARE(m_store->data("flag"), std::optional<QByteArray>("false"));
        QCOMPARE(flag.get(), false);
        flag.set(true);
        QCOMPARE(m_store->data("flag"), std::optional<QByteArray>("true"));
        QCOMPARE(flag.get(), true);
    }

    void readsAnewEveryTime()
    {
        ObservableUserDefault<double> width("window.width", 640, m_store.get());
        QCOMPARE(width.get(), 640.0);
        DefaultsStore other(m_store->filePath());
        other.setData("window.width", "800.5");
        QCOMPARE(width.get(), 800.5);
    }

    void failedEncodingRemovesTheEntry()
    {
        ObservableUserDefault<double> width("window.width", 640, m_store.get());
        width.set(700);
        QVERIFY(m_store->contains("window.width"));
        width.set(std::numeric_limits<double>::quiet_NaN());
        QVERIFY(!m_store->contains("window.width"));
        QCOMPARE(width.get(), 640.0);
    }

    void rawRepresentableReadsDefaultForUnknownRaw_data()
    {
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("valid") << QJsonValue("square") << int(fixture::Shape::square);
        QTest::newRow("names no case") << QJsonValue("triangle") << int(fixture::Shape::circle);
        QTest::newRow("raw of wrong type") << QJsonValue(3) << int(fixture::Shape::circle);
    }
    void rawRepresentableReadsDefaultForUnknownRaw()
    {
        QFETCH(QJsonValue, stored);
        QFETCH(int, expected);
        m_store->setPlainValue("shape", stored);
        ObservableUserDefault<fixture::Shape, DefaultsStorage::Raw> shape("shape", fixture::Shape::circle,
                                                                          m_store.get());
        QCOMPARE(int(shape.get()), expected);
    }

    void rawRepresentableStoresItsRawValue()
    {
        ObservableUserDefault<fixture::Shape, DefaultsStorage::Raw> shape("shape", fixture::Shape::circle,
                                                                          m_store.get());
        shape.set(fixture::Shape::square);
        QCOMPARE(m_store->plainValue("shape"), std::optional<QJsonValue>(QJsonValue("square")));
    }

    void plainValueReadsDefaultForOtherType()
    {
        ObservableUserDefault<QString, DefaultsStorage::Plain> name("name", "none", m_store.get());
        m_store->setPlainValue("name", 12);
        QCOMPARE(name.get(), QStringLiteral("none"));
        name.set("Ada");
        QCOMPARE(m_store->plainValue("name"), std::optional<QJsonValue>(QJsonValue("Ada")));
        QCOMPARE(name.get(), QStringLiteral("Ada"));
    }

    void writeIsStoredAtOnceAndAnnouncedLaterOnTheMainLoop()
    {
        Owner owner;
        ObservableUserDefault<bool> flag("flag", false, m_store.get());
        flag.setObserver(&owner, [&owner] { emit owner.changed(); });
        QSignalSpy spy(&owner, &Owner::changed);
        flag.set(true);
        QCOMPARE(flag.get(), true); // stored at once
        QCOMPARE(spy.count(), 0);   // announced on the next turn
        QVERIFY(spy.wait(1000));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(ObservableUserDefaultTest)
#include "ObservableUserDefaultTest.moc"
