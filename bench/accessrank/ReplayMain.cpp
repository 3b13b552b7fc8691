// accessrank-replay: replays a launch log through the ranking model and measures how
// well it predicted each launch and how much its order moved, beside three baselines.

#include "BaselinePredictor.h"
#include "ExperimentalAccessRankModel.h"
#include "LaunchLog.h"
#include "ReplayMetrics.h"

#include "kestrelkit/DefaultsStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <optional>

using velmora::AccessRankModel;
using velmora::ListStability;
using velmora::PredictionList;
using velmora::ScoredItem;

namespace {

struct Row {
    QString model;
    ReplayMetrics metrics;
};

QStringList listOrder(const PredictionList &list)
{
    QStringList ids;
    ids.reserve(qsizetype(list.size()));
    for (const ScoredItem &item : list)
        ids << item.id;
    return ids;
}

// What the launcher shows: applications by raw score, best first; "no item" has no record.
QStringList screenOrder(const PredictionList &list)
{
    std::vector<ScoredItem> apps;
    QSet<QString> seen;
    for (const ScoredItem &item : list) {
        if (item.id == QLatin1String(AccessRankModel::kInitialItem) || seen.contains(item.id))
            continue;
        seen.insert(item.id);
        apps.push_back(item);
    }
    std::stable_sort(apps.begin(), apps.end(),
                     [](const ScoredItem &a, const ScoredItem &b) { return a.score > b.score; });
    QStringList ids;
    for (const ScoredItem &item : apps)
        ids << item.id;
    return ids;
}

// A private defaults file, in memory where possible: the model writes it at every launch
// and each write is a synced file replacement, which on a disk costs milliseconds.
QString privateFolderTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/accessrank-replay-XXXXXX");
}

std::optional<Row> replayAccessRank(const std::vector<LaunchEvent> &events, ListStability stability,
                                    int maxVisits, ExperimentalAccessRankModel::Switches switches,
                                    const QTimeZone &zone, PredictionList *finalList)
{
    QTemporaryDir dir(privateFolderTemplate());
    if (!dir.isValid()) {
        QTextStream(stderr) << "accessrank-replay: cannot create a private folder: "
                            << dir.errorString() << '\n';
        return std::nullopt;
    }
    kestrelkit::DefaultsStore store(dir.filePath(QStringLiteral("defaults.json")));
    auto clock = std::make_shared<velmora::ManualClock>(0.0, zone);
    ExperimentalAccessRankModel model(stability, maxVisits, {&store, clock}, switches);

    Row row{QStringLiteral("AccessRank %1").arg(velmora::toRaw(stability)), {}};
    for (const LaunchEvent &event : events) {
        row.metrics.recordPrediction(listOrder(model.predictionList()), event.id);
        clock->setTime(event.seconds);
        model.recordVisit(event.id);
        row.metrics.recordRankings(listOrder(model.predictionList()),
                                   screenOrder(model.predictionList()));
    }
    if (finalList)
        *finalList = model.predictionList();
    return row;
}

Row replayBaseline(const std::vector<LaunchEvent> &events, BaselinePredictor::Kind kind)
{
    BaselinePredictor predictor(kind);
    Row row{BaselinePredictor::name(kind), {}};
    for (const LaunchEvent &event : events) {
        row.metrics.recordPrediction(predictor.ranking(), event.id);
        predictor.observe(event.id);
        const QStringList ranking = predictor.ranking();
        row.metrics.recordRankings(ranking, ranking);
    }
    return row;
}

void printTable(QTextStream &out, const std::vector<Row> &rows)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("model"), -26)
               .arg(QStringLiteral("top-1"), 7)
               .arg(QStringLiteral("top-5"), 7)
               .arg(QStringLiteral("MRR"), 7)
               .arg(QStringLiteral("moved/list"), 11)
               .arg(QStringLiteral("moved/screen"), 13);
    for (const Row &row : rows) {
        const ReplayMetrics &m = row.metrics;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(row.model, -26)
                   .arg(m.top1(), 7, 'f', 4)
                   .arg(m.top5(), 7, 'f', 4)
                   .arg(m.meanReciprocalRank(), 7, 'f', 4)
                   .arg(m.listMoves(), 11, 'f', 2)
                   .arg(m.screenMoves(), 13, 'f', 2);
    }
}

QJsonObject rowJson(const Row &row)
{
    const ReplayMetrics &m = row.metrics;
    return {{QStringLiteral("model"), row.model},
            {QStringLiteral("predictions"), qint64(m.predictions())},
            {QStringLiteral("top1"), m.top1()},
            {QStringLiteral("top5"), m.top5()},
            {QStringLiteral("meanReciprocalRank"), m.meanReciprocalRank()},
            {QStringLiteral("movedInList"), m.listMoves()},
            {QStringLiteral("movedOnScreen"), m.screenMoves()}};
}

} // namespace

int main(int argc, char *argv[])
{
    // The model's item map yields its entries in hash order, which decides among entries
    // the comparator cannot separate; a fixed seed makes a replay repeatable.
    QHashSeed::setDeterministicGlobalSeed();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("accessrank-replay"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Replays a launch log (EPOCH_SECONDS,ITEM_ID per line; '-' for standard input) through\n"
        "AccessRank at low, medium and high stability and three baselines, and prints top-1 and\n"
        "top-5 hit rates, mean reciprocal rank, and how many items moved between consecutive\n"
        "predictions, in the list's own order and in the launcher's order (by raw score)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("log"), QStringLiteral("The launch log."));
    const QCommandLineOption stabilityOption(QStringLiteral("stability"), QStringLiteral("Run only AccessRank at low, medium or high."), QStringLiteral("level"));
    const QCommandLineOption maxVisitsOption(QStringLiteral("max-visits"), QStringLiteral("The model's maxVisits (default 1000)."), QStringLiteral("n"), QStringLiteral("1000"));
    const QCommandLineOption printFinalOption(QStringLiteral("print-final"), QStringLiteral("Print the final prediction list (one id per line, best first) instead of the table."));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print JSON."));
    const QCommandLineOption utcOption(QStringLiteral("utc"), QStringLiteral("Hours and weekdays in UTC instead of the local time zone."));
    const QCommandLineOption unboundedOption(QStringLiteral("unbounded-visit-counter"), QStringLiteral("Experiment: the global visit counter keeps growing past maxVisits."));
    const QCommandLineOption decayedOption(QStringLiteral("decayed-crf"), QStringLiteral("Experiment: score with the crfWeight decayed to the current visit number."));
    parser.addOptions({stabilityOption, maxVisitsOption, printFinalOption, jsonOption, utcOption,
                       unboundedOption, decayedOption});
    parser.process(app);

    QTextStream err(stderr);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        err << "accessrank-replay: give one launch log (or '-')\n";
        return 2;
    }
    bool ok = false;
    const int maxVisits = parser.value(maxVisitsOption).toInt(&ok);
    if (!ok || maxVisits < 1) {
        err << "accessrank-replay: --max-visits needs a positive number\n";
        return 2;
    }
    std::vector<ListStability> stabilities{ListStability::low, ListStability::medium, ListStability::high};
    if (parser.isSet(stabilityOption)) {
        const auto chosen = velmora::fromRaw(parser.value(stabilityOption), static_cast<ListStability *>(nullptr));
        if (!chosen) {
            err << "accessrank-replay: --stability is low, medium or high\n";
            return 2;
        }
        stabilities = {*chosen};
    }
    const ExperimentalAccessRankModel::Switches switches{parser.isSet(unboundedOption),
                                                         parser.isSet(decayedOption)};
    const QTimeZone zone = parser.isSet(utcOption) ? QTimeZone::utc() : QTimeZone::systemTimeZone();

    QFile file;
    const bool fromStdin = positional.first() == QLatin1String("-");
    if (fromStdin ? !file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                  : (file.setFileName(positional.first()), !file.open(QIODevice::ReadOnly | QIODevice::Text))) {
        err << "accessrank-replay: cannot read " << positional.first() << ": " << file.errorString() << '\n';
        return 1;
    }
    QTextStream in(&file);
    long badLines = 0;
    const std::vector<LaunchEvent> events = readLaunchLog(in, [&](long line, const QString &why) {
        ++badLines;
        err << "accessrank-replay: line " << line << ": " << why << "; skipped\n";
        err.flush();
    });

    QTextStream out(stdout);
    if (parser.isSet(printFinalOption)) {
        // One model: the chosen one, or the product's medium.
        const ListStability stability = parser.isSet(stabilityOption) ? stabilities.front() : ListStability::medium;
        PredictionList final;
        if (!replayAccessRank(events, stability, maxVisits, switches, zone, &final))
            return 1;
        if (parser.isSet(jsonOption)) {
            QJsonArray array;
            for (const ScoredItem &item : final)
                array.append(item.toJsonObject());
            out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        } else {
            for (const ScoredItem &item : final)
                out << item.id << '\n';
        }
        return 0;
    }

    std::vector<Row> rows;
    for (ListStability stability : stabilities) {
        auto row = replayAccessRank(events, stability, maxVisits, switches, zone, nullptr);
        if (!row)
            return 1;
        rows.push_back(std::move(*row));
    }
    if (!parser.isSet(stabilityOption)) {
        for (auto kind : {BaselinePredictor::Kind::mostRecent, BaselinePredictor::Kind::mostFrequent,
                          BaselinePredictor::Kind::markov})
            rows.push_back(replayBaseline(events, kind));
    }

    if (parser.isSet(jsonOption)) {
        QJsonArray models;
        for (const Row &row : rows)
            models.append(rowJson(row));
        const QJsonObject root{{QStringLiteral("events"), qint64(events.size())},
                               {QStringLiteral("badLines"), qint64(badLines)},
                               {QStringLiteral("maxVisits"), maxVisits},
                               {QStringLiteral("unboundedVisitCounter"), switches.unboundedVisitCounter},
                               {QStringLiteral("decayedCrf"), switches.decayedCrf},
                               {QStringLiteral("models"), models}};
        out << QJsonDocument(root).toJson(QJsonDocument::Indented);
        return 0;
    }
    out << "events " << events.size() << ", bad lines " << badLines << ", maxVisits " << maxVisits
        << (switches.unboundedVisitCounter ? ", unbounded visit counter" : "")
        << (switches.decayedCrf ? ", decayed crf" : "") << '\n';
    printTable(out, rows);
    return 0;
}
