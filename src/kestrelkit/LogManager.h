#pragma once

#include "kestrelkit/Logger.h"
#include "kestrelkit/ZipFolder.h"

#include <QDateTime>
#include <QFuture>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace kestrelkit {

class DefaultsStore;

// Copies this process's log entries into one plain-text file per launch in the log folder,
// records crashes there, removes its log files older than seven days and zips the folder
// for feedback. Its state lives on a thread of its own (the manager's "actor"); every
// public call is safe from any thread and none waits for file I/O unless it says so.
class LogManager {
public:
    // Everything the manager touches, injectable for tests.
    struct Environment {
        QString logFolder;                 // empty: defaultLogFolder()
        DefaultsStore *defaults = nullptr; // null: DefaultsStore::standard()
        LogStore *store = nullptr;         // null: LogStore::shared()
        QLocale locale = QLocale::system();
        std::function<QDateTime()> now;    // null: the wall clock
        // When a log file came into being; null: birth time where the file system keeps
        // it, else the modification time.
        std::function<std::optional<QDateTime>(const QString &path)> creationDate;
        QString tempFolder;                // where zipLogs() puts logs.zip; empty: the system's
        std::chrono::milliseconds interval{15000};
        std::chrono::milliseconds advancedInterval{5000};
    };

    // The process's manager, made on first use with the default environment.
    static LogManager &shared();

    LogManager();
    explicit LogManager(Environment environment);
    ~LogManager();
    LogManager(const LogManager &) = delete;
    LogManager &operator=(const LogManager &) = delete;

    // $XDG_DATA_HOME/Velmora/logs (our own folder, so clean-up never meets others' files).
    [[nodiscard]] static QString defaultLogFolder();
    // A logger for a source file id ("Kestrelkit/LogManager.cpp"): the bundle identifier as
    // subsystem, the id up to its first "." as category.
    [[nodiscard]] static Logger createLogger(const QString &fileID, LogStore *store = nullptr);
    // The subsystems collected unless advanced logging is on.
    [[nodiscard]] static QStringList collectedSubsystems();

    // The application's one call at start-up: periodic collection, crash records,
    // Qt's own messages into the log store, collection when the application is
    // deactivated, removal of old logs.
    void start();
    // The parts of start(), for callers that want only some of them.
    void startPeriodicCollection();
    void installCrashHandlers();
    void installQtMessageHandler();
    void watchApplicationState();

    // Queued on the manager's thread; each returns at once.
    void collect();
    void applicationDidResignActive() { collect(); }
    void removeOldLogs();
    // Collect, the Zip trailer, then logs.zip of the whole folder in the temporary folder.
    [[nodiscard]] QFuture<ZipResult> zipLogs();
    // Collect and the Quit trailer.
    QFuture<void> purgeOnQuit();
    // Deletes this program's log files in the folder (nothing else); failures are ignored.
    QFuture<void> clearAllLogs();
    // Blocks until everything queued before it has run.
    void waitForIdle();

    [[nodiscard]] QString logFolder() const;
    [[nodiscard]] QString logFileName() const;
    [[nodiscard]] QString logFilePath() const;
    [[nodiscard]] QDateTime lastLoggingTime() const;
    [[nodiscard]] bool advancedLogging() const;
    void setAdvancedLogging(bool on);
    // 5 s with advanced logging, 15 s without (as configured).
    [[nodiscard]] std::chrono::milliseconds collectionInterval() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kestrelkit
