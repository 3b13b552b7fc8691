#pragma once

#include <QTimeZone>

#include <atomic>
#include <memory>

namespace velmora {

// A moment as the ranking model sees it.
struct ClockReading {
    double secondsSince1970 = 0.0;
    int hour = 0;    // 0-23, in the clock's time zone
    int weekday = 1; // 1 = Sunday ... 7 = Saturday (Gregorian)
};

// Where the ranking model gets "now" from. Read on the model's executor, so
// implementations must be thread-safe.
class AccessRankClock {
public:
    virtual ~AccessRankClock() = default;
    [[nodiscard]] virtual ClockReading now() const = 0;

    // Hour and weekday of an instant in a time zone.
    [[nodiscard]] static ClockReading reading(double secondsSince1970, const QTimeZone &zone);
};

// The wall clock in the user's current calendar and time zone.
class SystemClock final : public AccessRankClock {
public:
    [[nodiscard]] ClockReading now() const override;
};

// A clock that stands still until it is set; for tests and replays.
class ManualClock final : public AccessRankClock {
public:
    explicit ManualClock(double secondsSince1970 = 0.0,
                         QTimeZone zone = QTimeZone::systemTimeZone());
    void setTime(double secondsSince1970);
    [[nodiscard]] ClockReading now() const override;

private:
    QTimeZone m_zone;
    std::atomic<double> m_seconds;
};

} // namespace velmora
