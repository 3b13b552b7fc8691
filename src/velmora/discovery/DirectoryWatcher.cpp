#include "velmora/discovery/DirectoryWatcher.h"

#include <QFile>
#include <QSet>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace velmora {

namespace {
constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_MOVED_FROM
                           | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
}

DirectoryWatcher::DirectoryWatcher(QObject *parent)
    : QObject(parent)
    , m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    m_changes.everything = false;
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &DirectoryWatcher::readEvents);
    }
}

DirectoryWatcher::~DirectoryWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QStringList DirectoryWatcher::setDirectories(const QStringList &directories)
{
    QStringList added;
    if (m_fd < 0)
        return added;
    const QSet<QString> wanted(directories.cbegin(), directories.cend());
    for (auto it = m_watchByPath.begin(); it != m_watchByPath.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        QStringList &paths = m_pathsByWatch[it.value()];
        paths.removeOne(it.key());
        if (paths.isEmpty()) {
            inotify_rm_watch(m_fd, it.value());
            m_pathsByWatch.remove(it.value());
        }
        it = m_watchByPath.erase(it);
    }
    for (const QString &dir : wanted) {
        if (m_watchByPath.contains(dir))
            continue;
        const int wd = inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), kMask);
        if (wd < 0)
            continue;
        m_watchByPath.insert(dir, wd);
        m_pathsByWatch[wd].append(dir);
        added.append(dir);
    }
    return added;
}

FolderChanges DirectoryWatcher::takeChanges()
{
    FolderChanges out = std::move(m_changes);
    m_changes = {};
    m_changes.everything = false;
    return out;
}

void DirectoryWatcher::forgetWatch(int wd)
{
    for (const QString &path : m_pathsByWatch.take(wd))
        m_watchByPath.remove(path);
}

void DirectoryWatcher::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    bool any = false;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        any = true;
        for (ssize_t offset = 0; offset + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event)) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                m_changes.everything = true;
                continue;
            }
            const QStringList paths = m_pathsByWatch.value(event->wd);
            for (const QString &path : paths) {
                const QByteArray folder = QFile::encodeName(path);
                if (event->len > 0 && event->name[0])
                    m_changes.names[folder].insert(QByteArray(event->name));
                else
                    m_changes.folders.insert(folder); // the folder itself changed
            }
            // The kernel dropped this watch (folder deleted or unmounted): forget it so a
            // folder created again at that path is watched anew.
            if (event->mask & IN_IGNORED)
                forgetWatch(event->wd);
        }
    }
    if (any)
        emit changed();
}

} // namespace velmora
