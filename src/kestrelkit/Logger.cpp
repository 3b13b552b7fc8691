#include "kestrelkit/Logger.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace kestrelkit {

namespace {

const char *levelTag(LogLevel level)
{
    switch (level) {
    case LogLevel::Undefined: return "undefined";
    case LogLevel::Debug: return "debug";
    case LogLevel::Info: return "info";
    case LogLevel::Notice: return "notice";
    case LogLevel::Error: return "error";
    case LogLevel::Fault: return "fault";
    }
    return "default";
}

QByteArray mirrorLine(const LogEntry &e)
{
    return e.date.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz")).toUtf8() + ' '
           + levelTag(e.level) + " [" + e.subsystem.toUtf8() + ' ' + e.category.toUtf8() + "] "
           + e.message.toUtf8() + '\n';
}

} // namespace

struct LogStore::Impl {
    explicit Impl(std::size_t cap) : capacity(cap ? cap : 1) {}

    mutable std::mutex mutex;
    std::deque<LogEntry> entries;
    std::size_t capacity;
    std::uint64_t nextSequence = 1;
    std::uint64_t dropped = 0;

    // The stderr mirror; its thread starts with the first setMirrorToStderr(true).
    bool mirror = false;
    bool stopping = false;
    std::uint64_t mirrored = 0; // last sequence written to stderr
    std::condition_variable wake;
    std::thread mirrorThread;

    // Caller holds `mutex`.
    std::deque<LogEntry>::const_iterator firstAfter(std::uint64_t sequence) const
    {
        if (entries.empty() || sequence < entries.front().sequence)
            return entries.begin();
        const std::uint64_t offset = sequence - entries.front().sequence + 1;
        return offset >= entries.size() ? entries.end()
                                        : entries.begin() + static_cast<std::ptrdiff_t>(offset);
    }

    // Takes the unmirrored entries; caller holds `mutex`.
    std::vector<LogEntry> takeUnmirrored()
    {
        std::vector<LogEntry> out(firstAfter(mirrored), entries.cend());
        if (!entries.empty())
            mirrored = entries.back().sequence;
        return out;
    }

    static void write(const std::vector<LogEntry> &batch)
    {
        QByteArray text;
        for (const LogEntry &e : batch)
            text += mirrorLine(e);
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
        std::fflush(stderr);
    }

    void runMirror()
    {
        std::unique_lock lock(mutex);
        while (!stopping) {
            wake.wait(lock, [this] {
                return stopping || (mirror && !entries.empty() && entries.back().sequence > mirrored);
            });
            std::vector<LogEntry> batch = takeUnmirrored();
            lock.unlock();
            write(batch);
            lock.lock();
        }
    }
};

LogStore::LogStore(std::size_t capacity)
    : d(std::make_unique<Impl>(capacity))
{
}

LogStore::~LogStore()
{
    {
        std::lock_guard lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    if (d->mirrorThread.joinable())
        d->mirrorThread.join();
}

LogStore &LogStore::shared()
{
    // Never destroyed: loggers may run during static destruction of other objects.
    static LogStore *store = new LogStore;
    return *store;
}

void LogStore::append(LogEntry entry)
{
    bool notify = false;
    {
        std::lock_guard lock(d->mutex);
        entry.sequence = d->nextSequence++;
        // Stamped under the lock, so dates never go backwards in append order.
        if (!entry.date.isValid())
            entry.date = QDateTime::currentDateTimeUtc();
        if (d->entries.size() >= d->capacity) {
            d->entries.pop_front();
            ++d->dropped;
        }
        d->entries.push_back(std::move(entry));
        notify = d->mirror;
    }
    if (notify)
        d->wake.notify_one();
}

std::vector<LogEntry> LogStore::entriesAfter(const QDateTime &after) const
{
    std::lock_guard lock(d->mutex);
    // Entries are appended in time order, so scan from the back.
    auto it = d->entries.cend();
    while (it != d->entries.cbegin() && std::prev(it)->date > after)
        --it;
    return {it, d->entries.cend()};
}

std::vector<LogEntry> LogStore::entriesAfterSequence(std::uint64_t sequence) const
{
    std::lock_guard lock(d->mutex);
    return {d->firstAfter(sequence), d->entries.cend()};
}

std::vector<LogEntry> LogStore::allEntries() const
{
    std::lock_guard lock(d->mutex);
    return {d->entries.cbegin(), d->entries.cend()};
}

std::uint64_t LogStore::lastSequence() const
{
    std::lock_guard lock(d->mutex);
    return d->nextSequence - 1;
}

std::uint64_t LogStore::droppedCount() const
{
    std::lock_guard lock(d->mutex);
    return d->dropped;
}

void LogStore::setMirrorToStderr(bool on)
{
    {
        std::lock_guard lock(d->mutex);
        if (on && !d->mirror) // mirror what comes from now on
            d->mirrored = d->nextSequence - 1;
        d->mirror = on;
        if (on && !d->mirrorThread.joinable())
            d->mirrorThread = std::thread([impl = d.get()] { impl->runMirror(); });
    }
    d->wake.notify_one();
    if (on && this == &shared()) {
        static const bool registered = [] {
            std::atexit([] { LogStore::shared().flushMirror(); });
            return true;
        }();
        Q_UNUSED(registered);
    }
}

bool LogStore::mirrorsToStderr() const
{
    std::lock_guard lock(d->mutex);
    return d->mirror;
}

void LogStore::flushMirror()
{
    std::vector<LogEntry> batch;
    {
        std::lock_guard lock(d->mutex);
        if (!d->mirror)
            return;
        batch = d->takeUnmirrored();
    }
    Impl::write(batch);
}

Logger::Logger(QString category)
    : Logger(QString::fromLatin1(kBundleIdentifier), std::move(category))
{
}

Logger::Logger(QString subsystem, QString category)
    : Logger(std::move(subsystem), std::move(category), nullptr)
{
}

Logger::Logger(QString subsystem, QString category, LogStore *store)
    : m_subsystem(std::move(subsystem))
    , m_category(std::move(category))
    , m_store(store)
{
}

void Logger::log(LogLevel level, const QString &message) const
{
    // The store stamps the date (UTC, cheap); the text is made in local time when written.
    (m_store ? *m_store : LogStore::shared())
        .append(LogEntry{QDateTime(), level, m_subsystem, m_category, message});
}

void Logger::logWithMetadata(LogLevel level, const QString &message, const char *function,
                             unsigned long line, unsigned long column) const
{
    log(level, QStringLiteral("(%1:%2:%3) %4")
                   .arg(QString::fromUtf8(function))
                   .arg(line)
                   .arg(column)
                   .arg(message));
}

void Logger::faultWithMetadata(const QString &m, const char *f, unsigned long l, unsigned long c) const
{
    logWithMetadata(LogLevel::Fault, m, f, l, c);
}
void Logger::errorWithMetadata(const QString &m, const char *f, unsigned long l, unsigned long c) const
{
    logWithMetadata(LogLevel::Error, m, f, l, c);
}
void Logger::noticeWithMetadata(const QString &m, const char *f, unsigned long l, unsigned long c) const
{
    logWithMetadata(LogLevel::Notice, m, f, l, c);
}
void Logger::infoWithMetadata(const QString &m, const char *f, unsigned long l, unsigned long c) const
{
    logWithMetadata(LogLevel::Info, m, f, l, c);
}
void Logger::debugWithMetadata(const QString &m, const char *f, unsigned long l, unsigned long c) const
{
    logWithMetadata(LogLevel::Debug, m, f, l, c);
}

} // namespace kestrelkit
