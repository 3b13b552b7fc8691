#include "kestrelkit/Logger.h"

#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace kestrelkit;

class LoggerTest : public QObject {
    Q_OBJECT

private slots:
    void entriesFromManyThreadsKeepOneOrder()
    {
        LogStore store;
        constexpr int kThreads = 4;
        constexpr int kPerThread = 2000;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&store, t] {
                const Logger logger(QStringLiteral("org.velmora.Launcher"), QString::number(t), &store);
                for (int i = 0; i < kPerThread; ++i)
                    logger.info(QString::number(i));
            });
        }
        for (auto &th : threads)
            th.join();

        const auto entries = store.allEntries();
        QCOMPARE(entries.size(), std::size_t(kThreads * kPerThread));
        std::vector<int> next(kThreads, 0);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QCOMPARE(entries[i].sequence, std::uint64_t(i + 1));
            const int t = entries[i].category.toInt();
            QCOMPARE(entries[i].message.toInt(), next[t]++); // each thread's order kept
            if (i > 0)
                QVERIFY(entries[i - 1].date <= entries[i].date);
        }
    }

    void readsFromASequenceOrADate()
    {
        LogStore store;
        const Logger logger(QStringLiteral("s"), QStringLiteral("c"), &store);
        logger.info(QStringLiteral("one"));
        const QDateTime between = QDateTime::currentDateTimeUtc().addMSecs(1);
        QTest::qWait(5);
        logger.error(QStringLiteral("two"));
        logger.fault(QStringLiteral("three"));

        QCOMPARE(store.lastSequence(), std::uint64_t(3));
        const auto afterFirst = store.entriesAfterSequence(1);
        QCOMPARE(afterFirst.size(), std::size_t(2));
        QCOMPARE(afterFirst.front().message, QStringLiteral("two"));
        QCOMPARE(afterFirst.front().level, LogLevel::Error);
        QVERIFY(store.entriesAfterSequence(3).empty());
        QCOMPARE(store.entriesAfterSequence(0).size(), std::size_t(3));
        QCOMPARE(store.entriesAfter(between).size(), std::size_t(2));
    }

    void aFullStoreDropsTheOldest()
    {
        LogStore store(3);
        const Logger logger(QStringLiteral("s"), QStringLiteral("c"), &store);
        for (int i = 1; i <= 5; ++i)
            logger.info(QString::number(i));
        const auto entries = store.allEntries();
        QCOMPARE(entries.size(), std::size_t(3));
        QCOMPARE(entries.front().message, QStringLiteral("3"));
        QCOMPARE(store.droppedCount(), std::uint64_t(2));
        // A reader that fell behind the dropped ones gets what is left.
        QCOMPARE(store.entriesAfterSequence(1).size(), std::size_t(3));
        QCOMPARE(store.entriesAfterSequence(4).size(), std::size_t(1));
    }

    void metadataHelpersPrefixTheCallSite_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("level");
        QTest::newRow("fault") << 0 << int(LogLevel::Fault);
        QTest::newRow("error") << 1 << int(LogLevel::Error);
        QTest::newRow("notice") << 2 << int(LogLevel::Notice);
        QTest::newRow("info") << 3 << int(LogLevel::Info);
        QTest::newRow("debug") << 4 << int(LogLevel::Debug);
    }
    void metadataHelpersPrefixTheCallSite()
    {
        QFETCH(int, which);
        QFETCH(int, level);
        LogStore store;
        const Logger logger(QStringLiteral("s"), QStringLiteral("c"), &store);
        using Fn = void (Logger::*)(const QString &, const char *, unsigned long, unsigned long) const;
        const Fn fns[] = {&Logger::faultWithMetadata, &Logger::errorWithMetadata,
                          &Logger::noticeWithMetadata, &Logger::infoWithMetadata,
                          &Logger::debugWithMetadata};
        (logger.*fns[which])(QStringLiteral("hello"), "reload()", 42, 7);
        const auto entries = store.allEntries();
        QCOMPARE(entries.size(), std::size_t(1));
        QCOMPARE(entries[0].message, QStringLiteral("(reload():42:7) hello"));
        QCOMPARE(int(entries[0].level), level);
    }

    void mirrorWritesToStderrFromItsOwnThreadInOrder()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("stderr.txt").toLocal8Bit();
        const int saved = ::dup(2);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
        {
            LogStore store;
            const Logger logger(QStringLiteral("org.velmora.Launcher"), QStringLiteral("Test"), &store);
            logger.info(QStringLiteral("before the mirror"));
            store.setMirrorToStderr(true);
            QVERIFY(store.mirrorsToStderr());
            for (int i = 0; i < 50; ++i)
                logger.info(QStringLiteral("line %1").arg(i));
            QTRY_VERIFY(QFile(QString::fromLocal8Bit(path)).size() > 0
                        && QFile(QString::fromLocal8Bit(path)).size() >= 50 * 30);
            store.flushMirror();
        }
        ::dup2(saved, 2);
        ::close(saved);

        QFile file(QString::fromLocal8Bit(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 50);
        for (int i = 0; i < 50; ++i) {
            QVERIFY2(lines[i].endsWith("line " + QByteArray::number(i)), lines[i].constData());
            QVERIFY(lines[i].contains("info [org.velmora.Launcher Test]"));
        }
    }
};

QTEST_GUILESS_MAIN(LoggerTest)
#include "LoggerTest.moc"
