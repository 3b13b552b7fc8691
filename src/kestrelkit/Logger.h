#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrelkit {

enum class LogLevel : std::uint8_t { Undefined, Debug, Info, Notice, Error, Fault };

struct LogEntry {
    QDateTime date;
    LogLevel level = LogLevel::Undefined;
    QString subsystem;
    QString category;
    QString message;
    // Position in the store, strictly increasing in append order (set by the store).
    std::uint64_t sequence = 0;
};

// The in-process log store every Logger writes into. Thread-safe; appending only takes
// a short lock and never does I/O on the caller's thread: the stderr mirror (--verbose)
// is written by a thread of its own, in append order.
class LogStore {
public:
    // Entries kept in memory; older ones are dropped once the log manager had time to copy them.
    static constexpr std::size_t kDefaultCapacity = 200000;

    explicit LogStore(std::size_t capacity = kDefaultCapacity);
    ~LogStore();
    LogStore(const LogStore &) = delete;
    LogStore &operator=(const LogStore &) = delete;

    static LogStore &shared();

    // An entry without a valid date is stamped with the current time.
    void append(LogEntry entry);
    // Entries strictly later than `after`, oldest first.
    [[nodiscard]] std::vector<LogEntry> entriesAfter(const QDateTime &after) const;
    // Entries appended after the one at `sequence` (0: from the start), oldest first.
    [[nodiscard]] std::vector<LogEntry> entriesAfterSequence(std::uint64_t sequence) const;
    [[nodiscard]] std::vector<LogEntry> allEntries() const;
    // Sequence of the newest entry, 0 when nothing was logged.
    [[nodiscard]] std::uint64_t lastSequence() const;
    // Entries dropped because the store was full.
    [[nodiscard]] std::uint64_t droppedCount() const;

    void setMirrorToStderr(bool on);
    [[nodiscard]] bool mirrorsToStderr() const;
    // Writes what the mirror has not written yet, on the calling thread (exit, tests).
    void flushMirror();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A logger named by its owner: subsystem (the bundle identifier) and category.
class Logger {
public:
    explicit Logger(QString category);
    Logger(QString subsystem, QString category);
    // Writes into `store` instead of the shared one (tests, a manager's own store).
    Logger(QString subsystem, QString category, LogStore *store);

    void log(LogLevel level, const QString &message) const;
    void debug(const QString &message) const { log(LogLevel::Debug, message); }
    void info(const QString &message) const { log(LogLevel::Info, message); }
    void notice(const QString &message) const { log(LogLevel::Notice, message); }
    void error(const QString &message) const { log(LogLevel::Error, message); }
    void fault(const QString &message) const { log(LogLevel::Fault, message); }

    // "(function:line:column) message" at the named level.
    void faultWithMetadata(const QString &message, const char *function, unsigned long line,
                           unsigned long column) const;
    void errorWithMetadata(const QString &message, const char *function, unsigned long line,
                           unsigned long column) const;
    void noticeWithMetadata(const QString &message, const char *function, unsigned long line,
                            unsigned long column) const;
    void infoWithMetadata(const QString &message, const char *function, unsigned long line,
                          unsigned long column) const;
    void debugWithMetadata(const QString &message, const char *function, unsigned long line,
                           unsigned long column) const;

    [[nodiscard]] const QString &subsystem() const { return m_subsystem; }
    [[nodiscard]] const QString &category() const { return m_category; }

private:
    void logWithMetadata(LogLevel level, const QString &message, const char *function,
                         unsigned long line, unsigned long column) const;

    QString m_subsystem;
    QString m_category;
    LogStore *m_store = nullptr;
};

// The application identifier, used as every logger's subsystem.
inline constexpr const char *kBundleIdentifier = "org.velmora.Launcher";

} // namespace kestrelkit
