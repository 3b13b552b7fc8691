#include "velmora/app/GuiStart.h"

#include "velmora/app/AppDelegate.h"
#include "velmora/app/PlaceholderLauncherModel.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/TrayIcon.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/app/WindowContent.h"
#include "velmora/platform/Analytics.h"
#include "velmora/platform/HotKey.h"
#include "velmora/platform/SingleInstance.h"
#include "velmora/platform/Updater.h"

#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/Logger.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QQuickWindow>

#include <cstdio>

namespace velmora {

namespace {

// A running launcher answers within this time; a dead socket fails at once.
constexpr int kHandOverTimeoutMs = 2000;

bool handOver(const QString &message)
{
    return SingleInstance::sendMessage(SingleInstance::defaultSocketPath(), message,
                                       kHandOverTimeoutMs);
}

} // namespace

int runGui(int &argc, char **argv, const GuiRequest &request, const GuiTuning &tuning)
{
    {
        // The common case of a second start: no GUI needed to pass the message on.
        QCoreApplication probe(argc, argv);
        if (handOver(request.message))
            return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora Launcher"));
    QApplication::setDesktopFileName(QStringLiteral("org.velmora.Launcher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velmora/AppIcon.svg")));
    // Windows are hidden, never closed for good; only Quit ends the process.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.listen()) {
        // Another start won the race, or the socket cannot be made.
        if (handOver(request.message))
            return 0;
        std::fprintf(stderr, "velmora: %s\n", qPrintable(instance.errorString()));
        return 1;
    }

    PublicSettings &settings = PublicSettings::shared();
    WindowContent content;
    PlaceholderLauncherModel launcherModel;
    launcherModel.setItems(PlaceholderLauncherModel::installedApplicationNames());
    Updater updater(kestrelkit::BundleInfo::main().appVersion());

    AppDelegate *delegatePtr = nullptr;
    AppDelegate::Hooks hooks;
    hooks.startAnalytics = [] { Analytics::shared().start(); };
    hooks.checkForUpdates = [&updater](bool userInitiated) { updater.checkForUpdates(userInitiated); };
    hooks.buildLauncherContent = [&](VelmoraWindow &window) {
        content.loadLauncher(window, settings, &launcherModel);
    };
    hooks.buildOnboardingContent = [&](QQuickWindow &window) {
        content.loadOnboarding(window, *delegatePtr);
    };
    hooks.buildSettingsContent = [&](QQuickWindow &window) {
        content.loadSettings(window, settings, *delegatePtr);
    };
    hooks.createHotKey = [] { return HotKey::createForSession(); };
    hooks.quit = [] { QCoreApplication::quit(); };

    AppDelegate::Options options;
    // `velmora --hide` with nothing running starts the launcher hidden, like a login item.
    options.launchedAsLoginItem = request.loginItem || request.message == QLatin1String("hide");
    options.firstShowDelayMs = tuning.firstShowDelayMs;

    AppDelegate delegate(settings, std::move(hooks), options);
    delegatePtr = &delegate;
    QObject::connect(&instance, &SingleInstance::messageReceived, &delegate,
                     &AppDelegate::handleInstanceMessage);
    QObject::connect(&updater, &Updater::checkFinished, &delegate,
                     [&delegate](const Updater::Result &result, bool userInitiated) {
                         if (userInitiated && delegate.statusBarItem())
                             delegate.statusBarItem()->showMessage(
                                 QStringLiteral("Velmora Launcher"), result.message);
                     });
    delegate.applicationDidFinishLaunching();
    if (tuning.started)
        tuning.started(delegate);
    return QApplication::exec();
}

} // namespace velmora
