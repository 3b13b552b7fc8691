#include "kestrelkit/DefaultsStore.h"

#include "kestrelkit/Logger.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>
#include <mutex>

#include <sys/stat.h>

namespace kestrelkit {

namespace {

const Logger &log()
{
    static const Logger logger(QStringLiteral("Kestrelkit/Defaults"));
    return logger;
}

// On disk: {"entries": {KEY: {"data": BASE64} | {"value": JSON}}}
constexpr auto kEntries = "entries";
constexpr auto kData = "data";
constexpr auto kValue = "value";

// Every write replaces the file (new inode), so inode + size + mtime tell a change.
struct FileStamp {
    bool exists = false;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 mtimeNs = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::mutex standardMutex;
std::unique_ptr<DefaultsStore> standardStore;

} // namespace

struct DefaultsStore::Impl {
    QString path;
    mutable QMutex mutex;
    mutable QJsonObject entries;
    mutable FileStamp loadedStamp;
    mutable bool loadedOnce = false;

    // Reloads when the file changed since the last read. Caller holds `mutex`.
    void refresh(bool force = false) const
    {
        const FileStamp stamp = stampOf(path);
        if (!force && loadedOnce && stamp == loadedStamp)
            return;
        loadedOnce = true;
        loadedStamp = stamp;
        entries = {};
        if (!stamp.exists)
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            log().error(QStringLiteral("Cannot read defaults file %1: %2").arg(path, file.errorString()));
            return;
        }
        const QByteArray bytes = file.readAll();
        file.close();
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()
            || !doc.object().value(QLatin1String(kEntries)).isObject()) {
            moveAsideCorrupt(error.error != QJsonParseError::NoError ? error.errorString()
                                                                     : QStringLiteral("not a defaults file"));
            return;
        }
        entries = doc.object().value(QLatin1String(kEntries)).toObject();
    }

    void moveAsideCorrupt(const QString &reason) const
    {
        const QString aside = path + QStringLiteral(".corrupt-")
                              + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzz"));
        const bool moved = QFile::rename(path, aside);
        const QString message = moved
            ? QStringLiteral("The defaults file %1 could not be read (%2); it was moved to %3 and the settings start empty.")
                  .arg(path, reason, aside)
            : QStringLiteral("The defaults file %1 could not be read (%2) and could not be moved aside; the settings start empty.")
                  .arg(path, reason);
        std::fprintf(stderr, "%s\n", qPrintable(message));
        log().error(message);
        loadedStamp = stampOf(path);
    }

    // Read-modify-write under the cross-process lock. Caller holds `mutex`.
    template <typename Change>
    bool write(Change change)
    {
        const QString dir = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(dir)) {
            log().error(QStringLiteral("Cannot create folder %1 for the defaults").arg(dir));
            return false;
        }
        QLockFile lock(path + QStringLiteral(".lock"));
        lock.setStaleLockTime(10000);
        if (!lock.tryLock(5000)) {
            log().error(QStringLiteral("Timed out waiting for the defaults lock of %1").arg(path));
            return false;
        }
        refresh(true);
        QJsonObject updated = entries;
        change(updated);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            log().error(QStringLiteral("Cannot write defaults file %1: %2").arg(path, file.errorString()));
            return false;
        }
        QJsonObject root;
        root.insert(QLatin1String(kEntries), updated);
        file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
        if (!file.commit()) {
            log().error(QStringLiteral("Cannot write defaults file %1: %2").arg(path, file.errorString()));
            return false;
        }
        entries = updated;
        loadedStamp = stampOf(path);
        return true;
    }
};

DefaultsStore::DefaultsStore(QString filePath)
    : d(std::make_unique<Impl>())
{
    d->path = std::move(filePath);
}

DefaultsStore::~DefaultsStore() = default;

QString DefaultsStore::standardPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/velmora/defaults.json");
}

DefaultsStore &DefaultsStore::standard()
{
    std::lock_guard lock(standardMutex);
    if (!standardStore)
        standardStore = std::make_unique<DefaultsStore>(standardPath());
    return *standardStore;
}

void DefaultsStore::resetStandard(const QString &filePath)
{
    std::lock_guard lock(standardMutex);
    standardStore = std::make_unique<DefaultsStore>(filePath);
}

const QString &DefaultsStore::filePath() const { return d->path; }

std::optional<QByteArray> DefaultsStore::data(const QString &key) const
{
    QMutexLocker lock(&d->mutex);
    d->refresh();
    const QJsonValue entry = d->entries.value(key);
    if (!entry.isObject())
        return std::nullopt;
    const QJsonValue data = entry.toObject().value(QLatin1String(kData));
    if (!data.isString())
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(data.toString().toLatin1(),
                                                  QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

std::optional<QJsonValue> DefaultsStore::plainValue(const QString &key) const
{
    QMutexLocker lock(&d->mutex);
    d->refresh();
    const QJsonValue entry = d->entries.value(key);
    if (!entry.isObject() || !entry.toObject().contains(QLatin1String(kValue)))
        return std::nullopt;
    return entry.toObject().value(QLatin1String(kValue));
}

bool DefaultsStore::contains(const QString &key) const
{
    QMutexLocker lock(&d->mutex);
    d->refresh();
    return d->entries.contains(key);
}

QStringList DefaultsStore::keys() const
{
    QMutexLocker lock(&d->mutex);
    d->refresh();
    return d->entries.keys();
}

bool DefaultsStore::setData(const QString &key, const QByteArray &bytes)
{
    QMutexLocker lock(&d->mutex);
    return d->write([&](QJsonObject &entries) {
        entries.insert(key, QJsonObject{{QLatin1String(kData), QString::fromLatin1(bytes.toBase64())}});
    });
}

bool DefaultsStore::setPlainValue(const QString &key, const QJsonValue &value)
{
    QMutexLocker lock(&d->mutex);
    return d->write([&](QJsonObject &entries) {
        entries.insert(key, QJsonObject{{QLatin1String(kValue), value}});
    });
}

bool DefaultsStore::remove(const QString &key)
{
    QMutexLocker lock(&d->mutex);
    d->refresh();
    if (!d->entries.contains(key))
        return true;
    return d->write([&](QJsonObject &entries) { entries.remove(key); });
}

QByteArray encodeJsonValue(const QJsonValue &value)
{
    // QJsonDocument only holds arrays and objects: encode inside an array, then unwrap.
    QByteArray bytes = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return bytes.mid(1, bytes.size() - 2);
}

std::optional<QJsonValue> decodeJsonValue(const QByteArray &bytes)
{
    if (bytes.trimmed().isEmpty())
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson('[' + bytes + ']', &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1)
        return std::nullopt;
    return doc.array().at(0);
}

} // namespace kestrelkit
