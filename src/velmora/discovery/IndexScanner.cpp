#include "velmora/discovery/IndexScanner.h"

#include "velmora/discovery/AppBundleReader.h"
#include "velmora/discovery/DesktopEntryReader.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

namespace velmora {

void FolderChanges::merge(const FolderChanges &other)
{
    everything = everything || other.everything;
    for (auto it = other.names.cbegin(); it != other.names.cend(); ++it)
        names[it.key()].unite(it.value());
    folders.unite(other.folders);
}

namespace {

using FileStat = IndexScanner::FileStat;
using Child = IndexScanner::Child;

bool statPath(const QByteArray &path, FileStat &out)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return false;
    out.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    out.size = st.st_size;
    out.inode = st.st_ino;
    out.device = st.st_dev;
    out.isDir = S_ISDIR(st.st_mode);
    out.isFile = S_ISREG(st.st_mode);
    return true;
}

bool sameFile(const FileStat &a, const FileStat &b)
{
    return a.mtimeNs == b.mtimeNs && a.size == b.size && a.inode == b.inode && a.device == b.device;
}

bool byName(const Child &a, const Child &b)
{
    return a.name < b.name;
}

// A sorted listing with each entry stat'ed (links followed); vanished entries are left out.
std::vector<Child> listFolder(const QByteArray &path)
{
    std::vector<Child> children;
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return children;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        Child child{QByteArray(e->d_name), {}};
        if (statPath(path + '/' + child.name, child.stat))
            children.push_back(std::move(child));
    }
    ::closedir(dir);
    std::sort(children.begin(), children.end(), byName);
    return children;
}

// The previous listing with only the named entries looked at again.
std::vector<Child> patchListing(std::vector<Child> children, const QByteArray &path,
                                const QSet<QByteArray> &names)
{
    for (const QByteArray &name : names) {
        Child child{name, {}};
        const bool exists = statPath(path + '/' + name, child.stat);
        auto it = std::lower_bound(children.begin(), children.end(), child, byName);
        const bool listed = it != children.end() && it->name == name;
        if (exists && listed)
            *it = std::move(child);
        else if (exists)
            children.insert(it, std::move(child));
        else if (listed)
            children.erase(it);
    }
    return children;
}

class Pass {
public:
    Pass(const IndexScanner::Options &options, const IndexScanner::Cache &old, const FolderChanges &changes)
        : m_options(options)
        , m_old(old)
        , m_changes(changes)
    {
    }

    void scanScope(const QString &scope)
    {
        const QString clean = QDir::cleanPath(scope);
        const QByteArray encoded = QFile::encodeName(clean);
        FileStat st;
        if (!statPath(encoded, st) || !st.isDir) {
            // Missing (or a file): watch the nearest existing folder above it, so the
            // scope is picked up when it appears.
            watchNearestAncestor(clean);
            return;
        }
        walk(encoded, QByteArray(), st, 0);
    }

    IndexScanner::Result takeResult() { return std::move(m_result); }

private:
    void watchNearestAncestor(QString path)
    {
        while (!path.isEmpty() && path != QLatin1String("/")) {
            path = QDir::cleanPath(path + QLatin1String("/.."));
            FileStat st;
            if (statPath(QFile::encodeName(path), st) && st.isDir) {
                m_result.watchDirectories.append(path);
                return;
            }
        }
    }

    std::vector<Child> listing(const QByteArray &dir)
    {
        const auto old = m_old.folders.constFind(dir);
        std::vector<Child> children;
        if (old == m_old.folders.constEnd() || m_changes.everything || m_changes.folders.contains(dir))
            children = listFolder(dir);
        else if (const auto names = m_changes.names.constFind(dir); names != m_changes.names.constEnd())
            children = patchListing(*old, dir, *names);
        else
            children = *old;
        m_result.cache.folders.insert(dir, children);
        return children;
    }

    void walk(const QByteArray &dir, const QByteArray &idPrefix, const FileStat &dirStat, int depth)
    {
        // Symlinked folders are followed, but each real folder is entered once.
        if (!m_visited.insert({dirStat.device, dirStat.inode}).second)
            return;
        const QString dirPath = QFile::decodeName(dir);
        m_result.watchDirectories.append(dirPath);
        m_result.folderMtimes.insert(dirPath, dirStat.mtimeNs);
        for (const Child &child : listing(dir)) {
            const QByteArray path = dir + '/' + child.name;
            if (child.stat.isDir && child.name.endsWith(".app")) {
                addBundle(path);
            } else if (child.stat.isFile && child.name.endsWith(".desktop")) {
                addDesktopEntry(path, QString::fromUtf8(idPrefix + child.name), child.stat);
            } else if (child.stat.isDir && depth < m_options.maxDepth) {
                walk(path, idPrefix + child.name + '-', child.stat, depth + 1);
            }
        }
    }

    void addBundle(const QByteArray &bundle)
    {
        const QString bundlePath = QFile::decodeName(bundle);
        const QByteArray contents = bundle + "/Contents";
        m_result.watchDirectories.append(bundlePath);
        const auto cached = m_old.files.constFind(bundlePath);
        IndexScanner::CacheEntry entry;
        if (cached != m_old.files.constEnd() && !m_changes.touches(bundle) && !m_changes.touches(contents)) {
            entry = *cached; // nothing happened in or under the bundle folder
        } else {
            FileStat st;
            if (!statPath(contents + "/Info.plist", st) || !st.isFile)
                return;
            if (cached != m_old.files.constEnd() && sameFile(cached->stat, st)) {
                entry = *cached;
            } else {
                ++m_result.parsedCount;
                entry.stat = st;
                if (auto item = AppBundleReader::read(bundlePath))
                    entry.item = std::make_shared<const MetadataItem>(std::move(*item));
            }
        }
        m_result.watchDirectories.append(QFile::decodeName(contents));
        if (entry.item)
            m_result.items.append(entry.item);
        m_result.cache.files.insert(bundlePath, std::move(entry));
    }

    void addDesktopEntry(const QByteArray &file, const QString &desktopID, const FileStat &st)
    {
        // A desktop file ID already claimed by a folder of higher precedence shadows this copy.
        if (m_claimedIDs.contains(desktopID))
            return;
        const QString path = QFile::decodeName(file);
        IndexScanner::CacheEntry entry;
        const auto cached = m_old.files.constFind(path);
        if (cached != m_old.files.constEnd() && sameFile(cached->stat, st) && cached->desktopID == desktopID) {
            entry = *cached;
        } else {
            ++m_result.parsedCount;
            entry.stat = st;
            entry.desktopID = desktopID;
            if (auto parsed = DesktopEntryReader::read(path, desktopID, m_options.currentDesktop, &m_programs)) {
                entry.shadows = true;
                if (parsed->shown)
                    entry.item = std::make_shared<const MetadataItem>(std::move(parsed->item));
            }
        }
        if (entry.shadows)
            m_claimedIDs.insert(desktopID);
        if (entry.item)
            m_result.items.append(entry.item);
        m_result.cache.files.insert(path, std::move(entry));
    }

    const IndexScanner::Options &m_options;
    const IndexScanner::Cache &m_old;
    const FolderChanges &m_changes;
    IndexScanner::Result m_result;
    std::set<std::pair<quint64, quint64>> m_visited;
    QSet<QString> m_claimedIDs;
    ProgramLookup m_programs;
};

} // namespace

IndexScanner::Result IndexScanner::scan(const QStringList &scopes, const Options &options, const Cache &cache,
                                        const FolderChanges &changes)
{
    Pass pass(options, cache, changes);
    for (const QString &scope : scopes)
        pass.scanScope(scope);
    Result result = pass.takeResult();
    result.watchDirectories.removeDuplicates();
    return result;
}

} // namespace velmora
