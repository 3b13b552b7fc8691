#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// One full pass over the scopes, run on a worker thread. Parsed files are kept in a
// cache keyed by path and checked against modification time, size and inode, so a pass
// after one change re-reads one file. Not thread-safe: one pass at a time per cache.
class IndexScanner {
public:
    struct CacheEntry {
        qint64 mtimeNs = 0;
        qint64 size = -1;
        quint64 inode = 0;
        QString desktopID;
        MetadataItemPtr item; // null: not an application, or unreadable
        bool shown = false;
        bool shadows = false; // a desktop entry that claims its desktop file ID
    };
    using Cache = QHash<QString, CacheEntry>;

    struct Options {
        QString currentDesktop;
        int maxDepth = 8;
    };

    struct Result {
        QList<MetadataItemPtr> items; // gathering order
        QStringList watchDirectories;
        Cache cache;
        int parsedCount = 0;
    };

    // `cache` is the previous pass's cache; the result carries the new one (entries of
    // files no longer seen are dropped).
    [[nodiscard]] static Result scan(const QStringList &scopes, const Options &options,
                                     const Cache &cache);
};

} // namespace velmora
