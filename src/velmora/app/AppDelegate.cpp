#include "velmora/app/AppDelegate.h"

#include "velmora/app/PublicSettings.h"
#include "velmora/app/TrayIcon.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/platform/HotKey.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/NotificationCenter.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QCursor>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

const QString kToggleLauncher = QStringLiteral("toggleLauncher");
const QString kDefaultShortcut = QStringLiteral("Alt+Space");

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("AppDelegate"));
    return log;
}

// A stored size that another tool wrote as 0, negative or absurd must not produce an
// unusable window: at least the minimum, at most a little beyond the largest screen.
QSize launcherSizeFrom(double width, double height)
{
    QSize largest(VelmoraWindow::kMinimumWidth, VelmoraWindow::kMinimumHeight);
    for (const QScreen *screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->geometry().size() + QSize(4, 4));
    const auto clampTo = [](double value, int low, int high) {
        return std::clamp(int(std::lround(value)), low, high);
    };
    return {clampTo(width, VelmoraWindow::kMinimumWidth, largest.width()),
            clampTo(height, VelmoraWindow::kMinimumHeight, largest.height())};
}

void bringToFront(QWindow &window)
{
    window.show();
    window.raise();
    window.requestActivate();
}

} // namespace

AppDelegate::AppDelegate(PublicSettings &settings, Hooks hooks, Options options, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_hooks(std::move(hooks))
    , m_options(options)
{
}

AppDelegate::~AppDelegate() = default;

VelmoraWindow *AppDelegate::window() const
{
    return m_window.get();
}

QQuickWindow *AppDelegate::onboardingWindow() const
{
    return m_onboardingWindow.get();
}

QQuickWindow *AppDelegate::settingsWindow() const
{
    return m_settingsWindow.get();
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (m_hooks.startAnalytics)
        m_hooks.startAnalytics();
    if (m_hooks.createLogManager)
        m_hooks.createLogManager();
    listen("checkUpdate", [this] {
        QTimer::singleShot(0, this, [this] {
            if (m_hooks.checkForUpdates)
                m_hooks.checkForUpdates(true);
        });
    });
    if (m_hooks.startDiscovery)
        m_hooks.startDiscovery();

    createOnboardingWindow();
    if (m_settings.isOnboardingFinished()) {
        centerOnPointerScreen(*m_onboardingWindow);
        QTimer::singleShot(0, m_onboardingWindow.get(), &QWindow::hide);
    } else {
        bringToFront(*m_onboardingWindow);
        centerOnPointerScreen(*m_onboardingWindow);
    }

    createLauncherWindow();
    if (!m_options.launchedAsLoginItem && m_settings.isOnboardingFinished()) {
        QTimer::singleShot(m_options.firstShowDelayMs, m_window.get(),
                           [this] { bringToFront(*m_window); });
    }
    if (m_settings.fullscreen())
        m_window->applyFullScreenFrame();

    listen("showMainWindow", [this] {
        presentLauncher();
        m_settings.setIsOnboardingFinished(true);
    });
    listen("updateFullScreen",
           [this] { QTimer::singleShot(0, this, [this] { applyFrameForSetting(); }); });

    registerHotKey();
    createSettingsWindow();
    listen("showSettingsWindow", [this] { showSettings(); });

    m_window->setListedInTaskbar(m_settings.showDockIcon());
    connect(&m_settings, &PublicSettings::showDockIconChanged, this, [this] {
        m_window->setListedInTaskbar(m_settings.showDockIcon());
        // Keep the settings window, where the switch was flipped, in front.
        if (!m_settings.showDockIcon() && m_settingsWindow->isVisible())
            m_settingsWindow->requestActivate();
    });

    if (m_hooks.createTrayIcon)
        createTrayIcon();
}

void AppDelegate::listen(const char *name, std::function<void()> action)
{
    kestrelkit::NotificationCenter::defaultCenter().addObserver(
        QString::fromLatin1(name), this, [action = std::move(action)](const QVariantMap &) { action(); });
}

void AppDelegate::createOnboardingWindow()
{
    m_onboardingWindow = std::make_unique<QQuickWindow>();
    m_onboardingWindow->setTitle(QStringLiteral("Welcome to Velmora Launcher"));
    // Title bar with a close button only, floating above normal windows.
    m_onboardingWindow->setFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                 | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    m_onboardingWindow->resize(1000, 500);
    if (m_hooks.buildOnboardingContent)
        m_hooks.buildOnboardingContent(*m_onboardingWindow);
}

void AppDelegate::createLauncherWindow()
{
    m_window = std::make_unique<VelmoraWindow>();
    m_window->setTitle(QStringLiteral("Velmora Launcher"));
    m_window->resize(launcherSizeFrom(m_settings.windowWidth(), m_settings.windowHeight()));
    if (m_hooks.buildLauncherContent)
        m_hooks.buildLauncherContent(*m_window);
    m_window->center();
    connect(m_window.get(), &QWindow::widthChanged, this, &AppDelegate::storeWindowSize);
    connect(m_window.get(), &QWindow::heightChanged, this, &AppDelegate::storeWindowSize);
}

void AppDelegate::storeWindowSize()
{
    // One write per turn of the event loop, however many steps a resize takes.
    if (m_sizeStorePending)
        return;
    m_sizeStorePending = true;
    QTimer::singleShot(0, this, [this] {
        m_sizeStorePending = false;
        m_settings.setWindowWidth(m_window->width());
        m_settings.setWindowHeight(m_window->height());
    });
}

void AppDelegate::createSettingsWindow()
{
    m_settingsWindow = std::make_unique<QQuickWindow>();
    m_settingsWindow->setTitle(QStringLiteral("Settings"));
    m_settingsWindow->resize(400, 300);
    centerOnPointerScreen(*m_settingsWindow);
    if (m_hooks.buildSettingsContent)
        m_hooks.buildSettingsContent(*m_settingsWindow);
}

void AppDelegate::registerHotKey()
{
    m_hotKey = m_hooks.createHotKey ? m_hooks.createHotKey() : nullptr;
    if (!m_hotKey) {
        setHotKeyStatus(QStringLiteral("This desktop offers no global hot key to Velmora. Bind a "
                                       "shortcut of your desktop to \"velmora --toggle\"."));
        logger().error(m_hotKeyStatus);
        return;
    }
    const kestrelkit::ObservableUserDefault<QString> stored(
        QStringLiteral("shortcut.toggleLauncher"), kDefaultShortcut);
    auto combination = HotKey::parse(stored.get());
    if (!combination) {
        logger().error(QStringLiteral("Stored shortcut \"%1\" is not a key; using %2")
                           .arg(stored.get(), kDefaultShortcut));
        combination = HotKey::parse(kDefaultShortcut);
    }
    connect(m_hotKey.get(), &HotKey::pressed, this, [this](const QString &name) {
        if (name == kToggleLauncher)
            m_launcherKeyAtPress = m_window->isVisible();
    });
    connect(m_hotKey.get(), &HotKey::activated, this, [this](const QString &name) {
        if (name != kToggleLauncher)
            return;
        const bool wasKey = m_launcherKeyAtPress;
        m_launcherKeyAtPress = false;
        toggleLauncher(wasKey);
    });
    connect(m_hotKey.get(), &HotKey::registrationFailed, this,
            [this](const QString &, const QString &reason) { setHotKeyStatus(reason); });
    if (!m_hotKey->registerShortcut(kToggleLauncher, *combination)) {
        setHotKeyStatus(m_hotKey->lastError()
                        + QStringLiteral(". \"velmora --toggle\" still shows the launcher."));
        logger().error(m_hotKeyStatus);
    }
}

void AppDelegate::setHotKeyStatus(const QString &status)
{
    if (status == m_hotKeyStatus)
        return;
    m_hotKeyStatus = status;
    emit hotKeyStatusChanged();
}

void AppDelegate::createTrayIcon()
{
    m_statusBarItem = new TrayIcon(this);
    m_statusBarItem->setVisible(m_settings.showMenubarIcon());
    connect(m_statusBarItem, &TrayIcon::clicked, this, &AppDelegate::menubarIconClicked);
    connect(m_statusBarItem, &TrayIcon::settingsRequested, this, &AppDelegate::showSettings);
    connect(m_statusBarItem, &TrayIcon::quitRequested, this, [this] {
        if (m_hooks.quit)
            m_hooks.quit();
    });
    connect(&m_settings, &PublicSettings::showMenubarIconChanged, m_statusBarItem,
            [this] { m_statusBarItem->setVisible(m_settings.showMenubarIcon()); });
}

bool AppDelegate::applicationShouldHandleReopen()
{
    if (m_settings.isOnboardingFinished())
        presentLauncher();
    else
        bringToFront(*m_onboardingWindow);
    return true;
}

void AppDelegate::toggleLauncher(bool wasKey)
{
    // A shown launcher is the active one: it hides itself when it loses activation. It
    // can be shown but not yet (or never, when the desktop refuses the focus) active;
    // the user pressing the toggle then still means "away with it".
    if (wasKey || m_window->isVisible()) {
        hideLauncher();
        return;
    }
    m_onboardingWindow->hide();
    m_settings.setIsOnboardingFinished(true);
    presentLauncher();
}

void AppDelegate::presentLauncher()
{
    m_window->center();
    bringToFront(*m_window);
}

void AppDelegate::hideLauncher()
{
    m_window->hide();
}

void AppDelegate::showSettings()
{
    centerOnPointerScreen(*m_settingsWindow);
    bringToFront(*m_settingsWindow);
}

void AppDelegate::menubarIconClicked()
{
    presentLauncher();
}

void AppDelegate::finishOnboarding()
{
    m_onboardingWindow->hide();
    kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("showMainWindow"));
}

void AppDelegate::handleInstanceMessage(const QString &message)
{
    if (message == QLatin1String("reopen"))
        applicationShouldHandleReopen();
    else if (message == QLatin1String("toggle"))
        toggleLauncher();
    else if (message == QLatin1String("show"))
        presentLauncher();
    else if (message == QLatin1String("hide"))
        hideLauncher();
    else
        logger().error(QStringLiteral("Ignored an unknown message from another start: %1").arg(message));
}

void AppDelegate::applyFrameForSetting()
{
    if (m_settings.fullscreen())
        m_window->applyFullScreenFrame();
    else
        m_window->applyWindowedFrame();
}

void AppDelegate::centerOnPointerScreen(QWindow &window)
{
    const auto frame = VelmoraWindow::screenFrameAt(QCursor::pos());
    if (!frame)
        return;
    const QPoint centre = frame->center();
    window.setPosition(centre.x() - window.width() / 2, centre.y() - window.height() / 2);
}

} // namespace velmora
