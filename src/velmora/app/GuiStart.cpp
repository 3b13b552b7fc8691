#include "velmora/app/GuiStart.h"

#include "velmora/app/AppDelegate.h"
#include "velmora/app/AppIconProvider.h"
#include "velmora/app/GraphicsBackend.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/ScreenServices.h"
#include "velmora/app/SettingsScreens.h"
#include "velmora/app/TrayIcon.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/app/WindowContent.h"
#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/launcher/LauncherScreen.h"
#include "velmora/launcher/LauncherViewObject.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/AppWorkspace.h"
#include "velmora/library/DataModel.h"
#include "velmora/platform/HotKey.h"
#include "velmora/platform/SingleInstance.h"
#include "velmora/platform/Updater.h"

#include "kestrelkit/Analytics.h"
#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/LogManager.h"
#include "kestrelkit/Logger.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Velmora_SettingsPlugin)

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

    applyGraphicsBackend();
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
    content.engine().addImageProvider(QStringLiteral("appicon"), new AppIconProvider);

    // The store first: one that cannot be opened is moved aside (or left alone when it is
    // newer) and the process ends with the reason on standard output.
    (void)DataModel::shared();
    // The icon theme is settled here, on the main thread, before the icon worker uses it.
    if (AppWorkspace *workspace = AppWorkspace::current())
        (void)workspace->loadIcon(QString(), AppRecord::kIconSize);

    LauncherViewObject viewObject(LauncherEnvironment::shared());
    viewObject.setAnalyticsSignal([](const QString &name, const QVariantMap &parameters) {
        kestrelkit::Analytics::shared().signalFromMap(name, parameters);
    });
    LauncherScreenHooks screenHooks;
    screenHooks.copyToClipboard = &ScreenServices::copyToClipboard;
    screenHooks.reveal = &ScreenServices::reveal;
    screenHooks.sendFeedback = &ScreenServices::sendFeedback;
    screenHooks.quit = [] { QCoreApplication::quit(); };
    screenHooks.discovery = &AppDiscoverService::shared();
    LauncherScreen launcherScreen(viewObject, screenHooks);
    AppDiscoverService::shared().start();
    Updater updater(kestrelkit::BundleInfo::main().appVersion());

    AppDelegate::Hooks hooks;
    hooks.startAnalytics = [] { kestrelkit::Analytics::shared(); };
    hooks.createLogManager = [] { kestrelkit::LogManager::shared().start(); };
    hooks.checkForUpdates = [&updater](bool userInitiated) { updater.checkForUpdates(userInitiated); };
    hooks.buildLauncherContent = [&](VelmoraWindow &window) {
        content.loadLauncher(window, settings, &launcherScreen);
    };
    SettingsScreens settingsScreens(settings);
    hooks.buildOnboardingContent = [&](QQuickWindow &window) {
        settingsScreens.loadOnboarding(content, window);
    };
    hooks.buildSettingsContent = [&](QQuickWindow &window) {
        settingsScreens.loadSettings(content, window);
    };
    hooks.createHotKey = [] { return HotKey::createForSession(); };
    hooks.quit = [] { QCoreApplication::quit(); };

    AppDelegate::Options options;
    // `velmora --hide` with nothing running starts the launcher hidden, like a login item.
    options.launchedAsLoginItem = request.loginItem || request.message == QLatin1String("hide");
    options.firstShowDelayMs = tuning.firstShowDelayMs;

    AppDelegate delegate(settings, std::move(hooks), options);
    settingsScreens.connectTo(delegate);
    QObject::connect(&viewObject, &LauncherViewObject::dismissWindow, &delegate,
                     &AppDelegate::hideLauncher);
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
