#include "velmora/ranking/RankState.h"

#include <QTest>

#include <cmath>
#include <cstring>

using velmora::ItemVisit;
using velmora::RankState;

Q_DECLARE_METATYPE(RankState)

namespace {
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
} // namespace

class RankStateTest : public QObject {
    Q_OBJECT
private slots:
    void roundTripsExactly_data()
    {
        QTest::addColumn<RankState>("state");
        QTest::newRow("initial") << RankState{};
        RankState many;
        many.nextVisits["/Applications/Notes.app"] = {{"/Applications/Notes.app", 0, 1},
                                                      {"/Applications/Notes.app", 23, 7}};
        many.nextVisits["/usr/share/applications/org.gnome.Nautilus.desktop"] = {
            {"/usr/share/applications/org.gnome.Nautilus.desktop", 12, 4}};
        many.nextVisits["ünïcødé \"quoted\""] = {};
        many.visitNumber = 999;
        many.numberOfVisits = 123456789012;
        many.timeOfLastVisit = 1765462738.123456789;
        many.crfWeight = std::pow(2.0, -0.2) + 1.0 / 3.0;
        many.rank = 0;
        QTest::newRow("many entries, awkward doubles") << many;
        RankState tiny;
        tiny.crfWeight = 4.9406564584124654e-324; // smallest subnormal
        tiny.timeOfLastVisit = -0.0;
        tiny.rank = std::numeric_limits<std::int64_t>::min();
        QTest::newRow("extremes") << tiny;
    }
    void roundTripsExactly()
    {
        QFETCH(RankState, state);
        const auto back = RankState::fromJson(state.toJson());
        QVERIFY(back.has_value());
        QCOMPARE(back->nextVisits, state.nextVisits);
        QCOMPARE(back->visitNumber, state.visitNumber);
        QCOMPARE(back->numberOfVisits, state.numberOfVisits);
        QCOMPARE(back->rank, state.rank);
        QVERIFY(sameBits(back->timeOfLastVisit, state.timeOfLastVisit));
        QVERIFY(sameBits(back->crfWeight, state.crfWeight));
    }

    void initialStateIsEmptyAndNeverRanked()
    {
        RankState s;
        QVERIFY(s.isEmpty());
        QCOMPARE(s.rank, std::int64_t(9223372036854775807));
        s.numberOfVisits = 1;
        QVERIFY(!s.isEmpty());
    }

    void rejectsIncompleteOrGarbage_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("garbage") << QByteArray("\xff\xfe not json");
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("missing rank")
            << QByteArray(R"({"nextVisits":{},"visitNumber":0,"numberOfVisits":0,"timeOfLastVisit":0,"crfWeight":0})");
        QTest::newRow("string count")
            << QByteArray(R"({"nextVisits":{},"visitNumber":"0","numberOfVisits":0,"timeOfLastVisit":0,"crfWeight":0,"rank":1})");
        QTest::newRow("visit without id")
            << QByteArray(R"({"nextVisits":{"a":[{"hour":1,"weekday":2}]},"visitNumber":0,"numberOfVisits":0,"timeOfLastVisit":0,"crfWeight":0,"rank":1})");
    }
    void rejectsIncompleteOrGarbage()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!RankState::fromJson(json).has_value());
    }
};

QTEST_GUILESS_MAIN(RankStateTest)
#include "RankStateTest.moc"
