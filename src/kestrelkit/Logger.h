#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace kestrelkit {

enum class LogLevel : std::uint8_t { Undefined, Debug, Info, Notice, Error, Fault };

struct LogEntry {
    QDateTime date;
    LogLevel level = LogLevel::Undefined;
    QString subsystem;
    QString category;
    QString message;
};

// The in-process log store every Logger writes into. Thread-safe; appending never
// does I/O on the caller's thread (the stderr mirror is opt-in with --verbose).
class LogStore {
public:
    static LogStore &shared();

    void append(LogEntry entry);
    // Entries strictly later than `after`, oldest first.
    [[nodiscard]] std::vector<LogEntry> entriesAfter(const QDateTime &after) const;
    [[nodiscard]] std::vector<LogEntry> allEntries() const;
    void setMirrorToStderr(bool on);
    [[nodiscard]] bool mirrorsToStderr() const;

private:
    LogStore() = default;
    struct Impl;
    Impl &impl() const;
};

// A logger named by its owner: subsystem (the bundle identifier) and category.
class Logger {
public:
    explicit Logger(QString category);
    Logger(QString subsystem, QString category);

    void log(LogLevel level, const QString &message) const;
    void debug(const QString &message) const { log(LogLevel::Debug, message); }
    void info(const QString &message) const { log(LogLevel::Info, message); }
    void notice(const QString &message) const { log(LogLevel::Notice, message); }
    void error(const QString &message) const { log(LogLevel::Error, message); }
    void fault(const QString &message) const { log(LogLevel::Fault, message); }

    [[nodiscard]] const QString &subsystem() const { return m_subsystem; }
    [[nodiscard]] const QString &category() const { return m_category; }

private:
    QString m_subsystem;
    QString m_category;
};

// The application identifier, used as every logger's subsystem.
inline constexpr const char *kBundleIdentifier = "org.velmora.Launcher";

} // namespace kestrelkit
