#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

// What changed on disk since the last pass, as the folder watcher saw it.
struct FolderChanges {
    bool everything = true;                     // no previous pass, or events were lost
    QHash<QByteArray, QSet<QByteArray>> names;  // folder → names of changed entries in it
    QSet<QByteArray> folders;                   // folders to list again completely

    void merge(const FolderChanges &other);
    [[nodiscard]] bool touches(const QByteArray &folder) const
    {
        return everything || folders.contains(folder) || names.contains(folder);
    }
};

// One pass over the scopes, run on a worker thread. The previous pass's folder listings
// and parsed files are kept in a cache: folders without changes are not listed again and
// files whose path, modification time, size and inode are unchanged are not read again,
// so a pass after one change re-reads one file. One pass at a time per cache.
class IndexScanner {
public:
    struct FileStat {
        qint64 mtimeNs = 0;
        qint64 size = -1;
        quint64 inode = 0;
        quint64 device = 0;
        bool isDir = false;
        bool isFile = false;
    };
    struct Child {
        QByteArray name;
        FileStat stat;
    };
    struct CacheEntry {
        FileStat stat;
        QString desktopID;
        MetadataItemPtr item; // null: not shown, not an application, or unreadable
        bool shadows = false; // a desktop entry that claims its desktop file ID
    };
    struct Cache {
        QHash<QString, CacheEntry> files;               // by path (bundle folder or .desktop)
        QHash<QByteArray, std::vector<Child>> folders;  // sorted listings
    };

    struct Options {
        QString currentDesktop;
        int maxDepth = 8;
    };

    struct Result {
        QList<MetadataItemPtr> items; // gathering order
        QStringList watchDirectories;
        QHash<QString, qint64> folderMtimes; // walked folders, as stat'ed before listing
        Cache cache;
        int parsedCount = 0;
    };

    [[nodiscard]] static Result scan(const QStringList &scopes, const Options &options, const Cache &cache,
                                     const FolderChanges &changes = {});
};

} // namespace velmora
