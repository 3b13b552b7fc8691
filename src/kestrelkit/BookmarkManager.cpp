#include "kestrelkit/BookmarkManager.h"

#include "kestrelkit/DefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrelkit {

QByteArray Bookmark::toData() const
{
    return QJsonDocument(QJsonObject{{QStringLiteral("path"), path},
                                     {QStringLiteral("device"), QString::number(device)},
                                     {QStringLiteral("inode"), QString::number(inode)}})
        .toJson(QJsonDocument::Compact);
}

std::optional<Bookmark> Bookmark::fromData(const QByteArray &data)
{
    const QJsonDocument doc = QJsonDocument::fromJson(data);
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    bool deviceOk = false;
    bool inodeOk = false;
    Bookmark b{o.value(QStringLiteral("path")).toString(),
               o.value(QStringLiteral("device")).toString().toULongLong(&deviceOk),
               o.value(QStringLiteral("inode")).toString().toULongLong(&inodeOk)};
    if (b.path.isEmpty() || !QDir::isAbsolutePath(b.path) || !deviceOk || !inodeOk)
        return std::nullopt;
    return b;
}

std::optional<Bookmark> Bookmark::create(const QString &path, QString *error)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    if (!S_ISDIR(st.st_mode)) {
        if (error)
            *error = QStringLiteral("Not a folder");
        return std::nullopt;
    }
    return Bookmark{QDir::cleanPath(QDir(path).absolutePath()), quint64(st.st_dev), quint64(st.st_ino)};
}

BookmarkManager::BookmarkManager(DefaultsStore *defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_paths(QStringLiteral("bookmark.paths"), {}, defaults)
{
    m_paths.setObserver(this, [this] { emit pathsChanged(); });
    // Restore: paths whose bookmark no longer resolves stay listed until removed.
    for (const QString &path : paths()) {
        if (const auto url = resolve(path))
            startAccessing(*url);
    }
}

BookmarkManager::~BookmarkManager()
{
    for (const Access &a : m_accessed)
        ::close(a.fd);
    m_accessed.clear();
}

BookmarkManager &BookmarkManager::shared()
{
    static BookmarkManager *manager = new BookmarkManager;
    return *manager;
}

QString BookmarkManager::bookmarkKey(const QString &path) { return QStringLiteral("bookmark: ") + path; }

QStringList BookmarkManager::paths() const { return m_paths.get(); }

QStringList BookmarkManager::accessedURLs() const
{
    QStringList out;
    for (const Access &a : m_accessed)
        out.append(a.path);
    return out;
}

void BookmarkManager::setPaths(const QStringList &paths) { m_paths.set(paths); }

std::optional<QString> BookmarkManager::resolve(const QString &path)
{
    DefaultsStore &store = m_defaults ? *m_defaults : DefaultsStore::standard();
    const QString key = bookmarkKey(path);
    const auto data = store.data(key);
    if (!data)
        return std::nullopt;
    const auto bookmark = Bookmark::fromData(*data);
    const auto current = bookmark ? Bookmark::create(bookmark->path) : std::nullopt;
    if (!current) {
        store.remove(key);
        return std::nullopt;
    }
    const bool stale = current->device != bookmark->device || current->inode != bookmark->inode;
    if (stale)
        store.setData(bookmarkKey(current->path), current->toData());
    return current->path;
}

bool BookmarkManager::startAccessing(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    m_accessed.push_back(Access{path, fd});
    return true;
}

void BookmarkManager::stopAccessing(const QString &path)
{
    for (auto it = m_accessed.begin(); it != m_accessed.end(); ++it) {
        if (it->path == path) {
            ::close(it->fd);
            m_accessed.erase(it);
            return;
        }
    }
}

void BookmarkManager::addFolder(const QString &rawPath)
{
    const QString path = QDir::cleanPath(QDir(rawPath).absolutePath());
    if (!startAccessing(path))
        return;
    // startAccessing appended it; it counts once created below.
    Access opened = m_accessed.back();
    m_accessed.pop_back();
    QString error;
    const auto bookmark = Bookmark::create(path, &error);
    if (!bookmark) {
        std::printf("Failed to create bookmark for %s: %s\n", qPrintable(path), qPrintable(error));
        std::fflush(stdout);
        ::close(opened.fd);
        return;
    }
    DefaultsStore &store = m_defaults ? *m_defaults : DefaultsStore::standard();
    store.setData(bookmarkKey(path), bookmark->toData());
    QStringList list = paths();
    if (!list.contains(path)) {
        list.append(path);
        setPaths(list);
    }
    m_accessed.push_back(opened);
}

void BookmarkManager::removeFolder(int index)
{
    QStringList list = paths();
    if (index < 0 || index >= list.size())
        return;
    const QString path = list.at(index);
    if (const auto url = resolve(path))
        stopAccessing(*url);
    DefaultsStore &store = m_defaults ? *m_defaults : DefaultsStore::standard();
    store.remove(bookmarkKey(path));
    list.removeAt(index);
    setPaths(list);
}

QString BookmarkManager::homeDirectoryPath()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, Qt::Uninitialized);
    passwd pwd {};
    passwd *result = nullptr;
    if (getpwuid_r(getuid(), &pwd, buffer.data(), static_cast<std::size_t>(buffer.size()), &result) == 0
        && result && result->pw_dir && *result->pw_dir)
        return QFile::decodeName(result->pw_dir);
    return QDir::homePath();
}

} // namespace kestrelkit
