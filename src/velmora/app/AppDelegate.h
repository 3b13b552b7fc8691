#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QQuickWindow;
class QWindow;

namespace velmora {

class HotKey;
class PublicSettings;
class TrayIcon;
class VelmoraWindow;

// Owns the launcher, onboarding and settings windows, the tray icon and the hot key for
// the life of the process, runs the start-up sequence and decides when the launcher is
// shown. Windows are created once and afterwards only hidden and shown.
class AppDelegate : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString hotKeyStatus READ hotKeyStatus NOTIFY hotKeyStatusChanged)
public:
    // Where the other subsystems plug in. Empty hooks are skipped, so tests run the
    // sequence without them.
    struct Hooks {
        std::function<void()> startAnalytics;   // step 1
        std::function<void()> createLogManager; // step 2
        std::function<void(bool userInitiated)> checkForUpdates; // on "checkUpdate"
        std::function<void()> startDiscovery;   // step 4
        std::function<void(VelmoraWindow &)> buildLauncherContent;
        std::function<void(QQuickWindow &)> buildOnboardingContent;
        std::function<void(QQuickWindow &)> buildSettingsContent;
        std::function<std::unique_ptr<HotKey>()> createHotKey;
        std::function<void()> quit; // from the tray's menu
        bool createTrayIcon = true;
    };
    struct Options {
        bool launchedAsLoginItem = false; // `--login-item`, as the autostart entry starts us
        int firstShowDelayMs = 300;
    };

    AppDelegate(PublicSettings &settings, Hooks hooks, Options options, QObject *parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence; call once, with the event loop about to run.
    void applicationDidFinishLaunching();
    // A second start of the application (`velmora` with no arguments). Always true.
    bool applicationShouldHandleReopen();
    // The "toggleLauncher" action: hides a shown launcher, else shows it (and ends the
    // onboarding). `wasKey`: the launcher was shown when the shortcut went down (the key
    // grab itself may take the focus away, and so hide it, before the release).
    void toggleLauncher(bool wasKey = false);
    void showSettings();
    void menubarIconClicked();
    void hideLauncher();
    // One line from a later `velmora`: "reopen", "toggle", "show" or "hide".
    void handleInstanceMessage(const QString &message);

    // The onboarding's finishing button: hides onboarding and posts "showMainWindow".
    Q_INVOKABLE void finishOnboarding();

    [[nodiscard]] VelmoraWindow *window() const;
    [[nodiscard]] QQuickWindow *onboardingWindow() const;
    [[nodiscard]] QQuickWindow *settingsWindow() const;
    [[nodiscard]] TrayIcon *statusBarItem() const { return m_statusBarItem; }
    [[nodiscard]] HotKey *hotKey() const { return m_hotKey.get(); }
    // Empty while the hot key works; otherwise why not, for the settings window.
    [[nodiscard]] QString hotKeyStatus() const { return m_hotKeyStatus; }

    // Centres `window` on the screen under the pointer (the launcher has its own rule).
    static void centerOnPointerScreen(QWindow &window);

signals:
    void hotKeyStatusChanged();

private:
    void createOnboardingWindow();
    void createLauncherWindow();
    void createSettingsWindow();
    void registerHotKey();
    void createTrayIcon();
    void listen(const char *name, std::function<void()> action);
    void presentLauncher();
    void applyFrameForSetting();
    void storeWindowSize();
    void setHotKeyStatus(const QString &status);

    PublicSettings &m_settings;
    Hooks m_hooks;
    Options m_options;
    std::unique_ptr<VelmoraWindow> m_window;
    std::unique_ptr<QQuickWindow> m_onboardingWindow;
    std::unique_ptr<QQuickWindow> m_settingsWindow;
    TrayIcon *m_statusBarItem = nullptr;
    std::unique_ptr<HotKey> m_hotKey;
    bool m_launcherKeyAtPress = false;
    bool m_sizeStorePending = false;
    QString m_hotKeyStatus;
};

} // namespace velmora
