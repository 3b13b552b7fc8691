#include "kestrelkit/LogManager.h"

#include "kestrelkit/CrashReporter.h"
#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/LogFormat.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QPromise>
#include <QUuid>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kestrelkit {

namespace {

constexpr qint64 kMaxLogAgeSeconds = 604800;

// Forwards the application's deactivation to the manager (QGuiApplication lives above us,
// so its signal is found by name).
class ApplicationStateWatcher : public QObject {
    Q_OBJECT
public:
    ApplicationStateWatcher(LogManager *manager, QObject *parent) : QObject(parent), m_manager(manager) {}
public slots:
    void stateChanged(Qt::ApplicationState state)
    {
        if (state != Qt::ApplicationActive)
            m_manager->applicationDidResignActive();
    }

private:
    LogManager *m_manager;
};

std::optional<QDateTime> defaultCreationDate(const QString &path)
{
    const QFileInfo info(path);
    QDateTime birth = info.birthTime();
    if (birth.isValid())
        return birth;
    QDateTime modified = info.lastModified();
    if (modified.isValid())
        return modified;
    return std::nullopt;
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    std::size_t left = static_cast<std::size_t>(data.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

LogStore *g_qtMessageStore = nullptr;
QtMessageHandler g_previousQtHandler = nullptr;

void qtMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    LogLevel level = LogLevel::Notice;
    switch (type) {
    case QtDebugMsg: level = LogLevel::Debug; break;
    case QtInfoMsg: level = LogLevel::Info; break;
    case QtWarningMsg: level = LogLevel::Error; break;
    case QtCriticalMsg:
    case QtFatalMsg: level = LogLevel::Fault; break;
    }
    if (g_qtMessageStore) {
        g_qtMessageStore->append(LogEntry{QDateTime(), level,
                                          QStringLiteral("org.qt-project.Qt"),
                                          QString::fromUtf8(context.category ? context.category : "default"),
                                          message});
    }
    if (g_previousQtHandler)
        g_previousQtHandler(type, context, message);
}

} // namespace

struct LogManager::Impl {
    LogManager *owner = nullptr;
    Environment env;
    LogStore *store = nullptr;
    Logger logger;
    ObservableUserDefault<bool> advancedLogging;
    QString folder;
    QString fileName;

    // Actor state: touched on the worker thread, or under `stateMutex` by the crash path.
    std::timed_mutex stateMutex;
    std::uint64_t cursor = 0;
    QDateTime lastLoggingTime;
    bool crashHandlersInstalled = false;
    int crashFd = -1;

    // The worker and its queue.
    std::mutex queueMutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> queue;
    bool stopping = false;
    bool periodic = false;
    std::chrono::steady_clock::time_point nextCollection;
    std::thread worker;

    Impl(LogManager *o, Environment e)
        : owner(o)
        , env(std::move(e))
        , store(env.store ? env.store : &LogStore::shared())
        , logger(LogManager::createLogger(QStringLiteral("Kestrelkit/LogManager.cpp"), store))
        , advancedLogging(QStringLiteral("log.advancedLogging"), false, env.defaults)
    {
        if (!env.now)
            env.now = [] { return QDateTime::currentDateTime(); };
        if (!env.creationDate)
            env.creationDate = defaultCreationDate;
        folder = env.logFolder.isEmpty() ? LogManager::defaultLogFolder() : env.logFolder;
        lastLoggingTime = env.now();
        QDir().mkpath(folder);
        fileName = LogFormat::fileName(env.now().date(), QUuid::createUuid(), env.locale);
        worker = std::thread([this] { run(); });
    }

    ~Impl()
    {
        {
            std::lock_guard lock(queueMutex);
            stopping = true;
        }
        wake.notify_all();
        worker.join();
        if (crashHandlersInstalled) {
            CrashReporter::clearExceptionSink();
            CrashReporter::setPreparedDescriptor(-1);
        }
    }

    QString filePath() const { return QDir(folder).filePath(fileName); }

    void enqueue(std::function<void()> task)
    {
        {
            std::lock_guard lock(queueMutex);
            queue.push_back(std::move(task));
        }
        wake.notify_one();
    }

    std::chrono::milliseconds interval() const
    {
        return advancedLogging.get() ? env.advancedInterval : env.interval;
    }

    void run()
    {
        std::unique_lock lock(queueMutex);
        for (;;) {
            if (!queue.empty()) {
                auto task = std::move(queue.front());
                queue.pop_front();
                lock.unlock();
                task();
                lock.lock();
                continue;
            }
            if (stopping)
                return;
            if (periodic && std::chrono::steady_clock::now() >= nextCollection) {
                lock.unlock();
                collect();
                CrashReporter::refreshClock();
                const auto wait = interval();
                lock.lock();
                nextCollection = std::chrono::steady_clock::now() + wait;
                continue;
            }
            if (periodic)
                wake.wait_until(lock, nextCollection);
            else
                wake.wait(lock);
        }
    }

    // Copies the entries logged since the last written batch. Actor or crash path.
    void collect()
    {
        std::unique_lock lock(stateMutex);
        collectLocked();
    }

    void collectLocked()
    {
        const std::vector<LogEntry> fresh = store->entriesAfterSequence(cursor);
        if (fresh.empty())
            return;
        const bool everything = advancedLogging.get();
        const QStringList subsystems = LogManager::collectedSubsystems();
        LogFormat::EntryFormatter formatter(env.locale);
        QString text;
        for (const LogEntry &e : fresh) {
            if (!everything && !subsystems.contains(e.subsystem))
                continue;
            formatter.append(text, e);
            text += QLatin1Char('\n');
        }
        if (text.isEmpty())
            return;
        // The cursor, not the clock, marks what was copied: an entry logged while this
        // batch was being written is not skipped.
        if (appendLocked(text)) {
            cursor = fresh.back().sequence;
            lastLoggingTime = env.now();
        }
    }

    // Appends to this launch's file; false (and an error entry) when it cannot.
    bool appendLocked(const QString &text)
    {
        const QByteArray data = text.toUtf8();
        const QByteArray path = QFile::encodeName(filePath());
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            logger.error(QStringLiteral("Can't save new logs: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            return false;
        }
        const bool written = writeAll(fd, data);
        const int writeErrno = errno;
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            logger.error(QStringLiteral("Can't save new logs: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(written ? errno : writeErrno))));
            return false;
        }
        prepareCrashDescriptor(path);
        return true;
    }

    // Keeps a descriptor open for the signal path once the file exists.
    void prepareCrashDescriptor(const QByteArray &path)
    {
        if (!crashHandlersInstalled || crashFd >= 0)
            return;
        crashFd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (crashFd >= 0)
            CrashReporter::setPreparedDescriptor(crashFd);
    }

    void forgetCrashDescriptor()
    {
        if (crashFd >= 0 && crashHandlersInstalled)
            CrashReporter::setPreparedDescriptor(-1);
        crashFd = -1;
    }

    void appendTrailer(const char *trailer)
    {
        std::unique_lock lock(stateMutex);
        collectLocked();
        appendLocked(QString::fromUtf8(trailer));
    }

    void removeOldLogs()
    {
        QDir dir(folder);
        if (!dir.exists() || !dir.isReadable()) {
            logger.error(QStringLiteral("Failed to remove old logs: %1 cannot be listed").arg(folder));
            return;
        }
        const QDateTime limit = env.now().addSecs(-kMaxLogAgeSeconds);
        const QFileInfoList items = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo &item : items) {
            if (item.isSymLink() || !LogFormat::isLogFileName(item.fileName()))
                continue;
            const std::optional<QDateTime> created = env.creationDate(item.filePath());
            if (!created || *created >= limit)
                continue;
            QFile::remove(item.filePath());
            logger.info(QStringLiteral("Removed old log file: %1").arg(item.fileName()));
        }
    }

    void clearAllLogs()
    {
        std::unique_lock lock(stateMutex);
        QDir dir(folder);
        for (const QFileInfo &item : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (!item.isSymLink() && LogFormat::isLogFileName(item.fileName()))
                QFile::remove(item.filePath());
        }
        forgetCrashDescriptor();
    }

    // The terminate handler's path: outside the actor, so it must not wait for long.
    void recordException(const QString &record)
    {
        std::unique_lock lock(stateMutex, std::defer_lock);
        if (!lock.try_lock_for(std::chrono::seconds(2)))
            return;
        collectLocked();
        appendLocked(record);
        appendLocked(QString::fromUtf8(LogFormat::kCrashTrailer));
    }
};

LogManager &LogManager::shared()
{
    // Never destroyed: crash handlers and late loggers may still reach it at exit.
    static LogManager *manager = new LogManager;
    return *manager;
}

LogManager::LogManager(Environment environment)
    : d(std::make_unique<Impl>(this, std::move(environment)))
{
}

LogManager::LogManager()
    : LogManager(Environment{})
{
}

LogManager::~LogManager() = default;

QString LogManager::defaultLogFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Velmora/logs");
}

Logger LogManager::createLogger(const QString &fileID, LogStore *store)
{
    const qsizetype dot = fileID.indexOf(QLatin1Char('.'));
    return Logger(QString::fromLatin1(kBundleIdentifier), dot < 0 ? fileID : fileID.left(dot), store);
}

QStringList LogManager::collectedSubsystems()
{
    return {QStringLiteral("com.apple.coredata"), QStringLiteral("com.apple.cameracapture"),
            QString::fromLatin1(kBundleIdentifier)};
}

void LogManager::start()
{
    installCrashHandlers();
    installQtMessageHandler();
    watchApplicationState();
    startPeriodicCollection();
    removeOldLogs();
}

void LogManager::startPeriodicCollection()
{
    {
        std::lock_guard lock(d->queueMutex);
        d->periodic = true;
        d->nextCollection = std::chrono::steady_clock::now();
    }
    d->wake.notify_one();
}

void LogManager::installCrashHandlers()
{
    {
        std::lock_guard lock(d->stateMutex);
        d->crashHandlersInstalled = true;
        if (QFileInfo::exists(d->filePath()))
            d->prepareCrashDescriptor(QFile::encodeName(d->filePath()));
    }
    Impl *impl = d.get();
    CrashReporter::install(d->filePath(), d->env.locale,
                           [impl](const QString &record) { impl->recordException(record); });
}

void LogManager::installQtMessageHandler()
{
    if (g_qtMessageStore)
        return;
    g_qtMessageStore = d->store;
    g_previousQtHandler = qInstallMessageHandler(qtMessageHandler);
}

void LogManager::watchApplicationState()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    const int index = app->metaObject()->indexOfSignal("applicationStateChanged(Qt::ApplicationState)");
    if (index < 0)
        return; // no GUI application: nothing becomes inactive
    auto *watcher = new ApplicationStateWatcher(this, app);
    const QMetaMethod slot = watcher->metaObject()->method(
        watcher->metaObject()->indexOfSlot("stateChanged(Qt::ApplicationState)"));
    QObject::connect(app, app->metaObject()->method(index), watcher, slot);
}

void LogManager::collect()
{
    Impl *impl = d.get();
    d->enqueue([impl] {
        impl->collect();
        CrashReporter::refreshClock();
    });
}

void LogManager::removeOldLogs()
{
    Impl *impl = d.get();
    d->enqueue([impl] { impl->removeOldLogs(); });
}

QFuture<ZipResult> LogManager::zipLogs()
{
    auto promise = std::make_shared<QPromise<ZipResult>>();
    QFuture<ZipResult> future = promise->future();
    promise->start();
    Impl *impl = d.get();
    d->enqueue([impl, promise] {
        impl->appendTrailer(LogFormat::kZipTrailer);
        promise->addResult(zipFolder(impl->folder, impl->env.tempFolder));
        promise->finish();
    });
    return future;
}

QFuture<void> LogManager::purgeOnQuit()
{
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    promise->start();
    Impl *impl = d.get();
    d->enqueue([impl, promise] {
        impl->appendTrailer(LogFormat::kQuitTrailer);
        promise->finish();
    });
    return future;
}

QFuture<void> LogManager::clearAllLogs()
{
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    promise->start();
    Impl *impl = d.get();
    d->enqueue([impl, promise] {
        impl->clearAllLogs();
        promise->finish();
    });
    return future;
}

void LogManager::waitForIdle()
{
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    d->enqueue([&] {
        std::lock_guard lock(m);
        done = true;
        cv.notify_one();
    });
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return done; });
}

QString LogManager::logFolder() const { return d->folder; }
QString LogManager::logFileName() const { return d->fileName; }
QString LogManager::logFilePath() const { return d->filePath(); }

QDateTime LogManager::lastLoggingTime() const
{
    std::lock_guard lock(d->stateMutex);
    return d->lastLoggingTime;
}

bool LogManager::advancedLogging() const { return d->advancedLogging.get(); }
void LogManager::setAdvancedLogging(bool on) { d->advancedLogging.set(on); }
std::chrono::milliseconds LogManager::collectionInterval() const { return d->interval(); }

} // namespace kestrelkit

#include "LogManager.moc"
