#pragma once

#include "kestrelkit/Logger.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariantMap>

#include <mutex>

namespace kestrelkit {

class DefaultsStore;

// The usage-analytics client, local only: a signal becomes an info entry in the category
// "Analytics" and bumps a counter per parameter value in the defaults. Nothing leaves the
// machine. Thread-safe.
class Analytics {
public:
    using Parameters = QList<QPair<QString, QString>>;

    // `defaults` null: the standard defaults; `store` null: the shared log store.
    explicit Analytics(DefaultsStore *defaults = nullptr, LogStore *store = nullptr);
    static Analytics &shared();

    // signal("Launcher.launchApp", {{"by", "Enter"}})
    void signal(const QString &name, const Parameters &parameters = {});
    // The same with the parameters as a map of texts (as the launcher sends them).
    void signalFromMap(const QString &name, const QVariantMap &parameters);

    // Times `name` was sent with `parameter` = `value` (or at all, when both are empty).
    [[nodiscard]] qint64 count(const QString &name, const QString &parameter = {},
                               const QString &value = {}) const;
    // "analytics.Launcher.launchApp.by.Enter"; "analytics.Launcher.launchApp" for the total.
    [[nodiscard]] static QString counterKey(const QString &name, const QString &parameter = {},
                                            const QString &value = {});

private:
    void bump(const QString &key);

    DefaultsStore *m_defaults;
    Logger m_logger;
    std::mutex m_mutex;
};

} // namespace kestrelkit
