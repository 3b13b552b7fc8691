#include "velmora/ranking/StableMergeSort.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <vector>

using velmora::stableMergeSort;

namespace {
struct Tagged {
    int key = 0;
    int position = 0; // where it started, to check stability and that nothing is lost
};
} // namespace

class StableMergeSortTest : public QObject {
    Q_OBJECT
private slots:
    void matchesStableSortForConsistentComparators_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("distinctKeys");
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("two equal") << 2 << 1;
        QTest::newRow("odd size, many ties") << 37 << 4;
        QTest::newRow("power of two") << 64 << 10;
        QTest::newRow("larger, few ties") << 1001 << 800;
    }
    void matchesStableSortForConsistentComparators()
    {
        QFETCH(int, size);
        QFETCH(int, distinctKeys);
        QRandomGenerator random(size);
        std::vector<Tagged> list;
        for (int i = 0; i < size; ++i)
            list.push_back({int(random.bounded(distinctKeys)), i});
        std::vector<Tagged> expected = list;
        const auto byKeyDescending = [](const Tagged &a, const Tagged &b) { return a.key > b.key; };
        std::stable_sort(expected.begin(), expected.end(), byKeyDescending);
        stableMergeSort(list, byKeyDescending);
        for (int i = 0; i < size; ++i) {
            QCOMPARE(list[i].key, expected[i].key);
            QCOMPARE(list[i].position, expected[i].position);
        }
    }

    // Comparators that are not orderings at all: the sort must still end, stay inside
    // the list (checked by the sanitizer build) and keep every element exactly once.
    void survivesInconsistentComparators_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("random answers") << 0;
        QTest::newRow("always true") << 1;
        QTest::newRow("cyclic rock-paper-scissors") << 2;
    }
    void survivesInconsistentComparators()
    {
        QFETCH(int, kind);
        QRandomGenerator random(42);
        for (int size : {2, 3, 17, 128, 999}) {
            std::vector<Tagged> list;
            for (int i = 0; i < size; ++i)
                list.push_back({i % 3, i});
            long comparisons = 0;
            stableMergeSort(list, [&](const Tagged &a, const Tagged &b) {
                ++comparisons;
                switch (kind) {
                case 0:
                    return random.bounded(2) == 1;
                case 1:
                    return true;
                default:
                    return (a.key + 1) % 3 == b.key;
                }
            });
            QVERIFY(comparisons <= long(size) * 11);
            std::vector<int> positions;
            for (const Tagged &t : list)
                positions.push_back(t.position);
            std::sort(positions.begin(), positions.end());
            for (int i = 0; i < size; ++i)
                QCOMPARE(positions[i], i);
        }
    }
};

QTEST_GUILESS_MAIN(StableMergeSortTest)
#include "StableMergeSortTest.moc"
