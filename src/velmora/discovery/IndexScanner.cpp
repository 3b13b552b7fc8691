#include "velmora/discovery/IndexScanner.h"

#include "velmora/discovery/AppBundleReader.h"
#include "velmora/discovery/DesktopEntryReader.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace velmora {

namespace {

struct FileStat {
    qint64 mtimeNs = 0;
    qint64 size = -1;
    quint64 inode = 0;
    quint64 device = 0;
    bool isDir = false;
    bool isFile = false;
};

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

bool sameFile(const IndexScanner::CacheEntry &e, const FileStat &s)
{
    return e.mtimeNs == s.mtimeNs && e.size == s.size && e.inode == s.inode;
}

// Entry names of a folder, sorted so the gathering order does not depend on the disk.
std::vector<QByteArray> listFolder(const QByteArray &path)
{
    std::vector<QByteArray> names;
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return names;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

class Pass {
public:
    Pass(const IndexScanner::Options &options, const IndexScanner::Cache &old)
        : m_options(options)
        , m_old(old)
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

    void walk(const QByteArray &dir, const QByteArray &idPrefix, const FileStat &dirStat, int depth)
    {
        // Symlinked folders are followed, but each real folder is entered once.
        if (!m_visited.insert({dirStat.device, dirStat.inode}).second)
            return;
        m_result.watchDirectories.append(QFile::decodeName(dir));
        for (const QByteArray &name : listFolder(dir)) {
            const QByteArray path = dir + '/' + name;
            FileStat st;
            if (!statPath(path, st))
                continue; // dangling link or vanished meanwhile
            if (st.isDir && name.endsWith(".app")) {
                addBundle(path);
            } else if (st.isFile && name.endsWith(".desktop")) {
                addDesktopEntry(path, QString::fromUtf8(idPrefix + name), st);
            } else if (st.isDir && depth < m_options.maxDepth) {
                walk(path, idPrefix + name + '-', st, depth + 1);
            }
        }
    }

    void addBundle(const QByteArray &bundle)
    {
        const QString bundlePath = QFile::decodeName(bundle);
        m_result.watchDirectories.append(bundlePath);
        const QByteArray contents = bundle + "/Contents";
        FileStat contentsStat;
        if (statPath(contents, contentsStat) && contentsStat.isDir)
            m_result.watchDirectories.append(QFile::decodeName(contents));
        FileStat st;
        if (!statPath(contents + "/Info.plist", st) || !st.isFile)
            return;
        IndexScanner::CacheEntry entry;
        const auto cached = m_old.constFind(bundlePath);
        if (cached != m_old.constEnd() && sameFile(*cached, st)) {
            entry = *cached;
        } else {
            ++m_result.parsedCount;
            entry.mtimeNs = st.mtimeNs;
            entry.size = st.size;
            entry.inode = st.inode;
            if (auto item = AppBundleReader::read(bundlePath))
                entry.item = std::make_shared<const MetadataItem>(std::move(*item));
            entry.shown = entry.item != nullptr;
        }
        if (entry.item)
            m_result.items.append(entry.item);
        m_result.cache.insert(bundlePath, std::move(entry));
    }

    void addDesktopEntry(const QByteArray &file, const QString &desktopID, const FileStat &st)
    {
        // A desktop file ID already claimed by a folder of higher precedence shadows this copy.
        if (m_claimedIDs.contains(desktopID))
            return;
        const QString path = QFile::decodeName(file);
        IndexScanner::CacheEntry entry;
        const auto cached = m_old.constFind(path);
        if (cached != m_old.constEnd() && sameFile(*cached, st) && cached->desktopID == desktopID) {
            entry = *cached;
        } else {
            ++m_result.parsedCount;
            entry.mtimeNs = st.mtimeNs;
            entry.size = st.size;
            entry.inode = st.inode;
            entry.desktopID = desktopID;
            if (auto parsed = DesktopEntryReader::read(path, desktopID, m_options.currentDesktop)) {
                entry.shadows = true;
                entry.shown = parsed->shown;
                if (parsed->shown)
                    entry.item = std::make_shared<const MetadataItem>(std::move(parsed->item));
            }
        }
        if (entry.shadows)
            m_claimedIDs.insert(desktopID);
        if (entry.item)
            m_result.items.append(entry.item);
        m_result.cache.insert(path, std::move(entry));
    }

    const IndexScanner::Options &m_options;
    const IndexScanner::Cache &m_old;
    IndexScanner::Result m_result;
    std::set<std::pair<quint64, quint64>> m_visited;
    QSet<QString> m_claimedIDs;
};

} // namespace

IndexScanner::Result IndexScanner::scan(const QStringList &scopes, const Options &options,
                                        const Cache &cache)
{
    Pass pass(options, cache);
    for (const QString &scope : scopes)
        pass.scanScope(scope);
    Result result = pass.takeResult();
    result.watchDirectories.removeDuplicates();
    return result;
}

} // namespace velmora
