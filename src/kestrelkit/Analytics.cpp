#include "kestrelkit/Analytics.h"

#include "kestrelkit/ObservableUserDefault.h"

#include <QStringList>

namespace kestrelkit {

Analytics::Analytics(DefaultsStore *defaults, LogStore *store)
    : m_defaults(defaults)
    , m_logger(QString::fromLatin1(kBundleIdentifier), QStringLiteral("Analytics"), store)
{
}

Analytics &Analytics::shared()
{
    static Analytics *analytics = new Analytics;
    return *analytics;
}

QString Analytics::counterKey(const QString &name, const QString &parameter, const QString &value)
{
    QString key = QStringLiteral("analytics.") + name;
    if (!parameter.isEmpty())
        key += QLatin1Char('.') + parameter + QLatin1Char('.') + value;
    return key;
}

void Analytics::signalFromMap(const QString &name, const QVariantMap &parameters)
{
    Parameters pairs;
    for (auto it = parameters.begin(); it != parameters.end(); ++it)
        pairs.append({it.key(), it.value().toString()});
    signal(name, pairs);
}

void Analytics::signal(const QString &name, const Parameters &parameters)
{
    QStringList parts;
    for (const auto &[key, value] : parameters)
        parts.append(key + QStringLiteral(": ") + value);
    m_logger.info(parts.isEmpty() ? name : name + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')'));

    std::lock_guard lock(m_mutex);
    bump(counterKey(name));
    for (const auto &[key, value] : parameters)
        bump(counterKey(name, key, value));
}

qint64 Analytics::count(const QString &name, const QString &parameter, const QString &value) const
{
    return ObservableUserDefault<qint64>(counterKey(name, parameter, value), 0, m_defaults).get();
}

void Analytics::bump(const QString &key)
{
    ObservableUserDefault<qint64> counter(key, 0, m_defaults);
    counter.set(counter.get() + 1);
}

} // namespace kestrelkit
