#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

// Rows of the system launcher's database, decoded by column name.
struct LaunchpadApp {
    qint64 item_id = 0;
    QString bundleID;
    friend bool operator==(const LaunchpadApp &, const LaunchpadApp &) = default;
};

struct Groups {
    qint64 item_id = 0;
    std::optional<QString> title;
    friend bool operator==(const Groups &, const Groups &) = default;
};

struct Items {
    qint64 rowid = 0;
    qint64 type = 0;
    std::optional<qint64> parent_id;
    friend bool operator==(const Items &, const Items &) = default;
};

[[nodiscard]] size_t qHash(const LaunchpadApp &v, size_t seed = 0) noexcept;
[[nodiscard]] size_t qHash(const Groups &v, size_t seed = 0) noexcept;
[[nodiscard]] size_t qHash(const Items &v, size_t seed = 0) noexcept;

// One folder of GNOME's app folders (org.gnome.desktop.app-folders).
struct GnomeAppFolder {
    QString id;
    QString name;
    bool translate = false;
    QStringList apps;
    QStringList categories;
    QStringList excludedApps;
};

// An installed desktop entry, as needed to expand a GNOME folder's categories.
struct InstalledDesktopApp {
    QString desktopID;
    QStringList categories;
};

// The import tables built once from the system launcher's folders: which applications
// each named folder holds, and which folder each application is in. Ordered maps with
// unique keys (insertion order is iteration order).
class LaunchpadDatabase {
public:
    using GroupApps = std::vector<std::pair<Groups, QList<LaunchpadApp>>>;
    using AppGroup = std::vector<std::pair<LaunchpadApp, Groups>>;

    // The pseudo-group of applications in no folder: item_id -1, title "Uncategorized".
    [[nodiscard]] static Groups uncategorizedGroup();

    // Reads the SQLite database at `path`, read-only; a missing file is never created.
    [[nodiscard]] static std::unique_ptr<LaunchpadDatabase> fromDatabaseFile(const QString &path);
    // GNOME's folders turned into the same tables; `installed` expands folder categories.
    [[nodiscard]] static std::unique_ptr<LaunchpadDatabase>
    fromGnomeFolders(const QList<GnomeAppFolder> &folders,
                     const QList<InstalledDesktopApp> &installed);
    // Builds the tables from already fetched rows (the algorithm, without I/O).
    [[nodiscard]] static std::unique_ptr<LaunchpadDatabase>
    fromRows(QList<LaunchpadApp> apps, QList<Items> items, QList<Groups> groups);

    // "../0/com.apple.dock.launchpad/db/db" next to the user's temporary folder.
    [[nodiscard]] static QString defaultDatabasePath();

    // Built on first use (thread-safe): the Launchpad database when it exists; otherwise,
    // on a GNOME desktop, the user's GNOME app folders; otherwise empty tables.
    [[nodiscard]] static LaunchpadDatabase &shared();

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] const GroupApps &launchpadData() const { return m_launchpadData; }
    [[nodiscard]] const AppGroup &revertedLaunchpadData() const { return m_reverted; }

    // The group of the first key of revertedLaunchpadData whose bundleID matches.
    [[nodiscard]] std::optional<Groups> groupForBundleID(const QString &bundleID) const;

private:
    LaunchpadDatabase() = default;
    void buildReverted();

    bool m_open = false;
    GroupApps m_launchpadData;
    AppGroup m_reverted;
};

} // namespace velmora
