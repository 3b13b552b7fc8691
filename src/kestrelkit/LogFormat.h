#pragma once

#include "kestrelkit/Logger.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QUuid>

namespace kestrelkit {

// The texts of the log files: entries, crash records, trailers and the file name.
namespace LogFormat {

// "INFO", "!ERROR!", ...
[[nodiscard]] QString levelText(LogLevel level);

// The locale's numeric date and short time, e.g. "12/11/2026, 3:25 PM" (en_US). Only
// numeric fields, so the crash path can render it without the locale machinery.
[[nodiscard]] QString stampPattern(const QLocale &locale);
[[nodiscard]] QString stamp(const QDateTime &date, const QLocale &locale);

// "- INFO [<stamp>, subsystem: S, category: C]\n<message>"
[[nodiscard]] QString entry(const LogEntry &entry, const QLocale &locale);

// Formats many entries: the pattern is worked out once and a stamp once per minute.
class EntryFormatter {
public:
    explicit EntryFormatter(QLocale locale);
    void append(QString &out, const LogEntry &entry);

private:
    QLocale m_locale;
    QString m_pattern;
    bool m_perMinute;
    qint64 m_minute = -1;
    QString m_stamp;
};

// The locale's complete date, "_", the upper-case UUID, ".log". Path separators in the
// date become "-" so the name stays one path component.
[[nodiscard]] QString fileName(const QDate &date, const QUuid &uuid, const QLocale &locale);
// True for names fileName() makes: the only files clean-up may delete.
[[nodiscard]] bool isLogFileName(const QString &name);

// "\n- !!!CRASH!!! [<stamp>, <name>]\nReason: ...\nUser Info: ...\nStack Trace: -----\n...\n-----\n"
[[nodiscard]] QString exceptionRecord(const QString &stampText, const QString &name,
                                      const QString &reason, const QString &userInfo,
                                      const QStringList &stack);

inline constexpr const char *kCrashTrailer = "\n\n--- End of Logs (Reason: Crash) ---\n\n";
inline constexpr const char *kZipTrailer = "\n\n--- End of Logs (Reason: Zip) ---\n\n";
inline constexpr const char *kQuitTrailer = "\n\n--- End of Logs (Reason: Quit) ---\n\n";

} // namespace LogFormat

} // namespace kestrelkit
