#include "kestrelkit/LogFormat.h"

#include <QRegularExpression>

namespace kestrelkit::LogFormat {

QString levelText(LogLevel level)
{
    switch (level) {
    case LogLevel::Undefined: return QStringLiteral("UNDEFINED");
    case LogLevel::Debug: return QStringLiteral("DEBUG");
    case LogLevel::Info: return QStringLiteral("INFO");
    case LogLevel::Notice: return QStringLiteral("NOTICE");
    case LogLevel::Error: return QStringLiteral("!ERROR!");
    case LogLevel::Fault: return QStringLiteral("!!FAULT!!");
    }
    return QStringLiteral("DEFAULT");
}

QString stampPattern(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return QStringLiteral("yyyy-MM-dd, HH:mm");
    QString date = locale.dateFormat(QLocale::ShortFormat);
    // Numeric style: month numbers, not names; a four-digit year.
    static const QRegularExpression monthName(QStringLiteral("M{3,}"));
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    date.replace(monthName, QStringLiteral("MM"));
    date.replace(shortYear, QStringLiteral("yyyy"));
    return date + QStringLiteral(", ") + locale.timeFormat(QLocale::ShortFormat);
}

QString stamp(const QDateTime &date, const QLocale &locale)
{
    return locale.toString(date.toLocalTime(), stampPattern(locale));
}

QString entry(const LogEntry &e, const QLocale &locale)
{
    return QStringLiteral("- ") + levelText(e.level) + QStringLiteral(" [") + stamp(e.date, locale)
           + QStringLiteral(", subsystem: ") + e.subsystem + QStringLiteral(", category: ")
           + e.category + QStringLiteral("]\n") + e.message;
}

QString fileName(const QDate &date, const QUuid &uuid, const QLocale &locale)
{
    QString day = locale.toString(date, QLocale::LongFormat);
    day.replace(QLatin1Char('/'), QLatin1Char('-'));
    return day + QLatin1Char('_') + uuid.toString(QUuid::WithoutBraces).toUpper()
           + QStringLiteral(".log");
}

bool isLogFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^[^/]*_[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.log$"));
    return pattern.match(name).hasMatch();
}

QString exceptionRecord(const QString &stampText, const QString &name, const QString &reason,
                        const QString &userInfo, const QStringList &stack)
{
    return QStringLiteral("\n- !!!CRASH!!! [") + stampText + QStringLiteral(", ") + name
           + QStringLiteral("]\nReason: ") + (reason.isEmpty() ? QStringLiteral("No reason") : reason)
           + QStringLiteral("\nUser Info: ") + userInfo + QStringLiteral("\nStack Trace: -----\n")
           + stack.join(QLatin1Char('\n')) + QStringLiteral("\n-----\n");
}

} // namespace kestrelkit::LogFormat
