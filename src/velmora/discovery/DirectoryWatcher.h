#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class QSocketNotifier;

namespace velmora {

// Watches a set of folders with inotify and reports that something inside changed.
// QFileSystemWatcher does not report a file rewritten in place inside a watched folder
// (it leaves out IN_MODIFY/IN_CLOSE_WRITE for folders), which is the common way editors
// and package tools touch a .desktop file, so this talks to inotify directly.
class DirectoryWatcher : public QObject {
    Q_OBJECT
public:
    explicit DirectoryWatcher(QObject *parent = nullptr);
    ~DirectoryWatcher() override;

    // Replaces the watched set; folders that cannot be watched are left out quietly.
    void setDirectories(const QStringList &directories);
    [[nodiscard]] qsizetype watchCount() const { return m_watchByPath.size(); }
    [[nodiscard]] bool isValid() const { return m_fd >= 0; }

signals:
    void changed();

private:
    void readEvents();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, int> m_watchByPath;
};

} // namespace velmora
