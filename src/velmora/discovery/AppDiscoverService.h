#pragma once

#include "velmora/discovery/AppDiscoverServiceDelegate.h"
#include "velmora/discovery/DiscoveryEnvironment.h"
#include "velmora/discovery/MDSearchItem.h"
#include "velmora/discovery/SpotlightStatus.h"

#include "kestrelkit/Logger.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

namespace velmora {

class FolderManager;
class MetadataQuery;

// Finds the installed applications through the live index and hands the filtered,
// sorted list to its delegate on every change. Main thread only.
class AppDiscoverService : public QObject {
    Q_OBJECT
public:
    // `folders` gives the user-added folders at start(); null means FolderManager::shared().
    explicit AppDiscoverService(DiscoveryEnvironment environment = DiscoveryEnvironment::fromProcess(),
                                FolderManager *folders = nullptr, QObject *parent = nullptr);
    ~AppDiscoverService() override;

    [[nodiscard]] static AppDiscoverService &shared();

    // Configures the scopes and starts the live query; call once.
    void start();

    // Runs "mdutil -s PATH" synchronously; none when the answer fits no rule.
    [[nodiscard]] std::optional<SpotlightStatus> checkSpotlightStatus(const QString &path) const;

    void setDelegate(AppDiscoverServiceDelegate *delegate);
    [[nodiscard]] AppDiscoverServiceDelegate *delegate() const;

    // The list last handed to the delegate.
    [[nodiscard]] const MDSearchItemList &results() const { return m_results; }
    [[nodiscard]] MetadataQuery &query() const { return *m_query; }
    [[nodiscard]] const DiscoveryEnvironment &environment() const { return m_environment; }

    [[nodiscard]] static QString searchAppsTerm();
    [[nodiscard]] static QStringList coreServicesWhiteList();

    // The filter and sort applied to the query's results (core-services rule, own
    // identifiers dropped, stable localized case-insensitive order by display name).
    [[nodiscard]] static MDSearchItemList filteredAndSorted(const MDSearchItemList &items);

signals:
    // Emitted right after the delegate received a new list.
    void resultsUpdated(const velmora::MDSearchItemList &items);

private:
    void rebuild();

    kestrelkit::Logger m_logger;
    DiscoveryEnvironment m_environment;
    FolderManager *m_folders;
    MetadataQuery *m_query;
    AppDiscoverServiceDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject; // set when the delegate is a QObject
    bool m_delegateIsObject = false;
    MDSearchItemList m_results;
};

} // namespace velmora
