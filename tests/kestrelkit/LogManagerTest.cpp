#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/LogFormat.h"
#include "kestrelkit/LogManager.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <exception>
#include <stdexcept>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace kestrelkit;

namespace {

using test::readAll;

// The archive's entry names, sorted.
QStringList zipNames(const QString &path)
{
    return test::zipEntries(path).keys();
}

const QString kOurs = QStringLiteral("org.velmora.Launcher");
const QLocale kUS(QLocale::English, QLocale::UnitedStates);

// ---- Crash children: the test binary re-run as `--crash KIND FOLDER`. ----

[[noreturn]] void markerTerminate()
{
    QFile marker(qEnvironmentVariable("CRASH_MARKER"));
    if (marker.open(QIODevice::WriteOnly))
        marker.write("previous handler");
    marker.close();
    ::_exit(7);
}

// A real invalid access (not a raised signal); kept out of UBSan's sight so the
// sanitizer build also dies of SIGSEGV.
__attribute__((no_sanitize_undefined, noinline)) int readInvalidAddress()
{
    volatile std::uintptr_t address = 0;
    return *reinterpret_cast<volatile int *>(address);
}

int runCrashChild(const QString &kind, const QString &folder)
{
    LogStore store;
    DefaultsStore defaults(folder + QStringLiteral("/defaults.json"));
    LogManager::Environment env;
    env.logFolder = folder;
    env.store = &store;
    env.defaults = &defaults;
    env.locale = kUS;
    if (kind == QLatin1String("previous-handler"))
        std::set_terminate(markerTerminate);
    LogManager manager(env);
    manager.installCrashHandlers();
    Logger(kOurs, QStringLiteral("Child"), &store).info(QStringLiteral("before the crash"));
    if (kind.startsWith(QLatin1String("SIG")) || kind == QLatin1String("null")) {
        // The signal path writes only the record: collect what came before.
        manager.collect();
        manager.waitForIdle();
    }
    if (kind == QLatin1String("null"))
        return readInvalidAddress();
    const std::map<QString, int> signals_{{"SIGABRT", SIGABRT}, {"SIGILL", SIGILL}, {"SIGSEGV", SIGSEGV},
                                          {"SIGFPE", SIGFPE},   {"SIGBUS", SIGBUS}, {"SIGPIPE", SIGPIPE},
                                          {"SIGTRAP", SIGTRAP}};
    if (const auto it = signals_.find(kind); it != signals_.end())
        ::raise(it->second);
    if (kind == QLatin1String("exception"))
        throw std::runtime_error("disk on fire");
    if (kind == QLatin1String("no-reason") || kind == QLatin1String("previous-handler"))
        throw 42;
    return 3;
}

struct ChildResult {
    bool signaled = false;
    int signal = 0;
    int exitCode = -1;
};

ChildResult spawnChild(const QString &kind, const QString &folder, const QString &marker = {})
{
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray k = kind.toUtf8();
    const QByteArray f = QFile::encodeName(folder);
    char *argv[] = {const_cast<char *>(self.constData()), const_cast<char *>("--crash"),
                    const_cast<char *>(k.constData()), const_cast<char *>(f.constData()), nullptr};
    qputenv("CRASH_MARKER", marker.toUtf8());
    pid_t pid = 0;
    if (posix_spawn(&pid, self.constData(), nullptr, nullptr, argv, environ) != 0)
        return {};
    int status = 0;
    waitpid(pid, &status, 0);
    ChildResult r;
    r.signaled = WIFSIGNALED(status);
    r.signal = r.signaled ? WTERMSIG(status) : 0;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

QString onlyLogFile(const QString &folder)
{
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.log")}, QDir::Files);
    return files.size() == 1 ? QDir(folder).filePath(files.first()) : QString();
}

} // namespace

class LogManagerTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<LogStore> m_store;
    std::unique_ptr<DefaultsStore> m_defaults;
    QString m_folder;
    QDateTime m_now;

    LogManager::Environment env()
    {
        LogManager::Environment e;
        e.logFolder = m_folder;
        e.store = m_store.get();
        e.defaults = m_defaults.get();
        e.locale = kUS;
        e.tempFolder = m_dir.filePath(QStringLiteral("tmp"));
        e.now = [this] { return m_now.isValid() ? m_now : QDateTime::currentDateTime(); };
        return e;
    }
    Logger logger(const QString &subsystem = kOurs) const
    {
        return Logger(subsystem, QStringLiteral("Test"), m_store.get());
    }

private slots:
    void init()
    {
        static int n = 0;
        m_folder = m_dir.filePath(QStringLiteral("run%1/logs").arg(++n));
        QDir().mkpath(m_dir.filePath(QStringLiteral("tmp")));
        m_store = std::make_unique<LogStore>();
        m_defaults = std::make_unique<DefaultsStore>(m_dir.filePath(QStringLiteral("d%1.json").arg(n)));
        m_now = {};
    }

    void collectWritesOneEntryPerLog()
    {
        LogManager manager(env());
        QVERIFY(QFileInfo(m_folder).isDir());
        QVERIFY(LogFormat::isLogFileName(manager.logFileName()));
        manager.collect();
        manager.waitForIdle();
        QVERIFY2(!QFile::exists(manager.logFilePath()), "nothing logged, no file");

        logger().info(QStringLiteral("Start updating categories"));
        manager.collect();
        manager.waitForIdle();
        const QString text = readAll(manager.logFilePath());
        static const QRegularExpression header(QStringLiteral(
            "^- INFO \\[\\d+/\\d+/\\d{4}, \\d+:\\d\\d [AP]M, subsystem: org\\.velmora\\.Launcher, "
            "category: Test\\]\nStart updating categories\n$"));
        QVERIFY2(header.match(text).hasMatch(), qPrintable(text));
    }

    void subsystemFilterAndAdvancedLogging_data()
    {
        QTest::addColumn<int>("advanced"); // -1 absent, 0 false, 1 true
        QTest::addColumn<bool>("foreignCollected");
        QTest::newRow("absent") << -1 << false;
        QTest::newRow("false") << 0 << false;
        QTest::newRow("true") << 1 << true;
    }
    void subsystemFilterAndAdvancedLogging()
    {
        QFETCH(int, advanced);
        QFETCH(bool, foreignCollected);
        LogManager manager(env());
        if (advanced >= 0)
            manager.setAdvancedLogging(advanced == 1);
        QCOMPARE(manager.collectionInterval(), std::chrono::milliseconds(advanced == 1 ? 5000 : 15000));
        logger(QStringLiteral("org.qt-project.Qt")).info(QStringLiteral("foreign"));
        logger(QStringLiteral("com.apple.coredata")).info(QStringLiteral("listed"));
        logger().info(QStringLiteral("ours"));
        manager.collect();
        manager.waitForIdle();
        const QString text = readAll(manager.logFilePath());
        QVERIFY(text.contains(QStringLiteral("\nlisted\n")));
        QVERIFY(text.contains(QStringLiteral("\nours\n")));
        QCOMPARE(text.contains(QStringLiteral("\nforeign\n")), foreignCollected);
    }

    void batchesFollowEachOtherAndTheCursorLosesNothing()
    {
        // A clock far ahead: collecting by "later than the last collection time" would
        // skip everything logged after the first batch.
        m_now = QDateTime::currentDateTime().addDays(1);
        LogManager manager(env());
        const QDateTime initial = manager.lastLoggingTime();
        manager.collect();
        manager.waitForIdle();
        QCOMPARE(manager.lastLoggingTime(), initial); // nothing written, nothing moves

        logger().info(QStringLiteral("first"));
        manager.collect();
        manager.waitForIdle();
        logger().notice(QStringLiteral("second"));
        logger().error(QStringLiteral("third"));
        manager.collect();
        manager.waitForIdle();

        const QStringList lines = readAll(manager.logFilePath()).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7); // three entries of two lines, then the final newline
        QVERIFY(lines[0].startsWith(QLatin1String("- INFO [")));
        QCOMPARE(lines[1], QStringLiteral("first"));
        QVERIFY(lines[2].startsWith(QLatin1String("- NOTICE [")));
        QCOMPARE(lines[3], QStringLiteral("second"));
        QVERIFY(lines[4].startsWith(QLatin1String("- !ERROR! [")));
        QCOMPARE(lines[5], QStringLiteral("third"));
    }

    void aFailedWriteKeepsTheEntriesForTheNextCollect()
    {
        LogManager manager(env());
        // A folder where the file should be: opening it for appending fails.
        QVERIFY(QDir().mkpath(manager.logFilePath()));
        const QDateTime before = manager.lastLoggingTime();
        logger().info(QStringLiteral("kept"));
        manager.collect();
        manager.waitForIdle();
        QCOMPARE(manager.lastLoggingTime(), before);
        const auto entries = m_store->allEntries();
        QVERIFY(entries.back().message.startsWith(QLatin1String("Can't save new logs: ")));
        QCOMPARE(entries.back().category, QStringLiteral("Kestrelkit/LogManager"));

        QVERIFY(QDir(manager.logFilePath()).removeRecursively());
        m_now = before.addSecs(60);
        manager.collect();
        manager.waitForIdle();
        const QString text = readAll(manager.logFilePath());
        QVERIFY(text.contains(QStringLiteral("\nkept\n")));
        QVERIFY(text.contains(QStringLiteral("Can't save new logs: ")));
        QCOMPARE(manager.lastLoggingTime(), m_now);
    }

    void periodicCollectionWritesWithoutBeingAsked()
    {
        auto e = env();
        e.interval = std::chrono::milliseconds(200);
        e.advancedInterval = std::chrono::milliseconds(50);
        LogManager manager(e);
        manager.setAdvancedLogging(true);
        manager.startPeriodicCollection();
        logger().info(QStringLiteral("periodic one"));
        QTRY_VERIFY_WITH_TIMEOUT(readAll(manager.logFilePath()).contains(QStringLiteral("periodic one")), 2000);
        logger().info(QStringLiteral("periodic two"));
        QTRY_VERIFY_WITH_TIMEOUT(readAll(manager.logFilePath()).contains(QStringLiteral("periodic two")), 2000);
    }

    void removesOnlyOwnLogsOlderThanSevenDays()
    {
        QDir().mkpath(m_folder);
        const QDateTime now = QDateTime::currentDateTime();
        const QString uuid = QStringLiteral("_0F8FAD5B-D9CB-469F-A165-70867728950%1.log");
        struct File {
            QString name;
            int ageDays;
            bool survives;
        };
        const QList<File> files{{QStringLiteral("old") + uuid.arg(1), 8, false},
                                {QStringLiteral("recent") + uuid.arg(2), 6, true},
                                {QStringLiteral("other-program.log"), 30, true},
                                {QStringLiteral("notes.txt"), 30, true}};
        for (const File &f : files) {
            QFile file(QDir(m_folder).filePath(f.name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
            file.flush();
            QVERIFY(file.setFileTime(now.addDays(-f.ageDays), QFileDevice::FileModificationTime));
        }
        // A link named like one of ours to an old file elsewhere is not ours to delete.
        const QString outside = m_dir.filePath(QStringLiteral("outside.txt"));
        QFile(outside).open(QIODevice::WriteOnly);
        const QString link = QDir(m_folder).filePath(QStringLiteral("link") + uuid.arg(3));
        QVERIFY(QFile::link(outside, link));

        auto e = env();
        e.creationDate = [](const QString &path) -> std::optional<QDateTime> {
            return QFileInfo(path).lastModified();
        };
        LogManager manager(e);
        manager.removeOldLogs();
        manager.waitForIdle();
        for (const File &f : files)
            QCOMPARE(QFile::exists(QDir(m_folder).filePath(f.name)), f.survives);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(outside));
        bool announced = false;
        for (const LogEntry &entry : m_store->allEntries())
            announced |= entry.level == LogLevel::Info
                         && entry.message == QStringLiteral("Removed old log file: ") + files[0].name;
        QVERIFY(announced);
    }

    void removingFromAMissingFolderIsLogged()
    {
        LogManager manager(env());
        QVERIFY(QDir(m_folder).removeRecursively());
        manager.removeOldLogs();
        manager.waitForIdle();
        QVERIFY(m_store->allEntries().back().message.startsWith(QLatin1String("Failed to remove old logs: ")));
    }

    void clearAllLogsLeavesOtherFiles()
    {
        LogManager manager(env());
        logger().info(QStringLiteral("x"));
        manager.collect();
        QFile other(QDir(m_folder).filePath(QStringLiteral("keep.me")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        manager.clearAllLogs().waitForFinished();
        QVERIFY(!QFile::exists(manager.logFilePath()));
        QVERIFY(other.exists());
    }

    void zippingTwiceLeavesTwoTrailersAndWholeArchives()
    {
        LogManager manager(env());
        QFile older(QDir(m_folder).filePath(QStringLiteral("Thursday_0F8FAD5B-D9CB-469F-A165-70867728950E.log")));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.close();
        logger().info(QStringLiteral("one"));
        ZipResult first = manager.zipLogs().result();
        QVERIFY(first.ok());
        QCOMPARE(QFileInfo(first.archivePath()).fileName(), QStringLiteral("logs.zip"));
        const QString folderName = QFileInfo(m_folder).fileName();
        const QStringList expected{folderName + QLatin1Char('/'), folderName + QLatin1Char('/') + older.fileName().section(QLatin1Char('/'), -1),
                                   folderName + QLatin1Char('/') + manager.logFileName()};
        QStringList sortedExpected = expected;
        sortedExpected.sort();
        QCOMPARE(zipNames(first.archivePath()), sortedExpected);

        logger().info(QStringLiteral("two"));
        ZipResult second = manager.zipLogs().result();
        QVERIFY(second.ok());
        QCOMPARE(zipNames(second.archivePath()), sortedExpected);
        const QString text = readAll(manager.logFilePath());
        QCOMPARE(text.count(QString::fromUtf8(LogFormat::kZipTrailer)), 2);
        QVERIFY(text.indexOf(QStringLiteral("\none\n")) < text.indexOf(QString::fromUtf8(LogFormat::kZipTrailer)));
        QVERIFY(text.endsWith(QString::fromUtf8(LogFormat::kZipTrailer)));
    }

    void purgeOnQuitAppendsTheQuitTrailer()
    {
        LogManager manager(env());
        logger().info(QStringLiteral("last words"));
        manager.purgeOnQuit().waitForFinished();
        QVERIFY(readAll(manager.logFilePath()).endsWith(QStringLiteral("last words\n")
                                                        + QString::fromUtf8(LogFormat::kQuitTrailer)));
    }

    void createLoggerTakesTheFileIdUpToItsFirstDot_data()
    {
        QTest::addColumn<QString>("fileID");
        QTest::addColumn<QString>("category");
        QTest::newRow("source file") << "Kestrelkit/LogManager.cpp" << "Kestrelkit/LogManager";
        QTest::newRow("two dots") << "Module/File.test.cpp" << "Module/File";
        QTest::newRow("no dot") << "Module/File" << "Module/File";
    }
    void createLoggerTakesTheFileIdUpToItsFirstDot()
    {
        QFETCH(QString, fileID);
        QFETCH(QString, category);
        const Logger l = LogManager::createLogger(fileID);
        QCOMPARE(l.category(), category);
        QCOMPARE(l.subsystem(), kOurs);
    }

    void defaultFolderIsOurOwnInTheDataHome()
    {
        qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
        QCOMPARE(LogManager::defaultLogFolder(), m_dir.path() + QStringLiteral("/Velmora/logs"));
    }

    void qtMessagesAreCollectedOnlyWithAdvancedLogging()
    {
        LogManager manager(env());
        manager.installQtMessageHandler();
        QTest::ignoreMessage(QtWarningMsg, "a warning from Qt");
        qWarning("a warning from Qt");
        const auto entries = m_store->allEntries();
        QCOMPARE(entries.size(), std::size_t(1));
        QCOMPARE(entries[0].subsystem, QStringLiteral("org.qt-project.Qt"));
        QCOMPARE(entries[0].level, LogLevel::Error);
        manager.collect();
        manager.waitForIdle();
        QVERIFY(!QFile::exists(manager.logFilePath()));
        manager.setAdvancedLogging(true);
        manager.collect();
        manager.waitForIdle();
        QVERIFY(readAll(manager.logFilePath()).contains(QStringLiteral("\na warning from Qt\n")));
    }

    // ---- Crashes, each in a child process. ----

    void signalCrashWritesRecordAndDiesOfTheSameSignal_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("name");
        QTest::newRow("null pointer") << "null" << SIGSEGV << "SIGSEGV";
        for (const auto &[n, s] : std::initializer_list<std::pair<const char *, int>>{
                 {"SIGABRT", SIGABRT}, {"SIGILL", SIGILL}, {"SIGSEGV", SIGSEGV}, {"SIGFPE", SIGFPE},
                 {"SIGBUS", SIGBUS}, {"SIGPIPE", SIGPIPE}, {"SIGTRAP", SIGTRAP}})
            QTest::newRow(n) << n << s << n;
    }
    void signalCrashWritesRecordAndDiesOfTheSameSignal()
    {
        QFETCH(QString, kind);
        QFETCH(int, signal);
        QFETCH(QString, name);
        QDir().mkpath(m_folder);
        const ChildResult r = spawnChild(kind, m_folder);
        QVERIFY(r.signaled);
        QCOMPARE(r.signal, signal);
        const QString text = readAll(onlyLogFile(m_folder));
        QVERIFY2(text.startsWith(QLatin1String("- INFO [")), qPrintable(text));
        static const QRegularExpression record(QStringLiteral(
            "\nbefore the crash\n\n- !!!Crash!!! \\[\\d+/\\d+/\\d{4}, \\d+:\\d\\d [AP]M (\\w+)\\]\n"
            "Stack Trace: -----\n(.+\n)+-----\n\n\n--- End of Logs \\(Reason: Crash\\) ---\n\n$"));
        const auto match = record.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(1), name);
    }

    void uncaughtExceptionWritesRecordThenTrailer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("reason");
        QTest::newRow("std exception") << "exception" << "std::runtime_error" << "Reason: disk on fire\n";
        QTest::newRow("no reason") << "no-reason" << "int" << "Reason: No reason\n";
    }
    void uncaughtExceptionWritesRecordThenTrailer()
    {
        QFETCH(QString, kind);
        QFETCH(QString, header);
        QFETCH(QString, reason);
        QDir().mkpath(m_folder);
        const ChildResult r = spawnChild(kind, m_folder);
        QVERIFY(r.signaled);
        QCOMPARE(r.signal, SIGABRT); // the default terminate handler aborts
        const QString text = readAll(onlyLogFile(m_folder));
        const qsizetype at = text.indexOf(QStringLiteral("\n- !!!CRASH!!! ["));
        QVERIFY2(at > 0, qPrintable(text));
        QVERIFY(text.left(at).endsWith(QLatin1String("\nbefore the crash\n"))); // collected first
        const QString record = text.mid(at);
        QVERIFY2(record.contains(QStringLiteral(", ") + header + QStringLiteral("]\n") + reason
                                 + QStringLiteral("User Info: {}\nStack Trace: -----\n")),
                 qPrintable(record));
        const QString trailer = QStringLiteral("\n-----\n") + QString::fromUtf8(LogFormat::kCrashTrailer);
        QVERIFY(record.contains(trailer));
    }

    void uncaughtExceptionStillCallsThePreviousHandler()
    {
        QDir().mkpath(m_folder);
        const QString marker = m_dir.filePath(QStringLiteral("marker"));
        const ChildResult r = spawnChild(QStringLiteral("previous-handler"), m_folder, marker);
        QCOMPARE(r.exitCode, 7);
        QCOMPARE(readAll(marker), QStringLiteral("previous handler"));
        const QString text = readAll(onlyLogFile(m_folder));
        QVERIFY(text.contains(QStringLiteral("Reason: No reason\n")));
        QVERIFY(text.endsWith(QString::fromUtf8(LogFormat::kCrashTrailer)));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--crash") == 0)
        return runCrashChild(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]));
    QCoreApplication app(argc, argv);
    LogManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LogManagerTest.moc"
