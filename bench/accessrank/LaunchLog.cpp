#include "LaunchLog.h"

#include <cmath>

std::vector<LaunchEvent> readLaunchLog(QTextStream &in,
                                       const std::function<void(long, const QString &)> &reportBadLine)
{
    std::vector<LaunchEvent> events;
    long number = 0;
    QString line;
    while (in.readLineInto(&line)) {
        ++number;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype comma = trimmed.indexOf(QLatin1Char(','));
        if (comma < 0) {
            reportBadLine(number, QStringLiteral("no comma"));
            continue;
        }
        bool ok = false;
        const double seconds = trimmed.left(comma).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(seconds)) {
            reportBadLine(number, QStringLiteral("time is not a number of seconds"));
            continue;
        }
        const QString id = trimmed.mid(comma + 1).trimmed();
        if (id.isEmpty()) {
            reportBadLine(number, QStringLiteral("no item identifier"));
            continue;
        }
        events.push_back({seconds, id});
    }
    return events;
}
