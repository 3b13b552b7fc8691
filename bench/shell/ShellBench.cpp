// Figures for the shell, on an X display (run it under xvfb-run):
//  - cold start of the launcher to its first frame (the 0.3 s first-show delay set to 0),
//    each a fresh process, and its resident memory then;
//  - a "toggle" message from another start to the launcher's first frame on screen;
//  - `velmora --toggle` as a whole process, beside `velmora --version` as the floor;
//  - the hot key (xdotool key alt+space) to the first frame, and release-to-frame.
// Prints medians. usage: velmora_shell_bench [runs]
#include "velmora/app/AppDelegate.h"
#include "velmora/app/GuiStart.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/platform/HotKey.h"
#include "velmora/platform/SingleInstance.h"

#include "kestrelkit/DefaultsStore.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int kBigTreeEntries = 5000;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0, Clock::time_point t1 = Clock::now())
{
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void report(const char *what, const std::vector<double> &values)
{
    std::printf("%-48s median %8.2f ms  (min %.2f, max %.2f, n=%zu)\n", what, median(values),
                values.empty() ? -1 : *std::min_element(values.begin(), values.end()),
                values.empty() ? -1 : *std::max_element(values.begin(), values.end()), values.size());
    std::fflush(stdout);
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// The child of a cold-start run: the real GUI start, first show without delay.
int coldChild(int argc, char **argv)
{
    velmora::GuiTuning tuning;
    tuning.firstShowDelayMs = 0;
    tuning.started = [](velmora::AppDelegate &delegate) {
        auto *window = delegate.window();
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
            std::printf("frame %ld\n", residentKiB());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }, Qt::SingleShotConnection);
    };
    return velmora::runGui(argc, argv, {}, tuning);
}

// The child of a big-tree run: the real start over the 5,000-entry tree; once the
// discovered list arrived and the launcher drew it, its resident memory.
int bigTreeChild(int argc, char **argv)
{
    velmora::GuiTuning tuning;
    tuning.firstShowDelayMs = 0;
    tuning.started = [](velmora::AppDelegate &delegate) {
        auto *window = delegate.window();
        QObject::connect(&velmora::AppDiscoverService::shared(), &velmora::AppDiscoverService::resultsUpdated,
                         window, [window](const velmora::MDSearchItemList &items) {
                             if (items.size() < kBigTreeEntries)
                                 return;
                             // Let the synchronisation, the save and the grid settle, then draw once more.
                             QTimer::singleShot(1500, window, [window] {
                                 QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
                                     std::printf("rss %ld\n", residentKiB());
                                     std::fflush(stdout);
                                     QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                                 }, Qt::SingleShotConnection);
                                 window->update();
                             });
                         });
    };
    return velmora::runGui(argc, argv, {}, tuning);
}

void bigTreeStarts(const QString &self, int runs)
{
    QTemporaryDir tree;
    const QString apps = tree.filePath(QStringLiteral("share/applications"));
    QDir().mkpath(apps);
    const char *categories[] = {"Utility;", "Game;", "Office;", "Development;", "AudioVideo;Video;",
                                "Network;", "Graphics;", "System;"};
    for (int i = 0; i < kBigTreeEntries; ++i) {
        QFile entry(QStringLiteral("%1/app%2.desktop").arg(apps).arg(i));
        entry.open(QIODevice::WriteOnly);
        entry.write("[Desktop Entry]\nType=Application\nName=Application " + QByteArray::number(i)
                    + "\nExec=true\nIcon=app-" + QByteArray::number(i) + "\nCategories=" + categories[i % 8]
                    + "\n");
    }
    std::vector<double> first, later;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir data;
        for (int start = 0; start < 2; ++start) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_DATA_DIRS"), tree.filePath(QStringLiteral("share")));
            env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
            child.setProcessEnvironment(env);
            child.start(self, {QStringLiteral("--big-tree-child")});
            QByteArray output;
            qsizetype at = -1;
            while ((at = output.indexOf("rss ")) < 0 && child.waitForReadyRead(30000))
                output += child.readAllStandardOutput();
            if (at >= 0) {
                child.waitForReadyRead(1000);
                output += child.readAllStandardOutput();
                (start == 0 ? first : later).push_back(output.mid(at + 4).split('\n').first().toDouble() / 1024.0);
            }
            child.waitForFinished(10000);
        }
    }
    std::printf("%-48s median %8.1f MiB (n=%zu)\n", "resident, 5,000 entries, first start", median(first),
                first.size());
    std::printf("%-48s median %8.1f MiB (n=%zu)\n", "resident, 5,000 entries, later start", median(later),
                later.size());
}

void coldStarts(const QString &self, int runs)
{
    std::vector<double> times;
    std::vector<double> rss;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        const auto t0 = Clock::now();
        child.start(self, {QStringLiteral("--cold-child")});
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(5000))
            line += child.readAllStandardOutput();
        if (line.startsWith("frame")) {
            times.push_back(msSince(t0));
            rss.push_back(line.mid(6).trimmed().toDouble() / 1024.0);
        }
        child.waitForFinished(5000);
    }
    report("cold start to first frame", times);
    std::printf("%-48s median %8.1f MiB (this machine's own applications)\n",
                "resident memory at first frame", median(rss));
}

// Runs `trigger` (which starts something asynchronous) and waits for the launcher's next
// frame on screen; the time from `t0` as `trigger` set it.
double untilFrame(QQuickWindow &window, const std::function<void(Clock::time_point &)> &trigger)
{
    QEventLoop loop;
    Clock::time_point t0;
    Clock::time_point t1;
    bool framed = false;
    const auto c = QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, [&] {
        if (!framed && window.isVisible()) {
            framed = true;
            t1 = Clock::now();
            loop.quit();
        }
    });
    trigger(t0);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return framed ? msSince(t0, t1) : -1;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void warmRuns(velmora::AppDelegate &delegate, int runs)
{
    QQuickWindow &window = *delegate.window();
    settle(500);
    std::vector<double> message, process, hotKey, releaseToFrame;
    std::thread worker;
    const auto hideFirst = [&] {
        delegate.hideLauncher();
        settle(60);
    };

    for (int i = 0; i < runs; ++i) {
        hideFirst();
        const double ms = untilFrame(window, [&](Clock::time_point &t0) {
            t0 = Clock::now();
            worker = std::thread([] {
                velmora::SingleInstance::sendMessage(velmora::SingleInstance::defaultSocketPath(),
                                                     QStringLiteral("toggle"));
            });
        });
        worker.join();
        if (ms >= 0)
            message.push_back(ms);
    }

    for (int i = 0; i < runs; ++i) {
        // Alternates showing and hiding; the process's own time is what counts.
        double elapsed = -1;
        std::atomic<bool> done{false};
        worker = std::thread([&elapsed, &done] {
            QProcess client;
            const auto t0 = Clock::now();
            client.start(QStringLiteral(VELMORA_BINARY), {QStringLiteral("--toggle")});
            if (client.waitForFinished(5000) && client.exitCode() == 0)
                elapsed = msSince(t0);
            done = true;
        });
        // This process is the running launcher: keep serving while the client runs.
        while (!done)
            settle(1);
        worker.join();
        if (elapsed >= 0)
            process.push_back(elapsed);
        settle(30);
    }

    if (velmora::HotKey *key = delegate.hotKey()) {
        Clock::time_point released;
        int activations = 0;
        QObject::connect(key, &velmora::HotKey::activated, &window, [&released, &activations] {
            released = Clock::now();
            ++activations;
        });
        for (int i = 0; i < runs; ++i) {
            hideFirst();
            Clock::time_point start;
            const double ms = untilFrame(window, [&](Clock::time_point &t0) {
                t0 = start = Clock::now();
                worker = std::thread([] {
                    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+space")});
                });
            });
            worker.join();
            if (ms < 0)
                std::printf("  no frame: visible %d\n", int(window.isVisible()));
            if (ms >= 0) {
                hotKey.push_back(ms);
                releaseToFrame.push_back(ms - msSince(start, released));
            }
        }
        std::printf("hot key: %d releases seen for %d presses\n", activations, runs);
    }
    // The floor any `velmora ...` process pays (loading Qt), measured in the same run.
    std::vector<double> bare;
    for (int i = 0; i < runs; ++i) {
        QProcess client;
        const auto t0 = Clock::now();
        client.start(QStringLiteral(VELMORA_BINARY), {QStringLiteral("--version")});
        if (client.waitForFinished(5000))
            bare.push_back(msSince(t0));
    }
    report("toggle message to first frame", message);
    report("`velmora --version` whole process (floor)", bare);
    report("`velmora --toggle` whole process", process);
    std::printf("%-48s %8.2f\n", "ratio --toggle / --version", median(process) / median(bare));
    report("xdotool alt+space (process incl.) to frame", hotKey);
    report("hot-key release to first frame", releaseToFrame);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--cold-child") == 0)
        return coldChild(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--big-tree-child") == 0)
        return bigTreeChild(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("velmora_shell_bench needs an X display: run it under xvfb-run\n");
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;

    QTemporaryDir home;
    for (const char *dir : {"config", "data", "cache", "runtime"})
        QDir(home.path()).mkpath(QString::fromLatin1(dir));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    kestrelkit::DefaultsStore::standard().setData(QStringLiteral("oobe.isOnboardingFinished"), "true");

    coldStarts(QString::fromLocal8Bit(argv[0]), runs);
    bigTreeStarts(QString::fromLocal8Bit(argv[0]), std::max(1, runs / 5));

    velmora::GuiTuning tuning;
    tuning.firstShowDelayMs = 0;
    tuning.started = [runs](velmora::AppDelegate &delegate) {
        QTimer::singleShot(0, &delegate, [&delegate, runs] {
            warmRuns(delegate, runs);
            QCoreApplication::quit();
        });
    };
    char *guiArgv[] = {argv[0], nullptr};
    int guiArgc = 1;
    return velmora::runGui(guiArgc, guiArgv, {}, tuning);
}
