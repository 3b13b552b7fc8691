#include "velmora/app/PublicSettings.h"

namespace velmora {

PublicSettings::PublicSettings(kestrelkit::DefaultsStore *store, QObject *parent)
    : QObject(parent)
    , m_showDockIcon(QStringLiteral("settings.showDockIcon"), true, store)
    , m_showMenubarIcon(QStringLiteral("settings.showMenubarIcon"), true, store)
    , m_fullscreen(QStringLiteral("settings.fullscreen"), false, store)
    , m_windowWidth(QStringLiteral("window.width"), 640.0, store)
    , m_windowHeight(QStringLiteral("window.height"), 580.0, store)
    , m_isOnboardingFinished(QStringLiteral("oobe.isOnboardingFinished"), false, store)
{
    m_showDockIcon.setObserver(this, [this] { emit showDockIconChanged(); });
    m_showMenubarIcon.setObserver(this, [this] { emit showMenubarIconChanged(); });
    m_fullscreen.setObserver(this, [this] { emit fullscreenChanged(); });
    m_windowWidth.setObserver(this, [this] { emit windowWidthChanged(); });
    m_windowHeight.setObserver(this, [this] { emit windowHeightChanged(); });
    m_isOnboardingFinished.setObserver(this, [this] { emit isOnboardingFinishedChanged(); });
}

PublicSettings &PublicSettings::shared()
{
    // Kept until the process ends, like the other shared objects.
    static auto *settings = new PublicSettings;
    return *settings;
}

} // namespace velmora
