#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// The user's extra application folders, kept as plain absolute paths under the defaults
// key "folderManager.paths". Folders that vanished are dropped at construction.
class FolderManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList paths READ paths WRITE setPaths NOTIFY pathsChanged)
public:
    static constexpr const char *kPathsKey = "folderManager.paths";

    // `store` null means the standard defaults store.
    explicit FolderManager(kestrelkit::DefaultsStore *store = nullptr, QObject *parent = nullptr);

    [[nodiscard]] static FolderManager &shared();

    [[nodiscard]] QStringList paths() const;
    void setPaths(const QStringList &paths);

    // Appends the URL's local path (no trailing slash) unless already listed.
    Q_INVOKABLE void addFolder(const QUrl &url);
    // Removes the entry at `index` when it is within the list.
    Q_INVOKABLE void removeFolder(int index);

signals:
    void pathsChanged();

private:
    kestrelkit::DefaultsStore *m_store;
};

} // namespace velmora
