#pragma once

#include <QObject>

#include <memory>

class QQuickWindow;

namespace velmora {

class AboutModel;
class AppDelegate;
class FoldersSettingsModel;
class GeneralSettingsModel;
class OnboardingController;
class PublicSettings;
class SettingsTabController;
class WindowContent;

// The models behind the settings window and the onboarding, connected to the shell:
// switches reach the tray and the taskbar policy, the shortcut recorder rebinds the hot
// key, finishing the onboarding closes its window. Lives as long as the delegate.
class SettingsScreens : public QObject {
    Q_OBJECT
public:
    explicit SettingsScreens(PublicSettings &settings, QObject *parent = nullptr);
    ~SettingsScreens() override;

    // Call once the delegate exists (before its windows are built).
    void connectTo(AppDelegate &delegate);

    bool loadSettings(WindowContent &content, QQuickWindow &window);
    bool loadOnboarding(WindowContent &content, QQuickWindow &window);

private:
    PublicSettings &m_settings;
    AppDelegate *m_delegate = nullptr;
    std::unique_ptr<SettingsTabController> m_tabs;
    std::unique_ptr<GeneralSettingsModel> m_general;
    std::unique_ptr<FoldersSettingsModel> m_folders;
    std::unique_ptr<AboutModel> m_about;
    std::unique_ptr<OnboardingController> m_onboarding;
};

} // namespace velmora
