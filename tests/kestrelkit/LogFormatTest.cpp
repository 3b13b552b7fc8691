#include "kestrelkit/CrashReporter.h"
#include "kestrelkit/LogFormat.h"

#include <QTest>

#include <csignal>

using namespace kestrelkit;

class LogFormatTest : public QObject {
    Q_OBJECT

private slots:
    void entryHeaderThenMessage_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("text");
        QTest::newRow("undefined") << int(LogLevel::Undefined) << "UNDEFINED";
        QTest::newRow("debug") << int(LogLevel::Debug) << "DEBUG";
        QTest::newRow("info") << int(LogLevel::Info) << "INFO";
        QTest::newRow("notice") << int(LogLevel::Notice) << "NOTICE";
        QTest::newRow("error") << int(LogLevel::Error) << "!ERROR!";
        QTest::newRow("fault") << int(LogLevel::Fault) << "!!FAULT!!";
        QTest::newRow("other") << 77 << "DEFAULT";
    }
    void entryHeaderThenMessage()
    {
        QFETCH(int, level);
        QFETCH(QString, text);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QDateTime local(QDate(2026, 3, 4), QTime(15, 7));
        const LogEntry e{local.toUTC(), LogLevel(level), QStringLiteral("org.velmora.Launcher"),
                         QStringLiteral("AppDiscoverService"), QStringLiteral("two\nlines")};
        QCOMPARE(LogFormat::entry(e, us),
                 QStringLiteral("- %1 [3/4/2026, 3:07 PM, subsystem: org.velmora.Launcher, "
                                "category: AppDiscoverService]\ntwo\nlines")
                     .arg(text));
    }

    void fileNameIsCompleteDateAndUpperCaseUuid()
    {
        const QUuid uuid(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
        const QString name = LogFormat::fileName(QDate(2026, 12, 11), uuid,
                                                 QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(name, QStringLiteral("Friday, December 11, 2026_0F8FAD5B-D9CB-469F-A165-70867728950E.log"));
        QVERIFY(LogFormat::isLogFileName(name));
    }

    void onlyOurNamesAreLogFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ours");
        QTest::newRow("ours") << "Friday, 11 December 2026_0F8FAD5B-D9CB-469F-A165-70867728950E.log" << true;
        QTest::newRow("lower-case uuid") << "x_0f8fad5b-d9cb-469f-a165-70867728950e.log" << false;
        QTest::newRow("other program's log") << "server.log" << false;
        QTest::newRow("archive") << "logs.zip" << false;
        QTest::newRow("suffix after") << "x_0F8FAD5B-D9CB-469F-A165-70867728950E.log.bak" << false;
    }
    void onlyOurNamesAreLogFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, ours);
        QCOMPARE(LogFormat::isLogFileName(name), ours);
    }

    void exceptionRecordWithoutReason()
    {
        QCOMPARE(LogFormat::exceptionRecord(QStringLiteral("S"), QStringLiteral("E"), {},
                                            QStringLiteral("{}"), {QStringLiteral("a"), QStringLiteral("b")}),
                 QStringLiteral("\n- !!!CRASH!!! [S, E]\nReason: No reason\nUser Info: {}\n"
                                "Stack Trace: -----\na\nb\n-----\n"));
    }

    // The crash path renders the date by hand; it must match the locale's own text.
    void signalSafeStampMatchesTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *name : {"C", "en_US", "de_DE", "fr_FR", "ja_JP", "ar_EG", "en_GB", "ko_KR"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void signalSafeStampMatchesTheLocale()
    {
        QFETCH(QString, locale);
        const QLocale loc(locale);
        CrashReporter::refreshClock();
        CrashReporter::install(QStringLiteral("/nonexistent/x.log"), loc, {});
        // Times around midnight, noon and a leap day, in this zone's current offset.
        const qint64 offset = QDateTime::currentDateTime().offsetFromUtc();
        for (const QDateTime &local : {QDateTime(QDate(2024, 2, 29), QTime(0, 5)),
                                       QDateTime(QDate(2026, 12, 31), QTime(12, 59)),
                                       QDateTime(QDate(1999, 1, 1), QTime(23, 0))}) {
            const qint64 secs = QDateTime(local.date(), local.time(), Qt::UTC).toSecsSinceEpoch() - offset;
            const QDateTime expected = QDateTime::fromSecsSinceEpoch(secs, Qt::OffsetFromUTC, int(offset));
            QCOMPARE(CrashReporter::renderStamp(secs, 0),
                     loc.toString(expected, LogFormat::stampPattern(loc)));
        }
    }

    void signalNames_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("name");
        QTest::newRow("ill") << SIGILL << "SIGILL";
        QTest::newRow("trap") << SIGTRAP << "SIGTRAP";
        QTest::newRow("abrt") << SIGABRT << "SIGABRT";
        QTest::newRow("fpe") << SIGFPE << "SIGFPE";
        QTest::newRow("bus") << SIGBUS << "SIGBUS";
        QTest::newRow("segv") << SIGSEGV << "SIGSEGV";
        QTest::newRow("pipe") << SIGPIPE << "SIGPIPE";
        QTest::newRow("other") << SIGUSR1 << "UNKNOWN";
    }
    void signalNames()
    {
        QFETCH(int, signal);
        QFETCH(QString, name);
        QCOMPARE(QString::fromLatin1(CrashReporter::signalName(signal)), name);
    }
};

QTEST_GUILESS_MAIN(LogFormatTest)
#include "LogFormatTest.moc"
