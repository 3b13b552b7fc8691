#pragma once

#include <QString>
#include <QVariantMap>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// Usage analytics that never leave the machine: each signal is an info entry in the log
// (category "Analytics") and a counter in the defaults ("analytics.<signal name>").
class Analytics {
public:
    // `store` null means the user's defaults.
    explicit Analytics(kestrelkit::DefaultsStore *store = nullptr);

    static Analytics &shared();

    void start();
    [[nodiscard]] bool isStarted() const { return m_started; }
    void signal(const QString &name, const QVariantMap &parameters = {});
    [[nodiscard]] qint64 count(const QString &name) const;

private:
    kestrelkit::DefaultsStore *m_store;
    bool m_started = false;
};

} // namespace velmora
