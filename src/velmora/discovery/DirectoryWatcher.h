#pragma once

#include "velmora/discovery/IndexScanner.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class QSocketNotifier;

namespace velmora {

// Watches a set of folders with inotify and collects what changed in them.
// QFileSystemWatcher does not report a file rewritten in place inside a watched folder
// (it leaves out IN_MODIFY/IN_CLOSE_WRITE for folders), which is how editors and package
// tools often touch a .desktop file, and it does not say which entry changed, which the
// scanner needs to avoid listing unchanged folders again; so this talks to inotify.
class DirectoryWatcher : public QObject {
    Q_OBJECT
public:
    explicit DirectoryWatcher(QObject *parent = nullptr);
    ~DirectoryWatcher() override;

    // Replaces the watched set; folders that cannot be watched are left out quietly.
    // Returns the folders that were not watched before.
    QStringList setDirectories(const QStringList &directories);
    [[nodiscard]] qsizetype watchCount() const { return m_watchByPath.size(); }
    [[nodiscard]] bool isValid() const { return m_fd >= 0; }

    // The changes collected since the last call (`everything` false unless events were lost).
    [[nodiscard]] FolderChanges takeChanges();

signals:
    void changed();

private:
    void readEvents();
    void forgetWatch(int wd);

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, int> m_watchByPath;
    QHash<int, QStringList> m_pathsByWatch; // one inode reached by several paths shares a watch
    FolderChanges m_changes;
};

} // namespace velmora
