#include "velmora/launcher/HeadlessCommands.h"

#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/launcher/Calculator.h"
#include "velmora/launcher/SearchCards.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"
#include "velmora/ranking/AccessRank.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <unistd.h>

namespace velmora {

namespace {

constexpr int kTimeoutMilliseconds = 60000;

LauncherViewObject::AnalyticsSignal &analyticsSignal()
{
    static LauncherViewObject::AnalyticsSignal signal;
    return signal;
}

// Runs the main loop until `done` holds or the deadline passes; false on timeout.
template <typename Done>
bool runUntil(const QDeadlineTimer &deadline, Done done)
{
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(std::min<qint64>(20, std::max<qint64>(1, deadline.remainingTime())), &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool awaitFuture(const QFuture<void> &future, const QDeadlineTimer &deadline)
{
    QFutureWatcher<void> watcher;
    bool finished = false;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, [&finished] { finished = true; });
    watcher.setFuture(future);
    return runUntil(deadline, [&finished] { return finished; });
}

// Developer messages that lower layers print on standard output (a missing Launchpad
// database, for one) go to standard error while it lives, so the answer stays parseable.
class StdoutToStderr {
public:
    StdoutToStderr()
    {
        std::fflush(stdout);
        m_saved = ::dup(STDOUT_FILENO);
        if (m_saved >= 0)
            ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutToStderr()
    {
        std::fflush(stdout);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDOUT_FILENO);
            ::close(m_saved);
        }
    }
    StdoutToStderr(const StdoutToStderr &) = delete;
    StdoutToStderr &operator=(const StdoutToStderr &) = delete;

private:
    int m_saved = -1;
};

// The store, discovery and view model of one command, brought to rest.
class HeadlessLauncher {
public:
    bool start(QTextStream &err)
    {
        const StdoutToStderr redirect;
        const QString path = DataModel::defaultStorePath();
        if (path.isEmpty()) {
            err << "velmora: no data folder (set HOME or XDG_DATA_HOME)" << Qt::endl;
            return false;
        }
        DataModel::OpenError error;
        m_store = DataModel::open(path, &error);
        if (!m_store) {
            DataModel::handleOpenFailure(path, error);
            err << "velmora: cannot open the library store: " << error.message << Qt::endl;
            return false;
        }
        AppDiscoverService &discovery = AppDiscoverService::shared();
        LauncherEnvironment environment;
        environment.store = m_store.get();
        environment.discovery = &discovery;
        // Without a terminal user watching standard output, messages belong with the errors.
        environment.standardOutput = [&err](const QString &line) { err << line << Qt::endl; };
        m_model = std::make_unique<LauncherViewObject>(std::move(environment));
        QObject::connect(&discovery, &AppDiscoverService::resultsUpdated, m_model.get(),
                         [this] { m_gathered = true; });
        discovery.start();
        if (!settle()) {
            err << "velmora: timed out waiting for the application index" << Qt::endl;
            return false;
        }
        return true;
    }

    // Waits for the first gathering, then until no pass, save or ranking report is pending.
    bool settle()
    {
        const QDeadlineTimer deadline(kTimeoutMilliseconds);
        if (!runUntil(deadline, [this] { return m_gathered; }))
            return false;
        int quietRounds = 0;
        while (quietRounds < 2) {
            if (!awaitFuture(m_model->accessRank().whenIdle(), deadline))
                return false;
            QCoreApplication::processEvents();
            const bool quiet = !m_model->updating() && !m_store->mainContext().hasChanges();
            quietRounds = quiet ? quietRounds + 1 : 0;
            if (!quiet && !runUntil(deadline, [this] {
                    return !m_model->updating() && !m_store->mainContext().hasChanges();
                }))
                return false;
        }
        return true;
    }

    [[nodiscard]] LauncherViewObject &model() const { return *m_model; }
    [[nodiscard]] DataModel &store() const { return *m_store; }

private:
    std::unique_ptr<DataModel> m_store;
    std::unique_ptr<LauncherViewObject> m_model;
    bool m_gathered = false;
};

QJsonValue nullable(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

QJsonObject appJson(const AppRecord &record)
{
    return {{QStringLiteral("displayName"), record.displayName()},
            {QStringLiteral("bundleID"), record.bundleID()},
            {QStringLiteral("path"), record.path()}};
}

// Rows of cells as aligned text, two spaces between columns, no trailing spaces.
void writeAligned(QTextStream &out, const QList<QStringList> &rows, const QString &indent)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.append(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const QStringList &row : rows) {
        QString line = indent;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        out << line << '\n';
    }
}

} // namespace

void setHeadlessAnalyticsSignal(LauncherViewObject::AnalyticsSignal signal)
{
    analyticsSignal() = std::move(signal);
}

int runListCommand(bool json, QTextStream &out, QTextStream &err)
{
    HeadlessLauncher launcher;
    if (!launcher.start(err))
        return 1;
    const LauncherViewObject &model = launcher.model();
    if (json) {
        QJsonArray categories;
        for (const Category *category : model.sortedCategories()) {
            QJsonArray apps;
            for (const AppRecord *record : model.appsOf(category))
                apps.append(appJson(*record));
            const auto reserved = category->reservedType();
            categories.append(QJsonObject{
                {QStringLiteral("title"), category->title()},
                {QStringLiteral("displayTitle"), category->displayTitle()},
                {QStringLiteral("reservedType"), nullable(reserved ? std::optional(rawValue(*reserved)) : std::nullopt)},
                {QStringLiteral("sortOrder"), qint64(category->sortOrder())},
                {QStringLiteral("systemIconName"), category->systemIconName()},
                {QStringLiteral("apps"), apps},
            });
        }
        out << QJsonDocument(QJsonObject{{QStringLiteral("categories"), categories}}).toJson(QJsonDocument::Compact)
            << Qt::endl;
        return 0;
    }
    for (const Category *category : model.sortedCategories()) {
        out << category->displayTitle() << '\n';
        QList<QStringList> rows;
        for (const AppRecord *record : model.appsOf(category))
            rows.append({record->displayName(), record->bundleID(), record->path()});
        writeAligned(out, rows, QStringLiteral("  "));
    }
    out.flush();
    return 0;
}

int runSearchCommand(const QString &text, bool json, QTextStream &out, QTextStream &err)
{
    HeadlessLauncher launcher;
    if (!launcher.start(err))
        return 1;
    LauncherViewObject &model = launcher.model();
    model.setSearchText(text);
    const auto calculator = makeCalculatorCard(Calculator(), text);
    const auto dictionary = makeDictionaryCard(text);
    const auto categoryTitle = [](const AppRecord &record) {
        return record.category() ? record.category()->displayTitle() : QString();
    };
    if (json) {
        QJsonArray results;
        for (const AppRecord *record : model.searchResults()) {
            QJsonObject entry = appJson(*record);
            entry.insert(QStringLiteral("category"), categoryTitle(*record));
            results.append(entry);
        }
        out << QJsonDocument(QJsonObject{
                   {QStringLiteral("results"), results},
                   {QStringLiteral("calculator"), nullable(calculator ? std::optional(calculator->result) : std::nullopt)},
                   {QStringLiteral("dictionary"), nullable(dictionary ? std::optional(dictionary->definition) : std::nullopt)},
               }).toJson(QJsonDocument::Compact)
            << Qt::endl;
        return 0;
    }
    if (model.searchResults().isEmpty()) {
        out << "No Results for \"" << searchCardInput(text) << "\"\n";
    } else {
        QList<QStringList> rows;
        for (const AppRecord *record : model.searchResults())
            rows.append({record->displayName(), record->bundleID(), record->path(), categoryTitle(*record)});
        writeAligned(out, rows, QString());
    }
    if (calculator)
        out << "\nCalculator\n" << calculator->input << " = " << calculator->result << '\n';
    if (dictionary)
        out << "\nDictionary\n" << dictionary->definition << '\n';
    out.flush();
    return 0;
}

int runLaunchCommand(const QString &path, QTextStream &out, QTextStream &err)
{
    HeadlessLauncher launcher;
    if (!launcher.start(err))
        return 1;
    AppRecord *record = launcher.store().appRecord(path);
    if (!record) {
        err << "velmora: no application at " << path << Qt::endl;
        return 2;
    }
    LauncherViewObject &model = launcher.model();
    model.setAnalyticsSignal(analyticsSignal());
    const StdoutToStderr redirect;
    bool finished = false;
    bool opened = false;
    QObject::connect(&model, &LauncherViewObject::launchFinished, &model,
                     [&](const QString &, bool ok) {
                         finished = true;
                         opened = ok;
                     });
    model.launch(record, QStringLiteral("Enter"), {});
    if (!runUntil(QDeadlineTimer(kTimeoutMilliseconds), [&finished] { return finished; })) {
        err << "velmora: timed out launching " << path << Qt::endl;
        return 1;
    }
    // Keep the recorded visit: wait for its rank states to be stored.
    launcher.settle();
    out.flush();
    return opened ? 0 : 1;
}

} // namespace velmora
