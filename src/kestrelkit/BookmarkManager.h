#pragma once

#include "kestrelkit/ObservableUserDefault.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kestrelkit {

class DefaultsStore;

// A persistent, resolvable reference to a folder: its path with the device and inode it
// had when the bookmark was made. It resolves by path and is stale when the folder there
// is no longer the same one (another inode).
struct Bookmark {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;

    [[nodiscard]] QByteArray toData() const;
    [[nodiscard]] static std::optional<Bookmark> fromData(const QByteArray &data);
    // Bookmark of the folder at `path`; none (with `error` set) when it is not a folder.
    [[nodiscard]] static std::optional<Bookmark> create(const QString &path, QString *error = nullptr);
};

// The folders the user granted access to, kept as bookmarks in the defaults
// ("bookmark.paths" and "bookmark: <path>"). Access to a folder is an open descriptor of
// it, held while the folder is in accessedURLs(). Main thread only.
class BookmarkManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList paths READ paths NOTIFY pathsChanged)
public:
    // Runs Restore: reopens every stored folder whose bookmark still resolves.
    explicit BookmarkManager(DefaultsStore *defaults = nullptr, QObject *parent = nullptr);
    ~BookmarkManager() override;
    static BookmarkManager &shared();

    [[nodiscard]] QStringList paths() const;
    [[nodiscard]] QStringList accessedURLs() const;

    void addFolder(const QString &path);
    void removeFolder(int index);

    // The user's home from the user database, else the one the environment gives.
    [[nodiscard]] static QString homeDirectoryPath();
    [[nodiscard]] static QString bookmarkKey(const QString &path);

signals:
    void pathsChanged();

private:
    struct Access {
        QString path;
        int fd;
    };
    std::optional<QString> resolve(const QString &path);
    bool startAccessing(const QString &path);
    void stopAccessing(const QString &path);
    void setPaths(const QStringList &paths);

    DefaultsStore *m_defaults;
    ObservableUserDefault<QStringList> m_paths;
    std::vector<Access> m_accessed;
};

} // namespace kestrelkit
