#include "velmora/ranking/AccessRankClock.h"

#include <QDateTime>

#include <cmath>

namespace velmora {

ClockReading AccessRankClock::reading(double secondsSince1970, const QTimeZone &zone)
{
    const auto msecs = static_cast<qint64>(std::floor(secondsSince1970 * 1000.0));
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs, zone);
    // Qt counts Monday as 1 and Sunday as 7; the model counts Sunday as 1.
    return {secondsSince1970, local.time().hour(), local.date().dayOfWeek() % 7 + 1};
}

ClockReading SystemClock::now() const
{
    const QDateTime local = QDateTime::currentDateTime();
    return {double(local.toMSecsSinceEpoch()) / 1000.0, local.time().hour(),
            local.date().dayOfWeek() % 7 + 1};
}

ManualClock::ManualClock(double secondsSince1970, QTimeZone zone)
    : m_zone(std::move(zone))
    , m_seconds(secondsSince1970)
{
}

void ManualClock::setTime(double secondsSince1970) { m_seconds.store(secondsSince1970); }

ClockReading ManualClock::now() const { return reading(m_seconds.load(), m_zone); }

} // namespace velmora
