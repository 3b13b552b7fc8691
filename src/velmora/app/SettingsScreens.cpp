#include "velmora/app/SettingsScreens.h"

#include "velmora/app/AppDelegate.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/WindowContent.h"
#include "velmora/discovery/FolderManager.h"
#include "velmora/platform/HotKey.h"
#include "velmora/platform/LoginItem.h"
#include "velmora/settings/AboutModel.h"
#include "velmora/settings/FoldersSettingsModel.h"
#include "velmora/settings/GeneralSettingsModel.h"
#include "velmora/settings/OnboardingController.h"
#include "velmora/settings/SettingsTabController.h"
#include "velmora/settings/ShortcutRecorder.h"

#include "kestrelkit/BundleInfo.h"

#include <QKeySequence>
#include <QQuickItem>
#include <QQuickWindow>

namespace velmora {

namespace {
const QString kToggleLauncher = QStringLiteral("toggleLauncher");
}

SettingsScreens::SettingsScreens(PublicSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_tabs(std::make_unique<SettingsTabController>())
    , m_general(std::make_unique<GeneralSettingsModel>(LoginItem()))
    , m_folders(std::make_unique<FoldersSettingsModel>(FolderManager::shared()))
    , m_about(std::make_unique<AboutModel>(kestrelkit::BundleInfo::main()))
    , m_onboarding(std::make_unique<OnboardingController>(LoginItem()))
{
    // The settings models write the same defaults keys; PublicSettings announces the change
    // to the tray and the window policy.
    connect(m_general.get(), &GeneralSettingsModel::showMenubarIconChanged, this,
            [this](bool show) { m_settings.setShowMenubarIcon(show); });
    connect(m_general.get(), &GeneralSettingsModel::showDockIconChanged, this, [this](bool show) {
        m_settings.setShowDockIcon(show);
        if (m_delegate && m_delegate->settingsWindow()) {
            m_delegate->settingsWindow()->raise();
            m_delegate->settingsWindow()->requestActivate();
        }
    });
}

SettingsScreens::~SettingsScreens() = default;

void SettingsScreens::connectTo(AppDelegate &delegate)
{
    m_delegate = &delegate;
    ShortcutRecorder *recorder = m_general->shortcutRecorder();
    recorder->setBinder([this](const QKeySequence &sequence) -> std::optional<QString> {
        HotKey *hotKey = m_delegate->hotKey();
        if (!hotKey)
            return m_delegate->hotKeyStatus();
        if (sequence.isEmpty()) {
            hotKey->unregisterShortcut(kToggleLauncher);
            return std::nullopt;
        }
        if (!hotKey->registerShortcut(kToggleLauncher, sequence[0]))
            return hotKey->lastError();
        return std::nullopt;
    });
    connect(&delegate, &AppDelegate::hotKeyStatusChanged, recorder, [this, recorder] {
        if (!m_delegate->hotKeyStatus().isEmpty())
            recorder->setBindingError(m_delegate->hotKeyStatus());
    });
    connect(m_onboarding.get(), &OnboardingController::dismissRequested, this, [this] {
        if (QQuickWindow *window = m_delegate->onboardingWindow())
            window->hide();
    });
    connect(m_about.get(), &AboutModel::onboardingRequested, this, [this] {
        m_onboarding->restart();
        if (QQuickWindow *window = m_delegate->onboardingWindow()) {
            AppDelegate::centerOnPointerScreen(*window);
            window->show();
            window->raise();
            window->requestActivate();
        }
    });
}

bool SettingsScreens::loadSettings(WindowContent &content, QQuickWindow &window)
{
    QQuickItem *root = content.load(
        window, QStringLiteral("Settings/SettingsView.qml"),
        {{QStringLiteral("tabs"), QVariant::fromValue<QObject *>(m_tabs.get())},
         {QStringLiteral("general"), QVariant::fromValue<QObject *>(m_general.get())},
         {QStringLiteral("folders"), QVariant::fromValue<QObject *>(m_folders.get())},
         {QStringLiteral("about"), QVariant::fromValue<QObject *>(m_about.get())}});
    if (!root)
        return false;
    window.setTitle(QStringLiteral("Settings"));
    // The window follows the selected tab's size.
    const auto fit = [&window, root] {
        window.resize(int(root->implicitWidth()), int(root->implicitHeight()));
        root->setSize(QSizeF(root->implicitWidth(), root->implicitHeight()));
    };
    connect(root, &QQuickItem::implicitWidthChanged, &window, fit);
    connect(root, &QQuickItem::implicitHeightChanged, &window, fit);
    fit();
    return true;
}

bool SettingsScreens::loadOnboarding(WindowContent &content, QQuickWindow &window)
{
    QQuickItem *root = content.load(
        window, QStringLiteral("Settings/OnboardingView.qml"),
        {{QStringLiteral("controller"), QVariant::fromValue<QObject *>(m_onboarding.get())}});
    if (!root)
        return false;
    root->setSize(window.size());
    connect(&window, &QWindow::widthChanged, root, [root, &window] { root->setSize(window.size()); });
    connect(&window, &QWindow::heightChanged, root, [root, &window] { root->setSize(window.size()); });
    connect(&window, &QWindow::activeChanged, m_onboarding.get(), [this, &window] {
        if (window.isActive())
            m_onboarding->windowBecameKey();
    });
    return true;
}

} // namespace velmora
