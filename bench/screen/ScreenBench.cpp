// The launcher screen with 2,000 applications, offscreen with the software renderer:
// one typed character to the next rendered frame, the frame times of a scroll from the
// top of the grid to its bottom, and resident memory afterwards.

#include "velmora/app/AppIconProvider.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/app/WindowContent.h"
#include "velmora/launcher/LauncherScreen.h"
#include "velmora/launcher/LauncherViewObject.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/AppWorkspace.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"
#include "velmora/ranking/AccessRank.h"
#include "velmora/ranking/AccessRankClock.h"

#include "kestrelkit/DefaultsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

// Icons as a real theme lookup would hand them over: a 128-pixel image drawn per call.
class DrawnIcons final : public AppWorkspace {
public:
    QImage loadIcon(const QString &path, int size) override
    {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv(int(qHash(path) % 360), 160, 220));
        painter.drawRoundedRect(QRectF(8, 8, size - 16, size - 16), 24, 24);
        return image;
    }
    OperationResult open(const QString &) override { return OperationResult::success(); }
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

// Waits for the next frame the window renders; returns the milliseconds it took.
double untilNextFrame(QQuickWindow &window, const std::function<void()> &change)
{
    QEventLoop loop;
    const auto connection = QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    change();
    window.update();
    loop.exec();
    QObject::disconnect(connection);
    return double(timer.nsecsElapsed()) / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    kestrelkit::DefaultsStore defaults(dir.filePath(QStringLiteral("defaults.json")));
    auto store = DataModel::open(dir.filePath(QStringLiteral("Velmora.sqlite")));
    AccessRank rank(ListStability::medium, 1000,
                    AccessRankModel::Environment{&defaults, std::make_shared<ManualClock>(1.7e9)});
    LauncherEnvironment environment;
    environment.store = store.get();
    environment.accessRank = &rank;
    environment.defaults = &defaults;
    environment.standardOutput = [](const QString &) {};
    LauncherViewObject viewObject(environment);
    QObject::disconnect(store.get(), &DataModel::didSave, &viewObject, nullptr);

    const QStringList words{QStringLiteral("Terminal"), QStringLiteral("Editor"), QStringLiteral("Viewer"),
                            QStringLiteral("Player"), QStringLiteral("Manager"), QStringLiteral("Studio"),
                            QStringLiteral("Monitor"), QStringLiteral("Browser")};
    LauncherContent content;
    for (int c = 0; c < 20; ++c) {
        Category *category = store->mainContext().insertCategory(
            {QStringLiteral("Category %1").arg(c + 1), QStringLiteral("folder"), c + 1, std::nullopt, {}});
        LauncherSection section{category, {}};
        for (int a = 0; a < 100; ++a) {
            const QString name = words[(a + c) % words.size()] + QStringLiteral(" %1").arg(c * 100 + a);
            section.apps.append(store->mainContext().insertAppRecord(
                {name, QStringLiteral("org.bench.app%1").arg(c * 100 + a),
                 QStringLiteral("/bench/app%1.desktop").arg(c * 100 + a), category, {}}));
        }
        content.append(section);
    }
    QElapsedTimer contentTimer;
    contentTimer.start();
    viewObject.setLauncherContent(content);
    std::printf("content set: %.0f ms\n", double(contentTimer.elapsed()));

    DrawnIcons icons;
    AppWorkspace::setCurrent(&icons);
    LauncherScreen screen(viewObject);
    PublicSettings settings(&defaults);
    WindowContent windowContent;
    windowContent.engine().addImageProvider(QStringLiteral("appicon"), new AppIconProvider);
    VelmoraWindow window;
    window.resize(900, 700);
    if (!windowContent.loadLauncher(window, settings, &screen))
        return 1;
    QElapsedTimer startup;
    startup.start();
    window.show();
    settle(500);
    std::printf("first show and settle: %.0f ms\n", double(startup.elapsed()));
    std::printf("applications: %d, grid rows: %d, columns: %d\n", int(store->allAppRecords().size()),
                viewObject.rowCount(), viewObject.gridColumnCount());

    // Typing: each keystroke changes the search text and waits for the rendered frame.
    std::vector<double> keystrokes;
    const QString typed = QStringLiteral("terminal 1");
    for (int round = 0; round < 5; ++round) {
        for (int i = 1; i <= typed.size(); ++i)
            keystrokes.push_back(untilNextFrame(window, [&] { viewObject.setSearchText(typed.left(i)); }));
        keystrokes.push_back(untilNextFrame(window, [&] { viewObject.setSearchText(QString()); }));
    }
    std::printf("keystroke to frame (ms, %zu keystrokes): median %.2f, p90 %.2f, max %.2f\n",
                keystrokes.size(), percentile(keystrokes, 0.5), percentile(keystrokes, 0.9),
                percentile(keystrokes, 1.0));

    // Scrolling: the grid from top to bottom in 60-pixel steps, one frame each.
    settle(300);
    QObject *flickable = window.contentItem()->findChild<QObject *>(QStringLiteral("gridFlickable"));
    if (!flickable)
        return 1;
    const double bottom = flickable->property("contentHeight").toDouble() - flickable->property("height").toDouble();
    std::vector<double> frames;
    for (double y = 0; y <= bottom; y += 60)
        frames.push_back(untilNextFrame(window, [&] { flickable->setProperty("contentY", y); }));
    const auto over16 = std::count_if(frames.begin(), frames.end(), [](double ms) { return ms > 16.0; });
    std::printf("scroll frames (ms, %zu frames over %.0f px): median %.2f, p90 %.2f, p99 %.2f, max %.2f; "
                "%ld over 16 ms\n",
                frames.size(), bottom, percentile(frames, 0.5), percentile(frames, 0.9), percentile(frames, 0.99),
                percentile(frames, 1.0), long(over16));
    settle(500);
    std::printf("resident memory after scrolling: %.1f MB\n", double(residentKiB()) / 1024.0);
    return 0;
}
