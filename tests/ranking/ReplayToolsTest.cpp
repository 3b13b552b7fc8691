#include "LaunchLog.h"
#include "ReplayMetrics.h"

#include <QTest>

class ReplayToolsTest : public QObject {
    Q_OBJECT
private slots:
    void badLinesAreReportedWithTheirNumberAndSkipped()
    {
        QString text = QStringLiteral("# a comment\n"
                                      "1700000000,/apps/A\n"
                                      "\n"
                                      "no comma here\n"
                                      "soon,/apps/B\n"
                                      "1700000100,\n"
                                      " 1700000200 , /apps/C \n");
        QTextStream in(&text);
        QList<long> bad;
        const auto events = readLaunchLog(in, [&](long line, const QString &) { bad << line; });
        QCOMPARE(bad, (QList<long>{4, 5, 6}));
        QCOMPARE(events.size(), std::size_t(2));
        QCOMPARE(events[1].id, QStringLiteral("/apps/C"));
        QCOMPARE(events[1].seconds, 1700000200.0);
    }

    void movedCountsPositionsAmongItemsInBoth_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<long>("moved");
        QTest::newRow("same order") << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 0L;
        QTest::newRow("new item on top moves nobody") << QStringList{"a", "b"} << QStringList{"n", "a", "b"} << 0L;
        QTest::newRow("swap") << QStringList{"a", "b", "c"} << QStringList{"b", "a", "c"} << 2L;
        QTest::newRow("duplicates count once") << QStringList{"a", "b", "a"} << QStringList{"a", "b", "b"} << 0L;
    }
    void movedCountsPositionsAmongItemsInBoth()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(long, moved);
        QCOMPARE(ReplayMetrics::movedBetween(before, after), moved);
    }
};

QTEST_GUILESS_MAIN(ReplayToolsTest)
#include "ReplayToolsTest.moc"
