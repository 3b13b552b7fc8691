#include "velmora/discovery/LaunchpadDatabase.h"

#include "velmora/discovery/DiscoveryEnvironment.h"
#include "velmora/discovery/GnomeAppFolders.h"
#include "velmora/discovery/IndexScanner.h"

#include "kestrelkit/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <mutex>

namespace velmora {

namespace {

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QString::fromLatin1(kestrelkit::kBundleIdentifier),
                                        QStringLiteral("LaunchpadDatabase"));
    return log;
}

// Developer messages go to standard output with their fixed prefix, and to the log.
void report(const QString &prefix, const QString &error)
{
    QTextStream(stdout) << prefix << error << Qt::endl;
    logger().error(prefix + error);
}

struct Db {
    sqlite3 *handle = nullptr;
    ~Db() { sqlite3_close(handle); }
};

std::optional<qint64> integerColumn(sqlite3_stmt *stmt, int column)
{
    if (sqlite3_column_type(stmt, column) != SQLITE_INTEGER)
        return std::nullopt;
    return sqlite3_column_int64(stmt, column);
}

std::optional<QString> textColumn(sqlite3_stmt *stmt, int column)
{
    if (sqlite3_column_type(stmt, column) != SQLITE_TEXT)
        return std::nullopt;
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

// Runs one query; `decode` returns false for a row whose values do not fit the record,
// which is skipped (a row of garbage must not cost the user the whole import).
template <typename Row>
QList<Row> fetch(sqlite3 *db, const char *sql, const QString &failurePrefix,
                 const std::function<std::optional<Row>(sqlite3_stmt *)> &decode)
{
    QList<Row> rows;
    if (!db)
        return rows;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        report(failurePrefix, QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(stmt);
        return rows;
    }
    int skipped = 0;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (auto row = decode(stmt))
            rows.append(std::move(*row));
        else
            ++skipped;
    }
    if (rc != SQLITE_DONE) {
        report(failurePrefix, QString::fromUtf8(sqlite3_errmsg(db)));
        rows.clear();
    } else if (skipped > 0) {
        report(failurePrefix, QStringLiteral("%1 rows with unexpected values skipped").arg(skipped));
    }
    sqlite3_finalize(stmt);
    return rows;
}

template <typename Key, typename Value>
void insertOrAssign(std::vector<std::pair<Key, Value>> &map, const Key &key, Value value)
{
    for (auto &entry : map) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    map.emplace_back(key, std::move(value));
}

std::optional<LaunchpadApp> firstAppWithItemID(const QList<LaunchpadApp> &apps, qint64 id)
{
    for (const LaunchpadApp &app : apps) {
        if (app.item_id == id)
            return app;
    }
    return std::nullopt;
}

bool isGnomeDesktop(const QString &currentDesktop)
{
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(names.cbegin(), names.cend(), [](const QString &name) {
        return name.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0;
    });
}

QList<InstalledDesktopApp> installedDesktopApps(const DiscoveryEnvironment &env)
{
    const auto scan = IndexScanner::scan(env.xdgApplicationFolders(),
                                         {env.currentDesktop, env.maxDepth}, {});
    QList<InstalledDesktopApp> apps;
    for (const MetadataItemPtr &item : scan.items) {
        if (item->kind == MetadataItem::Kind::DesktopEntry)
            apps.append({item->bundleID, item->desktopCategories});
    }
    return apps;
}

} // namespace

size_t qHash(const LaunchpadApp &v, size_t seed) noexcept
{
    return qHashMulti(seed, v.item_id, v.bundleID);
}

size_t qHash(const Groups &v, size_t seed) noexcept
{
    return qHashMulti(seed, v.item_id, v.title.has_value(), v.title.value_or(QString()));
}

size_t qHash(const Items &v, size_t seed) noexcept
{
    return qHashMulti(seed, v.rowid, v.type, v.parent_id.has_value(), v.parent_id.value_or(0));
}

Groups LaunchpadDatabase::uncategorizedGroup()
{
    return {-1, QStringLiteral("Uncategorized")};
}

QString LaunchpadDatabase::defaultDatabasePath()
{
    return QDir::cleanPath(QDir::tempPath() + QStringLiteral("/../0/com.apple.dock.launchpad/db/db"));
}

std::unique_ptr<LaunchpadDatabase> LaunchpadDatabase::fromDatabaseFile(const QString &path)
{
    Db db;
    // Read-only and never created: this is another program's data.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db.handle,
                                   SQLITE_OPEN_READONLY, nullptr);
    bool open = rc == SQLITE_OK;
    if (!open) {
        // Only macOS has this database; its absence is the normal case everywhere else.
        if (QFileInfo::exists(path))
            report(QStringLiteral("Failed to open database: "),
                   QStringLiteral("%1 (%2)").arg(QString::fromUtf8(sqlite3_errstr(rc)), path));
        else
            logger().info(QStringLiteral("No Launchpad database at %1").arg(path));
        sqlite3_close(db.handle);
        db.handle = nullptr;
    } else {
        sqlite3_busy_timeout(db.handle, 2000);
    }

    auto apps = fetch<LaunchpadApp>(
        db.handle, "SELECT item_id,bundleID FROM apps", QStringLiteral("Failed to fetch launchpad apps: "),
        [](sqlite3_stmt *s) -> std::optional<LaunchpadApp> {
            const auto id = integerColumn(s, 0);
            const auto bundleID = textColumn(s, 1);
            if (!id || !bundleID)
                return std::nullopt;
            return LaunchpadApp{*id, *bundleID};
        });
    auto items = fetch<Items>(
        db.handle, "SELECT rowid,type,parent_id FROM items", QStringLiteral("Failed to fetch launchpad items: "),
        [](sqlite3_stmt *s) -> std::optional<Items> {
            const auto rowid = integerColumn(s, 0);
            const auto type = integerColumn(s, 1);
            const bool parentNull = sqlite3_column_type(s, 2) == SQLITE_NULL;
            const auto parent = integerColumn(s, 2);
            if (!rowid || !type || (!parentNull && !parent))
                return std::nullopt;
            return Items{*rowid, *type, parent};
        });
    auto groups = fetch<Groups>(
        db.handle, "SELECT item_id,title FROM groups", QStringLiteral("Failed to fetch launchpad groups: "),
        [](sqlite3_stmt *s) -> std::optional<Groups> {
            const auto id = integerColumn(s, 0);
            const bool titleNull = sqlite3_column_type(s, 1) == SQLITE_NULL;
            const auto title = textColumn(s, 1);
            if (!id || (!titleNull && !title))
                return std::nullopt;
            return Groups{*id, title};
        });
    auto result = fromRows(std::move(apps), std::move(items), std::move(groups));
    result->m_open = open;
    return result;
}

std::unique_ptr<LaunchpadDatabase> LaunchpadDatabase::fromRows(QList<LaunchpadApp> apps,
                                                               QList<Items> items,
                                                               QList<Groups> groups)
{
    std::stable_sort(apps.begin(), apps.end(),
                     [](const auto &a, const auto &b) { return a.item_id < b.item_id; });
    std::stable_sort(items.begin(), items.end(),
                     [](const auto &a, const auto &b) { return a.rowid < b.rowid; });
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto &a, const auto &b) { return a.item_id < b.item_id; });

    // Untitled groups are folder pages (type 3 items under a folder): their contents move
    // up into the folder. Other untitled groups release their contents to the top level.
    QList<Groups> titled;
    for (const Groups &group : groups) {
        if (group.title) {
            titled.append(group);
            continue;
        }
        const auto groupItem = std::find_if(items.cbegin(), items.cend(), [&](const Items &item) {
            return item.rowid == group.item_id;
        });
        std::optional<qint64> newParent;
        if (groupItem != items.cend() && groupItem->type == 3) {
            if (!groupItem->parent_id)
                continue;
            newParent = groupItem->parent_id;
        }
        for (Items &item : items) {
            if (item.parent_id == group.item_id)
                item.parent_id = newParent;
        }
    }

    std::unique_ptr<LaunchpadDatabase> db(new LaunchpadDatabase());
    for (const Groups &group : titled) {
        QList<LaunchpadApp> list;
        for (const Items &item : items) {
            if (item.parent_id == group.item_id) {
                if (auto app = firstAppWithItemID(apps, item.rowid))
                    list.append(*app);
            }
        }
        insertOrAssign(db->m_launchpadData, group, std::move(list));
    }
    QList<LaunchpadApp> uncategorized;
    for (const Items &item : items) {
        if (!item.parent_id) {
            if (auto app = firstAppWithItemID(apps, item.rowid))
                uncategorized.append(*app);
        }
    }
    insertOrAssign(db->m_launchpadData, uncategorizedGroup(), std::move(uncategorized));
    db->buildReverted();
    return db;
}

std::unique_ptr<LaunchpadDatabase>
LaunchpadDatabase::fromGnomeFolders(const QList<GnomeAppFolder> &folders,
                                    const QList<InstalledDesktopApp> &installed)
{
    std::unique_ptr<LaunchpadDatabase> db(new LaunchpadDatabase());
    QHash<QString, LaunchpadApp> appByID;
    auto appFor = [&](const QString &desktopID) {
        auto it = appByID.find(desktopID);
        if (it == appByID.end())
            it = appByID.insert(desktopID, LaunchpadApp{appByID.size() + 1, desktopID});
        return *it;
    };
    QSet<QString> inFolder;
    qint64 groupID = 0;
    for (const GnomeAppFolder &folder : folders) {
        const Groups group{++groupID, folder.name};
        const QSet<QString> excluded(folder.excludedApps.cbegin(), folder.excludedApps.cend());
        QStringList members;
        for (const QString &id : folder.apps) {
            if (!excluded.contains(id) && !members.contains(id))
                members.append(id);
        }
        for (const InstalledDesktopApp &app : installed) {
            const bool matches = std::any_of(
                app.categories.cbegin(), app.categories.cend(),
                [&](const QString &c) { return folder.categories.contains(c); });
            if (matches && !excluded.contains(app.desktopID) && !members.contains(app.desktopID))
                members.append(app.desktopID);
        }
        QList<LaunchpadApp> list;
        for (const QString &id : members) {
            list.append(appFor(id));
            inFolder.insert(id);
        }
        insertOrAssign(db->m_launchpadData, group, std::move(list));
    }
    QList<LaunchpadApp> uncategorized;
    for (const InstalledDesktopApp &app : installed) {
        if (!inFolder.contains(app.desktopID))
            uncategorized.append(appFor(app.desktopID));
    }
    insertOrAssign(db->m_launchpadData, uncategorizedGroup(), std::move(uncategorized));
    db->m_open = true;
    db->buildReverted();
    return db;
}

void LaunchpadDatabase::buildReverted()
{
    m_reverted.clear();
    for (const auto &[group, apps] : m_launchpadData) {
        for (const LaunchpadApp &app : apps)
            insertOrAssign(m_reverted, app, group);
    }
}

std::optional<Groups> LaunchpadDatabase::groupForBundleID(const QString &bundleID) const
{
    for (const auto &[app, group] : m_reverted) {
        if (app.bundleID == bundleID)
            return group;
    }
    return std::nullopt;
}

LaunchpadDatabase &LaunchpadDatabase::shared()
{
    static std::unique_ptr<LaunchpadDatabase> instance;
    static std::once_flag once;
    std::call_once(once, [] {
        const QString path = defaultDatabasePath();
        const DiscoveryEnvironment env = DiscoveryEnvironment::fromProcess();
        if (!QFileInfo::exists(path) && isGnomeDesktop(env.currentDesktop)) {
            if (auto folders = GnomeAppFolders::read()) {
                QStringList dataDirs{env.xdgDataHome.isEmpty()
                                         ? env.homePath + QStringLiteral("/.local/share")
                                         : env.xdgDataHome};
                dataDirs += env.xdgDataDirs.isEmpty()
                                ? QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}
                                : env.xdgDataDirs;
                for (GnomeAppFolder &folder : *folders)
                    folder.name = GnomeAppFolders::displayName(folder, dataDirs);
                instance = fromGnomeFolders(*folders, installedDesktopApps(env));
                logger().info(QStringLiteral("Imported %1 GNOME app folders.").arg(folders->size()));
                return;
            }
        }
        instance = fromDatabaseFile(path);
    });
    return *instance;
}

} // namespace velmora
