#include "velmora/discovery/MetadataQuery.h"

#include "velmora/discovery/DirectoryWatcher.h"
#include "velmora/discovery/IndexScanner.h"

#include <QFile>
#include <QFutureWatcher>
#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/stat.h>

namespace velmora {

struct MetadataQuery::Impl {
    QStringList scopes;
    Options options;
    bool started = false;
    bool finishedGathering = false;
    bool scanRunning = false;
    bool changedDuringScan = false;
    QList<MetadataItemPtr> results;
    IndexScanner::Cache cache;
    FolderChanges pending; // collected since the last pass started
    int parsedCount = 0;
    DirectoryWatcher *watcher = nullptr;
    QTimer *coalesce = nullptr;
    QThreadPool pool; // private, so a busy global pool never delays a rescan

    void finishScan(MetadataQuery *q, IndexScanner::Result result);
};

MetadataQuery::MetadataQuery(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Impl>())
{
    d->pool.setMaxThreadCount(1);
    d->coalesce = new QTimer(this);
    d->coalesce->setSingleShot(true);
    connect(d->coalesce, &QTimer::timeout, this, [this] { runScan(); });
}

MetadataQuery::~MetadataQuery()
{
    // A running pass owns copies of everything it needs; wait so it never outlives us.
    d->pool.waitForDone();
}

void MetadataQuery::setSearchScopes(const QStringList &scopes)
{
    d->scopes = scopes;
}

QStringList MetadataQuery::searchScopes() const
{
    return d->scopes;
}

void MetadataQuery::setOptions(const Options &options)
{
    d->options = options;
}

bool MetadataQuery::start()
{
    if (d->started || d->scopes.isEmpty())
        return false;
    d->started = true;
    d->watcher = new DirectoryWatcher(this);
    connect(d->watcher, &DirectoryWatcher::changed, this, [this] { scheduleScan(); });
    runScan();
    return true;
}

void MetadataQuery::stop()
{
    d->started = false;
    d->coalesce->stop();
    delete d->watcher;
    d->watcher = nullptr;
}

bool MetadataQuery::isStarted() const
{
    return d->started;
}

bool MetadataQuery::hasFinishedGathering() const
{
    return d->finishedGathering;
}

QList<MetadataItemPtr> MetadataQuery::results() const
{
    return d->results;
}

qsizetype MetadataQuery::resultCount() const
{
    return d->results.size();
}

int MetadataQuery::lastScanParsedCount() const
{
    return d->parsedCount;
}

void MetadataQuery::scheduleScan()
{
    if (!d->started)
        return;
    if (d->scanRunning) {
        d->changedDuringScan = true;
        return;
    }
    // Not restarted on later events: a steady stream of changes still gets a rescan
    // every interval instead of never.
    if (!d->coalesce->isActive())
        d->coalesce->start(d->options.coalesceMilliseconds);
}

void MetadataQuery::runScan()
{
    if (!d->started || d->scanRunning)
        return;
    d->scanRunning = true;
    d->changedDuringScan = false;
    if (d->watcher)
        d->pending.merge(d->watcher->takeChanges());
    FolderChanges changes = std::move(d->pending);
    d->pending = {};
    d->pending.everything = false;
    auto *watcher = new QFutureWatcher<IndexScanner::Result>(this);
    connect(watcher, &QFutureWatcher<IndexScanner::Result>::finished, this, [this, watcher] {
        watcher->deleteLater();
        d->finishScan(this, watcher->result());
    });
    const IndexScanner::Options options{d->options.currentDesktop, d->options.maxDepth};
    watcher->setFuture(QtConcurrent::run(&d->pool, [scopes = d->scopes, options,
                                                    cache = d->cache, changes = std::move(changes)] {
        return IndexScanner::scan(scopes, options, cache, changes);
    }));
}

void MetadataQuery::Impl::finishScan(MetadataQuery *q, IndexScanner::Result result)
{
    Impl *d = this;
    d->scanRunning = false;
    if (!d->started)
        return;
    d->cache = std::move(result.cache);
    d->parsedCount = result.parsedCount;
    if (d->watcher) {
        // A folder first watched now may have changed between its listing and its watch:
        // compare its modification time with the one the pass saw, and look again if needed.
        for (const QString &added : d->watcher->setDirectories(result.watchDirectories)) {
            struct stat st {};
            const auto seen = result.folderMtimes.constFind(added);
            if (seen == result.folderMtimes.constEnd())
                continue;
            if (::stat(QFile::encodeName(added).constData(), &st) != 0
                || qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec != *seen) {
                d->pending.folders.insert(QFile::encodeName(added));
                d->changedDuringScan = true;
            }
        }
    }
    const bool first = !d->finishedGathering;
    const bool changed = first || result.items != d->results;
    d->results = std::move(result.items);
    d->finishedGathering = true;
    if (d->changedDuringScan)
        q->scheduleScan();
    if (first)
        emit q->didFinishGathering();
    else if (changed)
        emit q->didUpdate();
}

} // namespace velmora
