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
    QString out;
    EntryFormatter(locale).append(out, e);
    return out;
}

EntryFormatter::EntryFormatter(QLocale locale)
    : m_locale(std::move(locale))
    , m_pattern(stampPattern(m_locale))
    , m_perMinute(!m_pattern.contains(QLatin1Char('s')) && !m_pattern.contains(QLatin1Char('z')))
{
}

void EntryFormatter::append(QString &out, const LogEntry &e)
{
    // The stamp shows minutes at most; zone offsets are whole minutes.
    const qint64 ms = e.date.toMSecsSinceEpoch();
    const qint64 minute = ms >= 0 ? ms / 60000 : (ms - 59999) / 60000;
    if (minute != m_minute || !m_perMinute) {
        m_minute = minute;
        m_stamp = m_locale.toString(e.date.toLocalTime(), m_pattern);
    }
    out += QStringLiteral("- ");
    out += levelText(e.level);
    out += QStringLiteral(" [");
    out += m_stamp;
    out += QStringLiteral(", subsystem: ");
    out += e.subsystem;
    out += QStringLiteral(", category: ");
    out += e.category;
    out += QStringLiteral("]\n");
    out += e.message;
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
