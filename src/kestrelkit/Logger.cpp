#include "kestrelkit/Logger.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <cstdio>

namespace kestrelkit {

struct LogStore::Impl {
    mutable QMutex mutex;
    std::vector<LogEntry> entries;
    std::atomic<bool> mirror{false};
};

LogStore &LogStore::shared()
{
    static LogStore store;
    return store;
}

LogStore::Impl &LogStore::impl() const
{
    static Impl instance;
    return instance;
}

void LogStore::append(LogEntry entry)
{
    Impl &d = impl();
    if (d.mirror.load(std::memory_order_relaxed)) {
        const QByteArray line = QStringLiteral("[%1] %2: %3\n")
                                    .arg(entry.subsystem, entry.category, entry.message)
                                    .toUtf8();
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    }
    QMutexLocker lock(&d.mutex);
    d.entries.push_back(std::move(entry));
}

std::vector<LogEntry> LogStore::entriesAfter(const QDateTime &after) const
{
    Impl &d = impl();
    QMutexLocker lock(&d.mutex);
    std::vector<LogEntry> result;
    // Entries are appended in time order, so scan from the back.
    auto it = d.entries.end();
    while (it != d.entries.begin() && std::prev(it)->date > after)
        --it;
    result.assign(it, d.entries.end());
    return result;
}

std::vector<LogEntry> LogStore::allEntries() const
{
    Impl &d = impl();
    QMutexLocker lock(&d.mutex);
    return d.entries;
}

void LogStore::setMirrorToStderr(bool on) { impl().mirror.store(on); }
bool LogStore::mirrorsToStderr() const { return impl().mirror.load(); }

Logger::Logger(QString category)
    : Logger(QString::fromLatin1(kBundleIdentifier), std::move(category))
{
}

Logger::Logger(QString subsystem, QString category)
    : m_subsystem(std::move(subsystem))
    , m_category(std::move(category))
{
}

void Logger::log(LogLevel level, const QString &message) const
{
    LogStore::shared().append(
        LogEntry{QDateTime::currentDateTime(), level, m_subsystem, m_category, message});
}

} // namespace kestrelkit
