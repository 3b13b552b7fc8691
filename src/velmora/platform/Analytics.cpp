#include "velmora/platform/Analytics.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QStringList>

namespace velmora {

namespace {

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("Analytics"));
    return log;
}

kestrelkit::ObservableUserDefault<qint64> counter(const QString &name,
                                                  kestrelkit::DefaultsStore *store)
{
    return {QStringLiteral("analytics.") + name, 0, store};
}

} // namespace

Analytics::Analytics(kestrelkit::DefaultsStore *store)
    : m_store(store)
{
}

Analytics &Analytics::shared()
{
    static Analytics analytics;
    return analytics;
}

void Analytics::start()
{
    m_started = true;
    logger().info(QStringLiteral("Analytics started (kept on this machine)"));
}

void Analytics::signal(const QString &name, const QVariantMap &parameters)
{
    QStringList params;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        params << QStringLiteral("%1=%2").arg(it.key(), it.value().toString());
    logger().info(params.isEmpty() ? name : QStringLiteral("%1 %2").arg(name, params.join(u' ')));
    auto value = counter(name, m_store);
    value.set(value.get() + 1);
}

qint64 Analytics::count(const QString &name) const
{
    return counter(name, m_store).get();
}

} // namespace velmora
