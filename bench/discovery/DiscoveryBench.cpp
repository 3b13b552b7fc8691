// Figures for the live index on a generated tree of 5,000 desktop entries and 500 .app
// bundles: cold gathering, update latency and CPU, index memory, and GIO's own
// g_app_info_get_all() on the same XDG folders. Run from the release build.

#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/discovery/DiscoveryEnvironment.h"
#include "velmora/discovery/FolderManager.h"
#include "velmora/discovery/MetadataQuery.h"

#include "kestrelkit/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

constexpr int kDesktopEntries = 5000;
constexpr int kBundles = 500;
constexpr int kRuns = 9;

const char *const kCategories[] = {"Utility;", "Game;ArcadeGame;", "Office;", "Development;IDE;",
                                   "AudioVideo;Video;", "Network;WebBrowser;", "Graphics;", "System;"};

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(contents);
}

QByteArray desktopEntry(int i, const QByteArray &suffix = {})
{
    return "[Desktop Entry]\nType=Application\nName=Application " + QByteArray::number(i) + suffix
           + "\nName[de]=Anwendung " + QByteArray::number(i) + "\nComment=Does thing number "
           + QByteArray::number(i) + "\nExec=sh -c true %U\nIcon=app-" + QByteArray::number(i)
           + "\nTerminal=false\nCategories=" + kCategories[i % 8] + "\nKeywords=one;two;three;\n";
}

QByteArray xmlPlist(int i)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>org.bench.app" + QByteArray::number(i) + "</string>"
           "<key>CFBundleName</key><string>Bundle " + QByteArray::number(i) + "</string>"
           "<key>LSApplicationCategoryType</key><string>public.app-category.productivity</string>"
           "<key>CFBundleIconFile</key><string>AppIcon</string></dict></plist>\n";
}

// A minimal binary plist: a dictionary of two ASCII strings.
QByteArray binaryPlist(int i)
{
    const QByteArray k1 = "CFBundleIdentifier", v1 = "org.bench.bin" + QByteArray::number(i);
    const QByteArray k2 = "CFBundleName", v2 = "Binary " + QByteArray::number(i);
    QByteArray body = "bplist00";
    std::vector<int> offsets;
    auto ascii = [&](const QByteArray &s) {
        offsets.push_back(body.size());
        body += char(0x50 | qMin(int(s.size()), 15));
        if (s.size() >= 15) {
            body += char(0x10);
            body += char(s.size());
        }
        body += s;
    };
    offsets.push_back(body.size());
    body += char(0xD2); // dict, 2 entries: keys 1,2 values 3,4
    body += char(1);
    body += char(2);
    body += char(3);
    body += char(4);
    ascii(k1);
    ascii(k2);
    ascii(v1);
    ascii(v2);
    const int tableOffset = body.size();
    for (int o : offsets)
        body += char(o);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;                // offset int size
    trailer[7] = 1;                // object ref size
    trailer[15] = char(offsets.size());
    trailer[31] = char(tableOffset);
    return body + trailer;
}

struct Tree {
    QTemporaryDir dir;
    QString apps() const { return dir.path() + "/usr/share/applications"; }
    QString bundles() const { return dir.path() + "/Applications"; }

    void generate()
    {
        for (int i = 0; i < kDesktopEntries; ++i) {
            // A tenth in vendor sub-folders, for the desktop-file-ID prefix rule.
            const QString sub = i % 10 == 0 ? QStringLiteral("/vendor%1").arg(i % 7) : QString();
            writeFile(QStringLiteral("%1%2/app%3.desktop").arg(apps(), sub).arg(i), desktopEntry(i));
        }
        for (int i = 0; i < kBundles; ++i) {
            const QString plist = QStringLiteral("%1/Bundle%2.app/Contents/Info.plist").arg(bundles()).arg(i);
            writeFile(plist, i % 3 == 0 ? binaryPlist(i) : xmlPlist(i));
        }
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpuMs()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

template <typename Sender, typename Signal>
bool waitFor(const Sender *sender, Signal signal, int timeoutMs = 20000)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, [&] { loop.exit(1); });
    return loop.exec() == 0;
}

DiscoveryEnvironment environmentFor(const Tree &tree, bool withBundles)
{
    DiscoveryEnvironment env;
    env.homePath = tree.dir.path() + "/home";
    env.fixedScopes = withBundles ? QStringList{tree.bundles()} : QStringList{};
    env.xdgDataHome = tree.dir.path() + "/home/.local/share";
    env.xdgDataDirs = {tree.dir.path() + "/usr/share"};
    env.exportFolders = {};
    env.currentDesktop = "GNOME";
    return env;
}

class Delegate : public QObject, public AppDiscoverServiceDelegate {
public:
    qsizetype lastCount = 0;
    QElapsedTimer *clock = nullptr;
    double deliveredAtMs = 0;
    void discoverServiceDidUpdate(const MDSearchItemList &items) override
    {
        lastCount = items.size();
        if (clock)
            deliveredAtMs = double(clock->nsecsElapsed()) / 1e6;
    }
    void discoverServiceDidUpdateStatus(SpotlightStatus) override {}
};

int runGio(const QString &root)
{
    qputenv("XDG_DATA_DIRS", (root + "/usr/share").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + "/home/.local/share").toLocal8Bit());
    QElapsedTimer t;
    t.start();
    GList *all = g_app_info_get_all();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    std::printf("%.3f %u\n", ms, g_list_length(all));
    g_list_free_full(all, g_object_unref);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--gio") == 0)
        return runGio(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    QTemporaryDir defaults;
    kestrelkit::DefaultsStore store(defaults.path() + "/defaults.json");
    FolderManager folders(&store);

    Tree tree;
    tree.generate();
    std::printf("tree: %d desktop entries, %d .app bundles (%d binary plists)\n", kDesktopEntries, kBundles,
                (kBundles + 2) / 3);

    // Cold gathering: a fresh service (empty cache) from start() to the delegate's list.
    std::vector<double> coldFull, coldXdg, coldCpu;
    qsizetype delivered = 0;
    for (int run = 0; run < kRuns; ++run) {
        for (bool withBundles : {true, false}) {
            AppDiscoverService service(environmentFor(tree, withBundles), &folders);
            Delegate delegate;
            service.setDelegate(&delegate);
            const double cpu0 = cpuMs();
            QElapsedTimer t;
            t.start();
            service.start();
            if (!waitFor(&service, &AppDiscoverService::resultsUpdated))
                return 1;
            const double ms = double(t.nsecsElapsed()) / 1e6;
            (withBundles ? coldFull : coldXdg).push_back(ms);
            if (withBundles) {
                coldCpu.push_back(cpuMs() - cpu0);
                delivered = delegate.lastCount;
            }
        }
    }
    std::printf("cold gathering, all scopes (%lld apps delivered): median %.1f ms wall, %.1f ms CPU\n",
                qint64(delivered), median(coldFull), median(coldCpu));
    std::printf("cold gathering, XDG folders only: median %.1f ms\n", median(coldXdg));

    // GIO's own enumeration of the same XDG folders, each in a fresh process (GIO caches).
    std::vector<double> gio;
    for (int run = 0; run < kRuns; ++run) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {"--gio", tree.dir.path()});
        p.waitForFinished(-1);
        const auto parts = QString::fromLocal8Bit(p.readAllStandardOutput()).split(' ');
        if (parts.size() == 2)
            gio.push_back(parts[0].toDouble());
        if (run == 0)
            std::printf("g_app_info_get_all(): %s apps\n", qPrintable(parts.value(1).trimmed()));
    }
    std::printf("g_app_info_get_all() on the same XDG tree: median %.1f ms\n", median(gio));
    std::printf("ratio ours (XDG only) / GIO: %.2f; ours (all scopes) / GIO: %.2f\n",
                median(coldXdg) / median(gio), median(coldFull) / median(gio));

    // Live update: one entry rewritten; time from the write to the delegate's new list,
    // and the CPU the process spent in between (scan thread + main thread).
    {
        const size_t heap0 = mallinfo2().uordblks;
        auto service = std::make_unique<AppDiscoverService>(environmentFor(tree, true), &folders);
        Delegate delegate;
        service->setDelegate(&delegate);
        service->start();
        waitFor(service.get(), &AppDiscoverService::resultsUpdated);
        const size_t heap1 = mallinfo2().uordblks;
        std::printf("index memory (heap in use after gathering): %.1f MB\n", double(heap1 - heap0) / 1e6);

        std::vector<double> latency, cpu;
        QElapsedTimer clock;
        delegate.clock = &clock;
        for (int run = 0; run < kRuns; ++run) {
            QEventLoop idle; // let the watcher settle between runs
            QTimer::singleShot(300, &idle, &QEventLoop::quit);
            idle.exec();
            const double cpu0 = cpuMs();
            clock.start();
            QSaveFile f(QStringLiteral("%1/app%2.desktop").arg(tree.apps()).arg(1 + run));
            f.open(QIODevice::WriteOnly);
            f.write(desktopEntry(1 + run, " (changed " + QByteArray::number(run) + ")"));
            f.commit();
            if (!waitFor(service.get(), &AppDiscoverService::resultsUpdated))
                return 1;
            latency.push_back(delegate.deliveredAtMs);
            cpu.push_back(cpuMs() - cpu0);
        }
        std::printf("update after one changed entry: median %.1f ms from write to delegate "
                    "(coalescing %d ms), %.1f ms CPU; files re-read: %d\n",
                    median(latency), service->environment().coalesceMilliseconds, median(cpu),
                    service->query().lastScanParsedCount());
    }
    return 0;
}
