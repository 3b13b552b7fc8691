#include "velmora/launcher/Dictionary.h"

#include "velmora/launcher/SearchCards.h"

#include <QFuture>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

using velmora::Dictionary;

// Runs twice: against the installed WordNet database, and (VELMORA_NO_WORDNET set, with
// WNSEARCHDIR pointing nowhere) without one.
class DictionaryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void definition_data();
    void definition();
    void concurrentLookups();
    void missingDatabase();

private:
    bool m_withoutDatabase = false;
};

void DictionaryTest::initTestCase()
{
    m_withoutDatabase = qEnvironmentVariableIsSet("VELMORA_NO_WORDNET");
    QCOMPARE(Dictionary::isAvailable(), !m_withoutDatabase);
}

void DictionaryTest::definition_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("expected"); // a line the definition holds; empty: none

    QTest::newRow("noun and verb") << "launch" << "1. launch -- (a motorboat with an open deck or a half deck)";
    QTest::newRow("verb part") << "launch" << "verb";
    QTest::newRow("usage counts dropped") << "launch" << "2. launch -- (propel with force; \"launch the space shuttle\"; \"Launch a ship\")";
    QTest::newRow("capitalised") << "Safari" << "1. campaign, hunting expedition, safari -- (an overland journey by hunters (especially in Africa))";
    QTest::newRow("collocation") << "ice cream" << "noun";
    QTest::newRow("inflected") << "ran" << "verb";
    QTest::newRow("unknown") << "xyzzyq" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("over-long") << QString(5000, u'a') << "";
    QTest::newRow("control character") << "lau\x01nch" << "";
    QTest::newRow("non-Latin") << "\u0434\u043e\u043c" << "";
}

void DictionaryTest::definition()
{
    QFETCH(QString, term);
    QFETCH(QString, expected);
    const std::optional<QString> found = Dictionary::definition(term);
    if (expected.isEmpty() || m_withoutDatabase) {
        QCOMPARE(found, std::nullopt);
        return;
    }
    QVERIFY(found);
    QVERIFY2(found->split(u'\n').contains(expected), qPrintable(*found));
    QVERIFY(!found->contains(u"senses"));
}

// WordNet's own buffers are shared; lookups from several threads must not corrupt each other.
void DictionaryTest::concurrentLookups()
{
    const std::optional<QString> launch = Dictionary::definition(QStringLiteral("launch"));
    const std::optional<QString> safari = Dictionary::definition(QStringLiteral("safari"));
    QList<QFuture<bool>> runs;
    for (int i = 0; i < 4; ++i) {
        runs.append(QtConcurrent::run([&] {
            for (int k = 0; k < 50; ++k) {
                if (Dictionary::definition(QStringLiteral("launch")) != launch ||
                    Dictionary::definition(QStringLiteral("safari")) != safari)
                    return false;
            }
            return true;
        }));
    }
    for (QFuture<bool> &run : runs)
        QVERIFY(run.result());
}

void DictionaryTest::missingDatabase()
{
    if (!m_withoutDatabase)
        QSKIP("covered by the run without a database");
    QCOMPARE(velmora::makeDictionaryCard(QStringLiteral("launch")), std::nullopt);
}

QTEST_GUILESS_MAIN(DictionaryTest)
#include "DictionaryTest.moc"
