#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

namespace velmora {

// The live index of applications: scans its scopes for *.app bundles and *.desktop
// entries off the main thread, watches the folders (inotify) and rescans after a burst
// of changes has settled. Signals arrive on the thread that owns the query (main).
class MetadataQuery : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString currentDesktop; // XDG_CURRENT_DESKTOP, for OnlyShowIn/NotShowIn
        int coalesceMilliseconds = 250;
        int maxDepth = 8;
    };

    explicit MetadataQuery(QObject *parent = nullptr);
    ~MetadataQuery() override;

    // Scopes in precedence order: a desktop file ID seen in an earlier scope shadows later
    // copies. Set before start().
    void setSearchScopes(const QStringList &scopes);
    [[nodiscard]] QStringList searchScopes() const;
    void setOptions(const Options &options);

    // False when already started or no scope was given.
    bool start();
    void stop();
    [[nodiscard]] bool isStarted() const;
    [[nodiscard]] bool hasFinishedGathering() const;

    // The current results in gathering order (scope order, then by name within each
    // folder); empty until the first gathering ends.
    [[nodiscard]] QList<MetadataItemPtr> results() const;
    [[nodiscard]] qsizetype resultCount() const;

    // Files read from disk (not served from the cache) by the last scan.
    [[nodiscard]] int lastScanParsedCount() const;

signals:
    void didFinishGathering();
    void didUpdate();

private:
    void scheduleScan();
    void runScan();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace velmora
