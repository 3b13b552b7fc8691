// accessrank-workload: writes a synthetic launch log for accessrank-replay.
//
// A few hundred applications with Zipf-distributed popularity; each has a daily routine
// (work hours, evenings or any time) and a weekday or weekend leaning; some have a
// habitual successor (A is usually followed by B); now and then a burst switches
// between two or three applications for a while. The same seed gives the same log.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTextStream>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct App {
    QString id;
    double popularity = 1.0;
    int routine = 0;            // 0 any time, 1 working hours, 2 evenings, 3 mornings
    bool weekend = false;       // leans to Saturday and Sunday
    int successor = -1;         // habitual next application
    double followRate = 0.0;    // how often the successor follows
};

double routineFactor(const App &app, int hour, bool weekend)
{
    double f = 1.0;
    switch (app.routine) {
    case 1:
        f = (hour >= 9 && hour <= 17) ? 4.0 : 0.3;
        f *= weekend ? 0.2 : 1.0;
        break;
    case 2:
        f = (hour >= 18 && hour <= 23) ? 4.0 : 0.4;
        break;
    case 3:
        f = (hour >= 6 && hour <= 10) ? 5.0 : 0.3;
        break;
    default:
        break;
    }
    if (app.weekend)
        f *= weekend ? 3.0 : 0.5;
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("accessrank-workload"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a reproducible synthetic launch log (EPOCH_SECONDS,ITEM_ID per line)."));
    parser.addHelpOption();
    const QCommandLineOption eventsOption(QStringLiteral("events"), QStringLiteral("Launches to write (default 20000)."), QStringLiteral("n"), QStringLiteral("20000"));
    const QCommandLineOption appsOption(QStringLiteral("apps"), QStringLiteral("Applications (default 300)."), QStringLiteral("n"), QStringLiteral("300"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Random seed (default 1)."), QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption startOption(QStringLiteral("start"), QStringLiteral("First day, yyyy-MM-dd (default 2025-01-06)."), QStringLiteral("date"), QStringLiteral("2025-01-06"));
    const QCommandLineOption utcOption(QStringLiteral("utc"), QStringLiteral("Routines follow UTC hours instead of the local time zone."));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Write to this file instead of standard output."), QStringLiteral("file"));
    parser.addOptions({eventsOption, appsOption, seedOption, startOption, utcOption, outputOption});
    parser.process(app);

    bool ok = true;
    const long events = parser.value(eventsOption).toLong(&ok);
    const int appCount = ok ? parser.value(appsOption).toInt(&ok) : 0;
    const auto seed = ok ? parser.value(seedOption).toULongLong(&ok) : 0;
    const QDate start = QDate::fromString(parser.value(startOption), Qt::ISODate);
    if (!ok || events < 0 || appCount < 2 || !start.isValid()) {
        QTextStream(stderr) << "accessrank-workload: invalid option value\n";
        return 2;
    }
    const QTimeZone zone = parser.isSet(utcOption) ? QTimeZone::utc() : QTimeZone::systemTimeZone();

    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    std::vector<App> apps(static_cast<std::size_t>(appCount));
    for (int i = 0; i < appCount; ++i) {
        App &a = apps[std::size_t(i)];
        a.id = QStringLiteral("/usr/share/applications/org.example.App%1.desktop").arg(i, 3, 10, QLatin1Char('0'));
        a.popularity = 1.0 / std::pow(double(i + 1), 1.1); // Zipf, s = 1.1
        a.routine = int(random() % 4);
        a.weekend = unit(random) < 0.15;
        if (unit(random) < 0.35) {
            // Successors lean to the popular end, as habits form around used apps.
            a.successor = int(std::min<double>(appCount - 1, std::floor(std::pow(unit(random), 2.0) * appCount)));
            if (a.successor == i)
                a.successor = (i + 1) % appCount;
            a.followRate = 0.3 + 0.5 * unit(random);
        }
    }
    // One choice table per (weekend, hour).
    std::array<std::discrete_distribution<int>, 48> choose;
    for (int weekend = 0; weekend < 2; ++weekend)
        for (int hour = 0; hour < 24; ++hour) {
            std::vector<double> w;
            for (const App &a : apps)
                w.push_back(a.popularity * routineFactor(a, hour, weekend == 1));
            choose[std::size_t(weekend * 24 + hour)] = std::discrete_distribution<int>(w.begin(), w.end());
        }

    QFile file;
    if (parser.isSet(outputOption)) {
        file.setFileName(parser.value(outputOption));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            QTextStream(stderr) << "accessrank-workload: cannot write " << file.fileName() << '\n';
            return 1;
        }
    } else if (!file.open(stdout, QIODevice::WriteOnly | QIODevice::Text)) {
        return 1;
    }
    QTextStream out(&file);
    out << "# accessrank-workload --events " << events << " --apps " << appCount << " --seed " << seed
        << " --start " << start.toString(Qt::ISODate) << (parser.isSet(utcOption) ? " --utc" : "") << '\n';

    std::exponential_distribution<double> gapMinutes(1.0 / 20.0);
    QDate day = start;
    long written = 0;
    int previous = -1;
    std::vector<int> burst;
    int burstLeft = 0;
    while (written < events) {
        const bool weekend = day.dayOfWeek() >= 6;
        const double wake = (weekend ? 9.0 : 7.0) + unit(random) * 1.5;
        const double sleep = (weekend ? 23.5 : 22.5) + unit(random) * 1.0;
        double hourOfDay = wake;
        while (written < events && hourOfDay < std::min(sleep, 23.99)) {
            const int hour = int(hourOfDay);
            int pick;
            if (burstLeft > 0) {
                pick = burst[std::size_t(random() % burst.size())];
                --burstLeft;
            } else if (previous >= 0 && apps[std::size_t(previous)].successor >= 0
                       && unit(random) < apps[std::size_t(previous)].followRate) {
                pick = apps[std::size_t(previous)].successor;
            } else {
                pick = choose[std::size_t((weekend ? 24 : 0) + hour)](random);
                if (unit(random) < 0.02) {
                    burst = {pick, choose[std::size_t((weekend ? 24 : 0) + hour)](random)};
                    if (unit(random) < 0.5)
                        burst.push_back(choose[std::size_t((weekend ? 24 : 0) + hour)](random));
                    burstLeft = 4 + int(random() % 8);
                }
            }
            const QDateTime at(day, QTime(0, 0).addSecs(int(hourOfDay * 3600.0)), zone);
            out << at.toSecsSinceEpoch() << ',' << apps[std::size_t(pick)].id << '\n';
            ++written;
            previous = pick;
            // Bursts come in quick succession, ordinary launches minutes apart.
            hourOfDay += (burstLeft > 0 ? 0.5 + unit(random) * 1.5 : 0.5 + gapMinutes(random)) / 60.0;
        }
        day = day.addDays(1);
    }
    out.flush();
    return 0;
}
